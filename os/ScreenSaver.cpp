#include "ScreenSaver.h"

#include <windows.h>

namespace brevalo::os {

bool SetScreenSaverActive(bool active) noexcept {
    return SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0) !=
           FALSE;
}

} // namespace brevalo::os
