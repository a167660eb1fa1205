// Switching the screen saver on and off for the whole session.
#pragma once

namespace brevalo::os {

// Allows (true) or suppresses (false) the screen saver; false when the
// system refused, with the reason in the thread's last error.
bool SetScreenSaverActive(bool active) noexcept;

// Keeps the screen saver off and gives back only what it took: Hold switches
// it off when it is on, and Release switches it on again only when Hold did,
// so a screen saver the user had off stays off.
class ScreenSaverHold {
public:
    void Hold() noexcept;
    // False when switching the screen saver on again failed, with the reason
    // in the thread's last error.
    bool Release() noexcept;

private:
    bool taken_ = false;
};

} // namespace brevalo::os
