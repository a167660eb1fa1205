// Local date-times as days since 30 December 1899, the fraction being the
// time of day, and the calendar arithmetic on them.
#pragma once

#include <cstdint>
#include <optional>

namespace brevalo {

using DateTime = double;

constexpr std::int64_t MsPerDay = 86'400'000;

struct CivilDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Whole days since 30 December 1899 for a calendar date; nullopt when the date
// does not exist (month 13, 30 February, year 0 ...). Years 1 to 9999.
std::optional<double> EncodeDate(int year, int month, int day);
// Fraction of a day for a time; nullopt when a field is out of range.
std::optional<double> EncodeTime(int hour, int minute, int second, int millisecond);
// Both of the above; nullopt if either fails.
std::optional<DateTime> EncodeDateTime(const CivilDateTime& civil);

// The calendar fields of a date-time, rounded to the nearest millisecond.
CivilDateTime DecodeDateTime(DateTime value);

// N minutes or N seconds from t, computed in extended precision.
DateTime AddMinutes(DateTime t, std::int64_t minutes);
DateTime AddSeconds(DateTime t, std::int64_t seconds);

} // namespace brevalo
