// The timer window's sounds: wave resources of the executable, addressed by
// name ("TICK1", "BEEP1", "DONE1", "DONE2").
#pragma once

#include <string>

namespace brevalo {

// Starts the named wave resource of the program's own module playing and
// returns at once; a sound still playing is cut off. Plays nothing when the
// name is empty or the system has no wave output device. A missing or
// unplayable resource plays nothing either; no failure is reported.
void PlayResourceSound(const std::string& name) noexcept;

} // namespace brevalo
