// The user's date and time conventions, as the platform reports them.
#pragma once

#include <array>
#include <string>

namespace brevalo {

struct FormatSettings {
    // Windows-style pictures: d dd M MM yyyy yy for dates; h hh H HH m mm s ss
    // t tt for times; text in single quotes is literal.
    std::string shortDateFormat = "M/d/yyyy";
    std::string longTimeFormat = "h:mm:ss tt";
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    std::string amString = "AM";
    std::string pmString = "PM";
    std::string decimalSeparator = ".";
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

} // namespace brevalo
