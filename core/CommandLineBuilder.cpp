#include "CommandLineBuilder.h"

#include "DateTimeText.h"

#include <cmath>

namespace brevalo {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks and control characters end an argument unless they stand inside
// double quotes.
bool NeedsQuotes(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) <= 32) {
            return true;
        }
    }
    return false;
}

// A double quote cannot pass through the command line: the timer's splitter
// has no escape, and an unpaired quote would swallow every switch after it.
// Paired quotes vanish there anyway, so leaving them out keeps the meaning.
std::string WithoutQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != '"') {
            out += c;
        }
    }
    return out;
}

// Action parameters pass a double quote as "^", which the timer turns back
// into a double quote.
std::string CaretQuotes(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '"') {
            c = '^';
        }
    }
    return out;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

// Quotes only when a blank would otherwise split the text.
std::string QuotedIfNeeded(const std::string& text) {
    return NeedsQuotes(text) ? Quoted(text) : text;
}

// Whether the reader of the date, which takes digits until their value
// reaches 1000, would run from the date's last number into a following digit.
bool LastNumberRunsOn(std::string_view dateText) {
    std::size_t start = dateText.size();
    while (start > 0 && IsDigit(dateText[start - 1])) {
        --start;
    }
    if (start == dateText.size()) {
        return false;
    }
    int value = 0;
    for (std::size_t i = start; i < dateText.size(); ++i) {
        value = value * 10 + (dateText[i] - '0');
        if (value >= 1000) {
            return false;
        }
    }
    return true;
}

// The options the advanced builder writes before full screen, by key number,
// in its order; the remaining four follow full screen in key order.
constexpr int AdvancedOptionsBeforeFullScreen[] = {3, 1, 5, 2, 6, 4};

std::string_view OptionSwitch(int key) {
    return AdvancedOptionSwitches[static_cast<std::size_t>(key - 1)];
}

} // namespace

std::string TargetDateText(DateTime date, DateTime timeOfDay, const FormatSettings& fs) {
    const DateTime datePart = std::trunc(date);
    const DateTime timePart = std::fabs(timeOfDay - std::trunc(timeOfDay));
    const std::string dateText = FormatDateTimePicture(fs.shortDateFormat, datePart, fs);
    const std::string timeText = FormatDateTimePicture(fs.longTimeFormat, timePart, fs);
    std::string text = "\"" + dateText;
    if (!timeText.empty() && IsDigit(timeText.front()) && LastNumberRunsOn(dateText)) {
        text += ' ';
    }
    return text + timeText + "\"";
}

std::string ColourHexText(TColor colour) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    const auto value = static_cast<std::uint32_t>(colour);
    std::string text;
    for (const int shift : {0, 8, 16}) { // red, green, blue
        const std::uint32_t byte = (value >> shift) & 0xFF;
        text += Digits[byte >> 4];
        text += Digits[byte & 0x0F];
    }
    return text;
}

std::string WizardActionText(std::string_view program, std::string_view params) {
    std::string text = Quoted(WithoutQuotes(program));
    if (!params.empty()) {
        text += '|';
        text += Quoted(CaretQuotes(params));
    }
    return text;
}

std::string BuildAdvancedSwitches(const AdvancedChoices& choices, AdvancedVariant variant,
                                  const FormatSettings& fs) {
    const AdvancedOptions& options = choices.Options;
    std::string s;

    if (choices.IntervalValue < 1) {
        s += "/t" + TargetDateText(choices.TargetDate, choices.TargetTime, fs);
    } else {
        s += choices.IntervalInSeconds ? "/q" : "/t";
        s += std::to_string(choices.IntervalValue);
    }

    // The timer's own default name is left out; the comparison is exact.
    if (choices.TimerName != "Timer") {
        s += " /c" + Quoted(WithoutQuotes(choices.TimerName));
    }

    s += " /f" + ColourHexText(choices.ForeColor);
    s += " /b" + ColourHexText(choices.BackColor);

    // Only sounds and prompting that differ from the timer's defaults.
    if (choices.TickSound == SoundChoice::Standard) {
        s += " /e1";
    } else if (choices.TickSound == SoundChoice::Electronic) {
        s += " /e2";
    }
    if (choices.DoneSound == SoundChoice::None) {
        s += " /s0";
    } else if (choices.DoneSound == SoundChoice::Electronic) {
        s += " /s2";
    }
    if (choices.Prompting == ClosePrompting::Never) {
        s += " /x1";
    } else if (choices.Prompting == ClosePrompting::StopCloseWhileActive) {
        s += " /x2";
    }

    // The border choice still counts when full screen has disabled it.
    if (choices.HideBorder) {
        s += " /w1";
    }

    for (const int key : AdvancedOptionsBeforeFullScreen) {
        if (options.Chk(key)) {
            s += OptionSwitch(key);
        }
    }

    if (choices.FullScreen) {
        s += " /g";
    }

    for (int key = 7; key <= AdvancedOptionCount; ++key) {
        if (options.Chk(key)) {
            s += OptionSwitch(key);
        }
    }

    if (!choices.ActionFile.empty()) {
        s += " /a" + Quoted(WithoutQuotes(choices.ActionFile));
        if (!choices.ActionParams.empty()) {
            // Appended in two steps: "|" + temporary trips a false overlap
            // warning of GCC 12 (-Wrestrict) in the 64-bit build.
            s += '|';
            s += QuotedIfNeeded(CaretQuotes(choices.ActionParams));
        }
    }

    // The verb goes with the timer that is started, not with the copied text;
    // it is written even without an action file.
    if (variant == AdvancedVariant::Launch) {
        std::string lower = choices.ActionVerb;
        for (char& c : lower) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        if (lower != "open") {
            s += " /$" + QuotedIfNeeded(WithoutQuotes(choices.ActionVerb));
        }
    }
    return s;
}

std::string BuildWizardSwitches(const WizardChoices& choices, const AdvancedOptions& options,
                                WizardVariant variant) {
    std::string s;
    if (choices.IntervalSeconds > 0) {
        s += "/q" + std::to_string(choices.IntervalSeconds);
    } else {
        s += "/t" + choices.TargetText;
    }
    s += " /c" + Quoted(WithoutQuotes(choices.TimerName));
    s += " /f" + ColourHexText(choices.ForeColor);
    s += " /b" + ColourHexText(choices.BackColor);
    s += " /s" + std::to_string(choices.DoneSound);
    s += " /e" + std::to_string(choices.TickSound);

    // A shortcut keeps the border choice and never starts in full screen.
    if (choices.FullScreen && variant != WizardVariant::Shortcut) {
        s += " /g";
    } else {
        s += " /w" + std::to_string(int(choices.BorderValue));
    }

    if (!choices.ActionText.empty()) {
        s += " /a" + choices.ActionText;
    }

    for (int key = 1; key <= AdvancedOptionCount; ++key) {
        if (options.Chk(key)) {
            s += OptionSwitch(key);
        }
    }
    return s;
}

std::string ProgramFileName(std::string_view programPath) {
    const std::size_t cut = programPath.find_last_of("\\/:");
    return std::string(cut == std::string_view::npos ? programPath : programPath.substr(cut + 1));
}

std::string CommandLineDisplayText(std::string_view programPath, std::string_view switches) {
    return ProgramFileName(programPath) + " " + std::string(switches);
}

std::string CommandLineCopyText(std::string_view programPath, std::string_view switches) {
    return std::string(programPath) + " " + std::string(switches);
}

} // namespace brevalo
