#include "Locale.h"

#include "Strings.h"

#include <windows.h>

namespace brevalo::os {

namespace {

std::string LocaleText(LCTYPE type, const std::string& fallback) {
    wchar_t buffer[128];
    const int length =
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, int(std::size(buffer)));
    if (length <= 1)
        return fallback;
    return base::Narrow(std::wstring_view(buffer, std::size_t(length - 1)));
}

} // namespace

FormatSettings UserFormatSettings() {
    FormatSettings fs;
    fs.shortDateFormat = LocaleText(LOCALE_SSHORTDATE, fs.shortDateFormat);
    fs.longTimeFormat = LocaleText(LOCALE_STIMEFORMAT, fs.longTimeFormat);
    fs.dateSeparator = LocaleText(LOCALE_SDATE, fs.dateSeparator);
    fs.timeSeparator = LocaleText(LOCALE_STIME, fs.timeSeparator);
    // Empty markers are real (24-hour locales): do not fall back to English.
    fs.amString = LocaleText(LOCALE_S1159, "");
    fs.pmString = LocaleText(LOCALE_S2359, "");
    fs.decimalSeparator = LocaleText(LOCALE_SDECIMAL, fs.decimalSeparator);
    for (int i = 0; i < 12; ++i) {
        fs.shortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i, fs.shortMonthNames[i]);
        fs.longMonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i, fs.longMonthNames[i]);
    }
    // The system counts days from Monday (LOCALE_SDAYNAME1); ours from Sunday.
    for (int i = 0; i < 7; ++i) {
        const int system = (i + 6) % 7;
        fs.shortDayNames[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + system, fs.shortDayNames[i]);
        fs.longDayNames[i] = LocaleText(LOCALE_SDAYNAME1 + system, fs.longDayNames[i]);
    }
    return fs;
}

} // namespace brevalo::os
