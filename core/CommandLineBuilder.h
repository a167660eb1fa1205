// The switch strings the creation front ends build from what their dialogs
// collected, and the texts shown or copied with them. Pure functions: nothing
// here touches the platform.
#pragma once

#include "AdvancedOptions.h"
#include "Colour.h"
#include "DateTime.h"
#include "FormatSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace brevalo {

enum class SoundChoice { None, Standard, Electronic };
enum class ClosePrompting { WhenTimerIsActive, Never, StopCloseWhileActive };

// What the advanced dialog and its action dialog hold at the moment of
// building.
struct AdvancedChoices {
    std::int32_t IntervalValue = 0; // below 1: the target date and time are used
    bool IntervalInSeconds = false; // false: minutes
    DateTime TargetDate = 0.0;      // only the date part is used
    DateTime TargetTime = 0.0;      // only the time of day is used
    std::string TimerName = "Timer";
    TColor ForeColor = Rgb(0x00, 0x80, 0xFF);
    TColor BackColor = Rgb(0x00, 0x00, 0x00);
    SoundChoice TickSound = SoundChoice::None;
    SoundChoice DoneSound = SoundChoice::Standard;
    ClosePrompting Prompting = ClosePrompting::WhenTimerIsActive;
    bool HideBorder = false;
    bool FullScreen = false;
    AdvancedOptions Options;
    std::string ActionFile;
    std::string ActionParams;
    std::string ActionVerb = "open";
};

// What the wizard holds while it runs.
struct WizardChoices {
    std::string TimerName = "Timer";
    std::int64_t IntervalSeconds = 0; // 0 when the timer is set by date
    std::string TargetText;           // a TargetDateText when set by date
    TColor ForeColor = Rgb(0x00, 0x80, 0xFF);
    TColor BackColor = Rgb(0x00, 0x00, 0x00);
    int TickSound = 0; // 0 none, 1 standard, 2 electronic
    int DoneSound = 1;
    bool FullScreen = false;
    // The wizard's border choice, written as /w0 or /w1.
    enum class Border : int { Show = 0, DontShow = 1 };
    Border BorderValue = Border::Show;
    std::string ActionText; // empty, or WizardActionText(...)
};

enum class AdvancedVariant { Launch, Clipboard };
enum class WizardVariant { Launch, Summary, Clipboard, Shortcut };

// The verbs with which each front end asks the shell to start a timer.
inline constexpr const char* AdvancedLaunchVerb = "Open";
inline constexpr const char* WizardLaunchVerb = "open";

// A double quote, the date in the short date format, the time of day in the
// long time format, a double quote. The two are written back to back; a blank
// goes between them only when the date ends in a number the timer's reader
// would run on into the hour (a year of fewer than four digits, or a day
// last), so that the text always reads back.
std::string TargetDateText(DateTime date, DateTime timeOfDay, const FormatSettings& fs);

// RRGGBB in upper case from the three low bytes; the high byte is ignored.
std::string ColourHexText(TColor colour);

// The wizard's quoted action: the program in double quotes and, when
// parameters were given, "|" and the parameters in double quotes.
std::string WizardActionText(std::string_view program, std::string_view params);

// `fs` supplies the date and time formats of the target date.
std::string BuildAdvancedSwitches(const AdvancedChoices& choices, AdvancedVariant variant,
                                  const FormatSettings& fs);

std::string BuildWizardSwitches(const WizardChoices& choices, const AdvancedOptions& options,
                                WizardVariant variant);

// The program's file name without its folder.
std::string ProgramFileName(std::string_view programPath);
// The advanced dialog's clipboard text and the wizard's summary: the program's
// file name, one blank, the switch string.
std::string CommandLineDisplayText(std::string_view programPath, std::string_view switches);
// The wizard's clipboard text: the program's full path (unquoted), one blank,
// the switch string.
std::string CommandLineCopyText(std::string_view programPath, std::string_view switches);

} // namespace brevalo
