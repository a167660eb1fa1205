// The local wall clock and the millisecond tick counter.
#pragma once

#include "DateTime.h"

#include <cstdint>

#include <windows.h>

namespace brevalo::os {

// The local date and time, to the millisecond.
DateTime LocalNow();
// The system's 32-bit millisecond counter.
std::uint32_t TickCount();

// A date-time as the system's calendar structure and back (30 December 1899
// for a structure that is no date).
SYSTEMTIME ToSystemTime(DateTime value);
DateTime FromSystemTime(const SYSTEMTIME& st);

} // namespace brevalo::os
