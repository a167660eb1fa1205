// The remaining time as a screen reader speaks it, and the moments at which
// a counting timer announces it.
#pragma once

#include <cstdint>
#include <string>

namespace brevalo {

// Whole seconds in words, largest unit first: "1 hour 2 minutes 5 seconds",
// "3 days 1 minute". Zero parts are left out; no time at all (or a negative
// one) is "0 seconds".
std::string RemainingWords(std::int64_t seconds);

// True when a counting timer that now shows this many whole seconds left
// tells a screen reader: at each whole minute, and every second of the last
// ten. Zero is left to the end of the countdown, which announces itself.
bool AnnouncesRemaining(std::int64_t seconds);

} // namespace brevalo
