// The switch string of a timer process: splitting the raw command line,
// the integer syntax of switch values, and parsing it into the description
// of the timer.
#pragma once

#include "FormatSettings.h"
#include "SettingsStore.h"
#include "TimerSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevalo {

// One argument of a split command line and where its characters came from,
// so that a value can be replaced inside the raw text.
struct CommandLineArgument {
    std::string text;
    std::vector<std::size_t> sourceIndex; // raw-text index of each character of `text`
    std::vector<bool> quoted;             // whether each character lay in a quoted stretch
    std::size_t begin = 0;                // raw-text span of the argument, quotes included
    std::size_t end = 0;
};

// A command line as the program read it, split once. Item 0 is the program
// as written.
class CommandLine {
public:
    explicit CommandLine(std::string raw);

    const std::string& Raw() const noexcept { return raw_; }
    const std::vector<CommandLineArgument>& Arguments() const noexcept { return args_; }
    std::vector<std::string> Texts() const;
    // Anything after the program: the program is a timer.
    bool HasArguments() const noexcept { return args_.size() > 1; }

    // Argument `item`'s characters from `offset` to its end give way to
    // `replacement`.
    struct Edit {
        std::size_t item = 0;
        std::size_t offset = 0;
        std::string replacement;
    };
    // The raw text with the edits made and, unless `programPath` is empty,
    // the program part made safe to run again from a stored copy: unless it
    // already is `programPath` (the running program's full path, letters in
    // either case), unquoted or quoted as a whole, it becomes `programPath`
    // in double quotes (a relative or bare name would be looked up along the
    // search path, and an unquoted path with blanks is cut at the first
    // blank). An edit keeps the rest of the line splitting exactly as before;
    // a replacement holding blanks is put in double quotes unless it already
    // lies in a quoted stretch, and its double quotes are dropped. An edit of
    // an argument without a character at its offset does nothing. Every
    // other character stays as it was.
    std::string Rewritten(std::string_view programPath, const std::vector<Edit>& edits) const;

private:
    std::string raw_;
    std::vector<CommandLineArgument> args_;
};

// The texts of the arguments of `raw`.
std::vector<std::string> SplitCommandLine(std::string_view raw);
// `raw` with one edit, and with its program part replaced (CommandLine::Rewritten).
std::string ReplaceArgumentTail(std::string_view raw, std::size_t item, std::size_t offset,
                                std::string_view replacement);
std::string WithProgramPath(std::string_view raw, std::string_view programPath);

// Optional blanks, optional sign, decimal digits or hexadecimal digits after
// "$", "x", "X", "0x" or "0X"; must fit in a signed 32-bit integer, nothing
// may follow.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// What the parser asks of its surroundings.
class ParserEnvironment {
public:
    virtual ~ParserEnvironment() = default;
    virtual DateTime Now() = 0;
    virtual const FormatSettings& Formats() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // `path` made full against the current folder.
    virtual std::string FullPath(const std::string& path) = 0;
    virtual bool IsAdministrator() = 0;
    // Whether a machine-wide Run value holds `line`: the value that started a
    // timer resumed at log-on, which Windows starts without administrator
    // rights.
    virtual bool MachineAutorunHolds(const std::string& line) = 0;
};

// What parsing asks of the timer window. The window applies it once parsing
// is done, in the order of the fields.
struct ParseEffects {
    // /z: the window goes on top, and the menu's item is checked.
    bool keepOnTop = false;
    // The pop-up menu's action item: caption, check mark, enabled.
    struct ActionItem {
        std::string caption = "None";
        bool checked = false;
        bool enabled = false;
    } actionItem;
    // The action file is missing: the countdown must never start.
    bool cancelCountdown = false;
    // Error message boxes (caption "Error", stop icon, OK), in order.
    std::vector<std::string> errors;
    // The autorun value of /r, written once for every /r argument, and only
    // when the timer is going to count (a valid end point and no missing
    // action file): the end time as text is its name, the restart command
    // line its data.
    int autorunWrites = 0;
    RegistryRoot autorunRoot = RegistryRoot::CurrentUser;
    std::string autorunName;
    std::string autorunData;
};

// What a timer's command line describes, and what the window does about it.
struct ParsedTimer {
    ParseResult result = ParseOk;
    TimerSettings settings;
    ParseEffects effects;
};

// Parses the arguments of `line`, whose program part stands for the program
// at `programPath`. The settings start from their defaults and the saved
// preferences (colours, update check) that switches may override.
ParsedTimer ParseCommandLine(const CommandLine& line, const std::string& programPath,
                             const WindowSettings& preferences, ParserEnvironment& env);

// The texts the window shows for parse results 1, 3 and 4; empty otherwise.
std::string ParseErrorMessage(ParseResult result);

} // namespace brevalo
