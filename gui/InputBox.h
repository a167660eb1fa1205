// A modal input box built in code: a caption, a prompt, an edit preset with a
// value, OK and Cancel. Enter confirms, Escape and the close box cancel. It
// runs its own modal loop with the owner disabled, like the system dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace brevalo::gui {

// The entered text (UTF-8) when the user confirmed with OK or Enter, nullopt
// when the box was cancelled or closed. A WM_QUIT that arrives while the box
// is open cancels it and is posted again for the caller's loop. Throws
// OsError when the box cannot be created.
std::optional<std::string> InputBox(HWND owner, const std::string& caption,
                                    const std::string& prompt, const std::string& value);

// The window class of the box, for programs that look for it.
inline constexpr wchar_t InputBoxClassName[] = L"BrevaloInputBox";

} // namespace brevalo::gui
