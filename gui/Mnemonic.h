// Mnemonics: the letter after a single "&" in a caption. The user presses it
// with Alt (or alone, where the focused control takes no characters) to
// reach the control; "&&" stands for one "&".
#pragma once

#include <string>

namespace brevalo::gui {

// The mnemonic of `text` in upper case, or 0 when it has none.
wchar_t MnemonicOf(const std::wstring& text);
wchar_t MnemonicOf(const std::string& text);

// Whether a typed character is the mnemonic `mnemonic` (case ignored).
bool IsMnemonicKey(wchar_t mnemonic, wchar_t typed);

// The text as it is shown: the marks removed, "&&" as "&".
std::string WithoutMnemonic(const std::string& text);

// How an accessibility client names the key of a mnemonic: "Alt+T"; empty
// for none (0, or a text without one).
std::string MnemonicShortcut(wchar_t mnemonic);
std::string MnemonicShortcut(const std::string& text);

} // namespace brevalo::gui
