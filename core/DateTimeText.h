// Date-time text in the user's conventions: written for the autorun value
// names, the restart command line and the front ends' /t value, and read back
// by the switch parser.
#pragma once

#include "DateTime.h"
#include "FormatSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace brevalo {

// Formats with a Windows-style picture (see FormatSettings).
std::string FormatDateTimePicture(std::string_view picture, DateTime value,
                                  const FormatSettings& fs);

// Short date, a blank, long time; the time is left out at exactly midnight.
std::string DateTimeToText(DateTime value, const FormatSettings& fs);

// Reads a date, a date and a time, or a time alone (which lies on
// 30 December 1899). `now` supplies the current year for two-number dates and
// the century window of two-digit years. nullopt when the text does not read.
std::optional<DateTime> TextToDateTime(std::string_view text, const FormatSettings& fs,
                                       DateTime now);

// Removes every blank (space) from a text.
std::string RemoveBlanks(std::string_view text);

} // namespace brevalo
