// Switching the screen saver on and off for the whole session.
#pragma once

namespace brevalo::os {

// Allows (true) or suppresses (false) the screen saver; false when the
// system refused, with the reason in the thread's last error.
bool SetScreenSaverActive(bool active) noexcept;

} // namespace brevalo::os
