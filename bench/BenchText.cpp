#include "BenchText.h"

#include <cctype>
#include <cstdio>

namespace brevalo::bench {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// A small cursor over the text; every reader skips leading blanks.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<int> Number(int maxDigits) {
        SkipBlanks();
        int value = 0;
        int digits = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])) &&
               digits < maxDigits) {
            value = value * 10 + (text_[pos_++] - '0');
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        return value;
    }
    bool Char(char c) {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    // 0 for AM, 12 for PM.
    std::optional<int> Marker() {
        SkipBlanks();
        if (text_.size() - pos_ < 2)
            return std::nullopt;
        const char first = char(std::toupper(static_cast<unsigned char>(text_[pos_])));
        const char second = char(std::toupper(static_cast<unsigned char>(text_[pos_ + 1])));
        if (second != 'M' || (first != 'A' && first != 'P'))
            return std::nullopt;
        pos_ += 2;
        return first == 'P' ? 12 : 0;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos_ == text_.size();
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::string FormatEndText(const ClockTime& time) {
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d %s", time.month, time.day,
                  time.year, hour12, time.minute, time.second, time.hour < 12 ? "AM" : "PM");
    return buffer;
}

std::optional<ClockTime> ParseEndText(std::string_view text) {
    Reader in(text);
    ClockTime t;
    const auto month = in.Number(2);
    if (!month || !in.Char('/'))
        return std::nullopt;
    const auto day = in.Number(2);
    if (!day || !in.Char('/'))
        return std::nullopt;
    // The year's four digits end the number, so the hour may follow at once.
    const auto year = in.Number(4);
    const auto hour = in.Number(2);
    if (!year || !hour || !in.Char(':'))
        return std::nullopt;
    const auto minute = in.Number(2);
    if (!minute || !in.Char(':'))
        return std::nullopt;
    const auto second = in.Number(2);
    const auto marker = in.Marker();
    if (!second || !marker || !in.AtEnd())
        return std::nullopt;
    t.year = *year;
    t.month = *month;
    t.day = *day;
    if (t.year < 1601 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month))
        return std::nullopt;
    if (*hour < 1 || *hour > 12 || *minute > 59 || *second > 59)
        return std::nullopt;
    t.hour = *hour % 12 + *marker;
    t.minute = *minute;
    t.second = *second;
    return t;
}

} // namespace brevalo::bench
