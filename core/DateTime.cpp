// Calendar arithmetic on date-times held as days since 30 December 1899.
//
// The calendar is the proleptic Gregorian one. Values are linear: the whole
// part (rounded down) is the day and the rest the time of day, for negative
// values too, so that adding minutes or seconds never jumps.
#include "DateTime.h"

#include <cmath>

namespace brevalo {

namespace {

// Day count of a civil date, counted from 1 January 1970; the algorithm works
// in 400-year eras that start on 1 March, so leap days fall at an era's end.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
    int year;
    int month;
    int day;
};

CivilDate CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

constexpr std::int64_t EpochDays = DaysFromCivil(1899, 12, 30);

// The first and last millisecond that can be written as a calendar date.
constexpr std::int64_t FirstMs = (DaysFromCivil(1, 1, 1) - EpochDays) * MsPerDay;
constexpr std::int64_t LastMs = (DaysFromCivil(9999, 12, 31) - EpochDays + 1) * MsPerDay - 1;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

std::optional<double> EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    return static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - EpochDays);
}

std::optional<double> EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999) {
        return std::nullopt;
    }
    const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(static_cast<long double>(ms) / MsPerDay);
}

std::optional<DateTime> EncodeDateTime(const CivilDateTime& civil) {
    const auto date = EncodeDate(civil.year, civil.month, civil.day);
    const auto time = EncodeTime(civil.hour, civil.minute, civil.second, civil.millisecond);
    if (!date || !time) {
        return std::nullopt;
    }
    return *date + *time;
}

CivilDateTime DecodeDateTime(DateTime value) {
    // Out-of-range and non-finite values are pinned to the nearest date that
    // exists rather than converted with undefined results.
    std::int64_t ms = 0;
    if (std::isnan(value)) {
        ms = 0;
    } else {
        const long double scaled = static_cast<long double>(value) * MsPerDay;
        if (scaled <= static_cast<long double>(FirstMs)) {
            ms = FirstMs;
        } else if (scaled >= static_cast<long double>(LastMs)) {
            ms = LastMs;
        } else {
            ms = std::llround(scaled);
        }
    }
    const std::int64_t days = FloorDiv(ms, MsPerDay);
    std::int64_t rest = ms - days * MsPerDay;

    CivilDateTime civil;
    const CivilDate date = CivilFromDays(days + EpochDays);
    civil.year = date.year;
    civil.month = date.month;
    civil.day = date.day;
    civil.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    civil.second = static_cast<int>(rest % 60);
    rest /= 60;
    civil.minute = static_cast<int>(rest % 60);
    civil.hour = static_cast<int>(rest / 60);
    return civil;
}

DateTime AddMinutes(DateTime t, std::int64_t minutes) {
    return static_cast<double>((static_cast<long double>(t) * 1440 + minutes) / 1440);
}

DateTime AddSeconds(DateTime t, std::int64_t seconds) {
    return static_cast<double>((static_cast<long double>(t) * 86400 + seconds) / 86400);
}

} // namespace brevalo
