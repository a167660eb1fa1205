// The one place where lengths given in pixels at 96 DPI become device pixels.
#pragma once

#include <windows.h>

namespace brevalo::gui {

// The DPI of a window: the one its top-level window was last laid out for
// (recorded at creation and on each DPI change), else the system's answer
// (its monitor's under per-monitor awareness); the screen's for a null window.
UINT WindowDpi(HWND hwnd) noexcept;
// MulDiv(pixels96, dpi, 96), rounding to nearest.
int ScaleToDpi(int pixels96, UINT dpi) noexcept;

// Records (or, with 0, forgets) the DPI a top-level window and its children
// are laid out for, so that all of them scale to the same DPI while a change
// of DPI is being applied.
void RecordWindowDpi(HWND root, UINT dpi) noexcept;

} // namespace brevalo::gui
