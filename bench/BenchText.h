// The end moment handed to both programs on the command line, written and
// read in the en-US form "M/d/yyyy h:mm:ss AM" (a 12-hour clock).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brevalo::bench {

struct ClockTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0; // 0-23
    int minute = 0;
    int second = 0;

    bool operator==(const ClockTime&) const = default;
};

// "12/8/2026 9:40:05 PM"; midnight is 12 AM, noon 12 PM.
std::string FormatEndText(const ClockTime& time);

// Reads what FormatEndText writes (blanks between the parts optional, the
// marker in either case); nothing else may follow. Fails on a date that does
// not exist or a field out of range.
std::optional<ClockTime> ParseEndText(std::string_view text);

} // namespace brevalo::bench
