#include "ScreenSaver.h"

#include <windows.h>

namespace brevalo::os {

bool SetScreenSaverActive(bool active) noexcept {
    return SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0) !=
           FALSE;
}

void ScreenSaverHold::Hold() noexcept {
    BOOL active = FALSE;
    if (taken_ || !SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) || !active)
        return;
    taken_ = SetScreenSaverActive(false);
}

bool ScreenSaverHold::Release() noexcept {
    if (!taken_)
        return true;
    taken_ = false;
    return SetScreenSaverActive(true);
}

} // namespace brevalo::os
