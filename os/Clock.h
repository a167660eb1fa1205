// The local wall clock and the millisecond tick counter.
#pragma once

#include "DateTime.h"

#include <cstdint>

namespace brevalo::os {

// The local date and time, to the millisecond.
DateTime LocalNow();
// The system's 32-bit millisecond counter.
std::uint32_t TickCount();

} // namespace brevalo::os
