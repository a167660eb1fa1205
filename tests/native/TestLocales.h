// Date and time conventions of a few locales, for the core's tests.
#pragma once

#include "FormatSettings.h"

namespace brevalo::test {

inline FormatSettings UnitedStates() {
    return {};
}

inline FormatSettings Germany() {
    FormatSettings fs;
    fs.shortDateFormat = "d.M.yyyy";
    fs.longTimeFormat = "HH:mm:ss";
    fs.dateSeparator = ".";
    fs.decimalSeparator = ",";
    fs.amString = "";
    fs.pmString = "";
    return fs;
}

inline FormatSettings Sweden() {
    FormatSettings fs;
    fs.shortDateFormat = "yyyy-MM-dd";
    fs.longTimeFormat = "HH:mm:ss";
    fs.dateSeparator = "-";
    fs.decimalSeparator = ",";
    return fs;
}

// Year first and the 12-hour marker in front of the time, in UTF-8.
inline FormatSettings Korea() {
    FormatSettings fs;
    fs.shortDateFormat = "yyyy-MM-dd";
    fs.longTimeFormat = "tt h:mm:ss";
    fs.dateSeparator = "-";
    fs.amString = "\xEC\x98\xA4\xEC\xA0\x84";
    fs.pmString = "\xEC\x98\xA4\xED\x9B\x84";
    return fs;
}

inline FormatSettings TwoDigitYear() {
    FormatSettings fs;
    fs.shortDateFormat = "M/d/yy";
    return fs;
}

// Year first; the separator holds a blank and the format ends in a full stop.
inline FormatSettings Hungary() {
    FormatSettings fs;
    fs.shortDateFormat = "yyyy. MM. dd.";
    fs.longTimeFormat = "H:mm:ss";
    fs.dateSeparator = ". ";
    fs.decimalSeparator = ",";
    fs.amString = "de.";
    fs.pmString = "du.";
    return fs;
}

// The same character separates the date's and the time's parts.
inline FormatSettings Finland() {
    FormatSettings fs;
    fs.shortDateFormat = "d.M.yyyy";
    fs.longTimeFormat = "H.mm.ss";
    fs.dateSeparator = ".";
    fs.timeSeparator = ".";
    fs.decimalSeparator = ",";
    fs.amString = "ap.";
    fs.pmString = "ip.";
    return fs;
}

// Day first, with a quoted word after the year whose letters are not fields.
inline FormatSettings QuotedSuffix() {
    FormatSettings fs = Germany();
    fs.shortDateFormat = "dd.MM.yyyy' day'";
    return fs;
}

} // namespace brevalo::test
