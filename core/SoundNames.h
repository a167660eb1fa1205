// The program's sounds, by the three choices a user has for each of them:
// 0 off, 1 standard, 2 electronic. The names are the sound resources' names.
#pragma once

namespace brevalo {

inline constexpr const char* TickSoundNames[3] = {"", "TICK1", "BEEP1"};
inline constexpr const char* DoneSoundNames[3] = {"", "DONE1", "DONE2"};

} // namespace brevalo
