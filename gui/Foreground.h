// Bringing a window to the foreground even when another program's window is
// active, and drawing the user's attention without doing so.
#pragma once

#include <windows.h>

namespace brevalo::gui {

// Attaches to the input of the foreground window's thread for the switch;
// returns whether the window is now in the foreground.
bool ForceForeground(HWND hwnd) noexcept;

// Whether the user must not be interrupted now: a full-screen program, a
// Direct3D full-screen program, a presentation, or quiet time.
bool UserIsBusy() noexcept;

// Flashes the window's taskbar button until the user activates the window.
void FlashTaskbarButton(HWND hwnd) noexcept;

} // namespace brevalo::gui
