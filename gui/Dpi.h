// The one place where lengths given in pixels at 96 DPI become device pixels.
#pragma once

#include <windows.h>

namespace brevalo::gui {

// The DPI of a window (its monitor's under per-monitor awareness), or of the
// screen for a null window.
UINT WindowDpi(HWND hwnd) noexcept;
// MulDiv(pixels96, dpi, 96), rounding to nearest.
int ScaleToDpi(int pixels96, UINT dpi) noexcept;

} // namespace brevalo::gui
