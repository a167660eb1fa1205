// The switch string of a timer process: splitting the raw command line,
// the integer syntax of switch values, and parsing into TimerSettings.
#pragma once

#include "FormatSettings.h"
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
};

// Splits the raw command line. Item 0 is the program as written; callers
// replace it with the program's full path.
std::vector<CommandLineArgument> SplitCommandLineDetailed(std::string_view raw);
std::vector<std::string> SplitCommandLine(std::string_view raw);

// Replaces, inside the raw command line, the characters of argument `item`
// (0 = the program) from its character `offset` to its end with `replacement`.
// The rest of the line keeps its quoting and splits exactly as before; a
// replacement holding blanks is put in double quotes unless it already lies in
// a quoted stretch. Double quotes in `replacement` are dropped. The raw text
// comes back unchanged when the argument has no character at `offset`.
std::string ReplaceArgumentTail(std::string_view raw, std::size_t item, std::size_t offset,
                                std::string_view replacement);

// The raw command line made safe to run again from a stored copy: unless its
// program part (item 0) already is `programPath` (the running program's full
// path, letters in either case), unquoted or quoted as a whole, that part
// becomes `programPath` in double quotes. A relative or bare name would be
// looked up along the search path when the system runs the line, and an
// unquoted path with blanks is cut at the first blank. Everything after the
// program part is kept character for character.
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

struct ParseOutcome {
    ParseResult result = ParseOk;
    ParseEffects effects;
};

// Parses the arguments (item 0 = the program) of the raw command line `raw`
// into `settings`. Fields the window sets before parsing (TimerName, the
// colours, CheckForUpdates) are left as they are unless a switch sets them.
ParseOutcome ParseCommandLine(const std::vector<std::string>& args, std::string_view raw,
                              TimerSettings& settings, ParserEnvironment& env);

// The texts the window shows for parse results 1, 3 and 4; empty otherwise.
std::string ParseErrorMessage(ParseResult result);

} // namespace brevalo
