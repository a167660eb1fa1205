// The operating system's user-interface font for the creation dialogs: each
// dialog describes its font by name and size and calls AdjustSystemFont from
// its creation handler.
#pragma once

#include "DialogFontRule.h"
#include "Handle.h"

#include <windows.h>

namespace brevalo::controls {

struct WindowsVersion {
    unsigned major = 0;
    unsigned minor = 0;
};

// The version as GetVersionEx reports it to this program. The program's
// manifest declares the versions it supports, so that newer systems report
// their real version rather than an older one.
WindowsVersion ReportedWindowsVersion();

// "Tahoma" on Windows 2000 and XP, "Segoe UI" one point larger on version 6,
// unchanged elsewhere (see AdjustedDialogFont).
void AdjustSystemFont(DialogFont& font);

// The font for a description at a DPI (points scaled by it).
base::Font CreateDialogFont(const DialogFont& font, UINT dpi);

} // namespace brevalo::controls
