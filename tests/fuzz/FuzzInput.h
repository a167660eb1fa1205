// The fixed head of a fuzzer input: which locale's conventions apply, the
// current local date-time and a few flags for the fake surroundings. The rest
// of the input is the text under test. Every byte value is meaningful, so
// printable seed files work as well as any other.
#pragma once

#include "DateTime.h"
#include "FormatSettings.h"
#include "TestLocales.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace brevalo::fuzz {

inline constexpr std::size_t kLocaleCount = 8;

// The digits '1' to '8' pick the locales in order, for readable seed files.
inline FormatSettings LocaleNumber(unsigned char n) {
    switch ((n + kLocaleCount * 64 - '1') % kLocaleCount) {
    case 0:
        return test::UnitedStates();
    case 1:
        return test::Germany();
    case 2:
        return test::Sweden();
    case 3:
        return test::Korea();
    case 4:
        return test::TwoDigitYear();
    case 5:
        return test::Hungary();
    case 6:
        return test::Finland();
    default:
        return test::QuotedSuffix();
    }
}

struct FuzzInput {
    FormatSettings formats;
    DateTime now = 0.0;
    unsigned char flags = 0;
    std::string_view text;
};

inline constexpr std::size_t kHeadSize = 5;

// Head: the locale, two bytes of day (from 1 January 2000 on), one byte of
// time of day and the flags. Nothing when the input is shorter.
inline std::optional<FuzzInput> ReadHead(const std::uint8_t* data, std::size_t size) {
    if (size < kHeadSize) {
        return std::nullopt;
    }
    FuzzInput in;
    in.formats = LocaleNumber(data[0]);
    const int dayOffset = (data[1] * 256 + data[2]) % 36525; // within a century
    const std::int64_t ms = (std::int64_t{data[3]} * 337'501 + std::int64_t{data[2]} * 997) %
                            MsPerDay; // any time of day, milliseconds included
    in.now = *EncodeDate(2000, 1, 1) + dayOffset + static_cast<double>(ms) / MsPerDay;
    in.flags = data[4];
    in.text = std::string_view(reinterpret_cast<const char*>(data) + kHeadSize, size - kHeadSize);
    return in;
}

// Whether a date-time can be written and read back in these conventions: a
// two-digit year reads back only inside the century window around `now`.
inline bool ReadableYear(DateTime value, const FormatSettings& fs, DateTime now) {
    const int year = DecodeDateTime(value).year;
    const double first = *EncodeDate(1, 1, 1);
    const double last = *EncodeDate(9999, 12, 31) + 1;
    if (!(value >= first && value < last)) {
        return false;
    }
    if (fs.shortDateFormat.find("yyy") != std::string::npos) {
        return true;
    }
    const int current = DecodeDateTime(now).year;
    return year >= current - 50 && year < current + 50;
}

inline bool SameSecond(DateTime a, DateTime b) {
    const CivilDateTime x = DecodeDateTime(a);
    const CivilDateTime y = DecodeDateTime(b);
    return x.year == y.year && x.month == y.month && x.day == y.day && x.hour == y.hour &&
           x.minute == y.minute && x.second == y.second;
}

} // namespace brevalo::fuzz
