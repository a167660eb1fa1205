// Reading date-times typed on the command line or written by DateTimeToText.
//
// The reader is lenient about blanks (they may stand between any two parts)
// and strict about everything else. A number ends at the first non-digit or as
// soon as its value reaches 1000, which lets a four-digit year be followed
// directly by the hour.
#include "DateTimeText.h"

namespace brevalo {

namespace {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The first of the letters y, m and d (either case) in the short date format
// decides the order; month-day-year when there is none.
DateOrder OrderOf(std::string_view format) {
    for (const char c : format) {
        switch (c) {
        case 'y':
        case 'Y':
            return DateOrder::YearMonthDay;
        case 'm':
        case 'M':
            return DateOrder::MonthDayYear;
        case 'd':
        case 'D':
            return DateOrder::DayMonthYear;
        default:
            break;
        }
    }
    return DateOrder::MonthDayYear;
}

// The literal text a short date format writes after its last field, without
// blanks and quotes: "." for "yyyy. MM. dd.", nothing for "d.M.yyyy". Letters
// inside quotes are literal text, not fields.
std::string TrailingDateText(std::string_view format) {
    std::size_t afterLastField = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && std::string_view("yYmMdD").find(c) != std::string_view::npos) {
            afterLastField = i + 1;
        }
    }
    std::string text;
    for (const char c : format.substr(afterLastField)) {
        if (c != ' ' && c != '\'') {
            text += c;
        }
    }
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    std::size_t Position() const { return pos_; }
    void Rewind(std::size_t pos) { pos_ = pos; }

    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') {
            ++pos_;
        }
    }

    bool AtEnd() {
        SkipBlanks();
        return pos_ == text_.size();
    }

    struct Number {
        int value = 0;
        int digits = 0;
    };

    // Digits up to the first non-digit or until the value reaches 1000.
    bool ScanNumber(Number& number) {
        SkipBlanks();
        number = {};
        while (pos_ < text_.size() && number.value < 1000 && text_[pos_] >= '0' &&
               text_[pos_] <= '9') {
            number.value = number.value * 10 + (text_[pos_] - '0');
            ++number.digits;
            ++pos_;
        }
        return number.digits > 0;
    }

    // A fixed text, compared without regard to ASCII case. An empty text never
    // matches, so a locale without markers or separators cannot match nothing.
    bool ScanText(std::string_view expected) {
        if (expected.empty()) {
            return false;
        }
        const std::size_t start = pos_;
        SkipBlanks();
        if (text_.size() - pos_ >= expected.size()) {
            bool same = true;
            for (std::size_t i = 0; i < expected.size() && same; ++i) {
                same = AsciiLower(text_[pos_ + i]) == AsciiLower(expected[i]);
            }
            if (same) {
                pos_ += expected.size();
                return true;
            }
        }
        pos_ = start;
        return false;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

int YearOf(DateTime value) {
    return DecodeDateTime(value).year;
}

std::optional<double> ScanDate(Scanner& in, const FormatSettings& fs, DateTime now) {
    Scanner::Number first;
    Scanner::Number second;
    Scanner::Number third;
    if (!in.ScanNumber(first) || !in.ScanText(fs.dateSeparator) || !in.ScanNumber(second)) {
        return std::nullopt;
    }
    const bool hasThird = in.ScanText(fs.dateSeparator);
    if (hasThird && !in.ScanNumber(third)) {
        return std::nullopt;
    }
    // A format that ends in literal text writes it after the date: accept it,
    // so that what the program writes reads back.
    in.ScanText(TrailingDateText(fs.shortDateFormat));

    const DateOrder order = OrderOf(fs.shortDateFormat);
    const int currentYear = YearOf(now);
    int year = currentYear;
    int month = 0;
    int day = 0;
    if (!hasThird) {
        // Two numbers are month and day of the current year, in the order in
        // which the format writes them.
        if (order == DateOrder::DayMonthYear) {
            day = first.value;
            month = second.value;
        } else {
            month = first.value;
            day = second.value;
        }
    } else {
        Scanner::Number yearNumber;
        switch (order) {
        case DateOrder::MonthDayYear:
            month = first.value;
            day = second.value;
            yearNumber = third;
            break;
        case DateOrder::DayMonthYear:
            day = first.value;
            month = second.value;
            yearNumber = third;
            break;
        case DateOrder::YearMonthDay:
            yearNumber = first;
            month = second.value;
            day = third.value;
            break;
        }
        year = yearNumber.value;
        if (yearNumber.digits <= 2) {
            // Century window of 50 years before the current year.
            const int windowStart = currentYear - 50;
            year += windowStart / 100 * 100;
            if (year < windowStart) {
                year += 100;
            }
        }
    }
    return EncodeDate(year, month, day);
}

bool ScanMarker(Scanner& in, const FormatSettings& fs, int& baseHour) {
    if (in.ScanText(fs.amString) || in.ScanText("AM")) {
        baseHour = 0;
        return true;
    }
    if (in.ScanText(fs.pmString) || in.ScanText("PM")) {
        baseHour = 12;
        return true;
    }
    return false;
}

std::optional<double> ScanTime(Scanner& in, const FormatSettings& fs) {
    int baseHour = -1;
    const bool leadingMarker = ScanMarker(in, fs, baseHour);

    Scanner::Number hour;
    Scanner::Number minute;
    Scanner::Number second;
    Scanner::Number millisecond;
    if (!in.ScanNumber(hour)) {
        return std::nullopt;
    }
    if (in.ScanText(fs.timeSeparator)) {
        if (!in.ScanNumber(minute)) {
            return std::nullopt;
        }
        if (in.ScanText(fs.timeSeparator)) {
            if (!in.ScanNumber(second)) {
                return std::nullopt;
            }
            if (in.ScanText(fs.decimalSeparator) && !in.ScanNumber(millisecond)) {
                return std::nullopt;
            }
        }
    }
    if (!leadingMarker) {
        ScanMarker(in, fs, baseHour);
    }

    int hours = hour.value;
    if (baseHour >= 0) {
        if (hours < 1 || hours > 12) {
            return std::nullopt;
        }
        hours = hours % 12 + baseHour;
    }
    return EncodeTime(hours, minute.value, second.value, millisecond.value);
}

} // namespace

std::optional<DateTime> TextToDateTime(std::string_view text, const FormatSettings& fs,
                                       DateTime now) {
    Scanner in(text);
    if (const auto date = ScanDate(in, fs, now)) {
        if (in.AtEnd()) {
            return *date;
        }
        // Whatever follows the time is ignored.
        if (const auto time = ScanTime(in, fs)) {
            return *date + *time;
        }
    }

    // Not a date, or a date followed by something other than a time: the whole
    // text must then be a time of day, which lies on 30 December 1899.
    in.Rewind(0);
    const auto time = ScanTime(in, fs);
    if (!time || !in.AtEnd()) {
        return std::nullopt;
    }
    return *time;
}

} // namespace brevalo
