// Bringing a window to the foreground even when another program's window is
// active.
#pragma once

#include <windows.h>

namespace brevalo::gui {

// Attaches to the input of the foreground window's thread for the switch;
// returns whether the window is now in the foreground.
bool ForceForeground(HWND hwnd) noexcept;

} // namespace brevalo::gui
