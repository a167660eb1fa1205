// Writing date-times with the user's date and time pictures.
#include "DateTimeText.h"

#include <cstdint>

namespace brevalo {

namespace {

std::string Padded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

// The first character of a UTF-8 text.
std::string FirstCharacter(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return text.substr(0, length);
}

// 0 = Sunday. Day 0 (30 December 1899) was a Saturday.
std::size_t DayOfWeek(const CivilDateTime& civil) {
    const auto days =
        static_cast<std::int64_t>(EncodeDate(civil.year, civil.month, civil.day).value_or(0.0));
    return static_cast<std::size_t>(((days % 7) + 7 + 6) % 7);
}

} // namespace

std::string FormatDateTimePicture(std::string_view picture, DateTime value,
                                  const FormatSettings& fs) {
    const CivilDateTime civil = DecodeDateTime(value);
    const int hour12 = civil.hour % 12 == 0 ? 12 : civil.hour % 12;
    const std::string& marker = civil.hour < 12 ? fs.amString : fs.pmString;

    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            // Quoted literal text; two quotes in a row stand for one quote.
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        std::size_t count = 1;
        while (i + count < picture.size() && picture[i + count] == c) {
            ++count;
        }
        switch (c) {
        case 'd':
            if (count == 1) {
                out += std::to_string(civil.day);
            } else if (count == 2) {
                out += Padded(civil.day, 2);
            } else if (count == 3) {
                out += fs.shortDayNames[DayOfWeek(civil)];
            } else {
                out += fs.longDayNames[DayOfWeek(civil)];
            }
            break;
        case 'M':
            if (count == 1) {
                out += std::to_string(civil.month);
            } else if (count == 2) {
                out += Padded(civil.month, 2);
            } else if (count == 3) {
                out += fs.shortMonthNames[static_cast<std::size_t>(civil.month - 1)];
            } else {
                out += fs.longMonthNames[static_cast<std::size_t>(civil.month - 1)];
            }
            break;
        case 'y':
            if (count == 1) {
                out += std::to_string(civil.year % 100);
            } else if (count == 2) {
                out += Padded(civil.year % 100, 2);
            } else {
                out += Padded(civil.year, 4);
            }
            break;
        case 'h':
            out += count == 1 ? std::to_string(hour12) : Padded(hour12, 2);
            break;
        case 'H':
            out += count == 1 ? std::to_string(civil.hour) : Padded(civil.hour, 2);
            break;
        case 'm':
            out += count == 1 ? std::to_string(civil.minute) : Padded(civil.minute, 2);
            break;
        case 's':
            out += count == 1 ? std::to_string(civil.second) : Padded(civil.second, 2);
            break;
        case 't':
            out += count == 1 ? FirstCharacter(marker) : marker;
            break;
        default:
            out.append(count, c);
            break;
        }
        i += count;
    }
    return out;
}

std::string DateTimeToText(DateTime value, const FormatSettings& fs) {
    std::string text = FormatDateTimePicture(fs.shortDateFormat, value, fs);
    const CivilDateTime civil = DecodeDateTime(value);
    if (civil.hour != 0 || civil.minute != 0 || civil.second != 0 || civil.millisecond != 0) {
        text += ' ';
        text += FormatDateTimePicture(fs.longTimeFormat, value, fs);
    }
    return text;
}

std::string RemoveBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != ' ') {
            out += c;
        }
    }
    return out;
}

} // namespace brevalo
