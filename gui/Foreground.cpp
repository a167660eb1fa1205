#include "Foreground.h"

#include <shellapi.h>

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

bool UserIsBusy() noexcept {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(SHQueryUserNotificationState(&state)))
        return false;
    switch (state) {
    case QUNS_BUSY:
    case QUNS_RUNNING_D3D_FULL_SCREEN:
    case QUNS_PRESENTATION_MODE:
    case QUNS_QUIET_TIME:
        return true;
    default:
        return false;
    }
}

void FlashTaskbarButton(HWND hwnd) noexcept {
    FLASHWINFO flash{sizeof flash, hwnd, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
}

} // namespace brevalo::gui
