#include "Foreground.h"

namespace brevalo::gui {

bool ForceForeground(HWND hwnd) noexcept {
    if (IsIconic(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
    HWND foreground = GetForegroundWindow();
    if (foreground == hwnd)
        return true;
    const DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD ownThread = GetCurrentThreadId();
    // Sharing the input state of the foreground window's thread makes this
    // thread's SetForegroundWindow count as the user's own switch.
    const bool attach = foregroundThread && foregroundThread != ownThread;
    if (attach)
        AttachThreadInput(foregroundThread, ownThread, TRUE);
    BringWindowToTop(hwnd);
    SetForegroundWindow(hwnd);
    if (attach)
        AttachThreadInput(foregroundThread, ownThread, FALSE);
    return GetForegroundWindow() == hwnd;
}

} // namespace brevalo::gui
