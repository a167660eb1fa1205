// Splits and parses arbitrary raw command lines in several locales, checking
// what must hold for any input: the split keeps track of where each character
// came from, replacing an argument's tail leaves the other arguments alone,
// the parser's effects agree with its result, and the restart command line
// counts to the same moment when read back.
#include "FuzzInput.h"

#include "CommandLine.h"
#include "DateTimeText.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace brevalo::fuzz {
namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::cerr << "invariant broken: " << what << '\n';
        std::abort();
    }
}

class FakeEnvironment : public ParserEnvironment {
public:
    FakeEnvironment(const FormatSettings& fs, DateTime now, unsigned char flags)
        : fs_(fs), now_(now), flags_(flags) {}

    DateTime Now() override { return now_; }
    const FormatSettings& Formats() override { return fs_; }
    // With flag 2 every non-empty name exists; otherwise names ending in ".exe".
    bool FileExists(const std::string& path) override {
        if (path.empty()) {
            return false;
        }
        return (flags_ & 2) != 0 || (path.size() > 4 && path.ends_with(".exe"));
    }
    // Relative names count from C:\Work.
    std::string FullPath(const std::string& path) override {
        return path.size() > 1 && path[1] == ':' ? path : "C:\\Work\\" + path;
    }
    bool IsAdministrator() override { return (flags_ & 1) != 0; }
    bool MachineAutorunHolds(const std::string&) override { return (flags_ & 4) != 0; }

private:
    FormatSettings fs_;
    DateTime now_;
    unsigned char flags_;
};

bool IsSwitch(const std::string& arg, char letter) {
    return arg.size() >= 2 && arg[0] == '/' &&
           (arg[1] == letter || (letter >= 'a' && letter <= 'z' && arg[1] == letter - 32));
}

std::optional<std::size_t> FindSwitch(const std::vector<std::string>& args, char letter) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (IsSwitch(args[i], letter)) {
            return i;
        }
    }
    return std::nullopt;
}

void CheckSplit(std::string_view raw) {
    const CommandLine line{std::string(raw)};
    const auto& detailed = line.Arguments();
    const auto plain = SplitCommandLine(raw);
    Require(detailed.size() == plain.size(), "both splits give the same number of arguments");
    std::size_t previous = 0;
    bool first = true;
    for (std::size_t i = 0; i < detailed.size(); ++i) {
        const auto& arg = detailed[i];
        Require(arg.text == plain[i], "both splits give the same arguments");
        Require(arg.text.size() == arg.sourceIndex.size(), "one source index per character");
        for (std::size_t k = 0; k < arg.text.size(); ++k) {
            const std::size_t at = arg.sourceIndex[k];
            Require(at < raw.size() && raw[at] == arg.text[k],
                    "source index points at the character");
            Require(first || at > previous, "source indexes increase");
            Require(arg.text[k] != '"' && arg.text[k] != '\0', "no quote or zero in an argument");
            previous = at;
            first = false;
        }
    }
}

// Replacing the tail of one argument changes that argument only.
void CheckReplace(std::string_view raw, std::size_t item, std::size_t offset,
                  std::string_view replacement) {
    const auto before = SplitCommandLine(raw);
    const std::string out = ReplaceArgumentTail(raw, item, offset, replacement);
    if (item >= before.size() || offset >= before[item].size()) {
        Require(out == raw, "nothing to replace leaves the text alone");
        return;
    }
    std::string value;
    for (const char c : replacement) {
        if (c != '"' && c != '\0') {
            value += c;
        }
    }
    if (offset == 0 && value.empty()) {
        return; // the argument disappears altogether
    }
    const auto after = SplitCommandLine(out);
    Require(after.size() == before.size(), "replacement keeps the number of arguments");
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (i == item) {
            Require(after[i] == before[i].substr(0, offset) + value,
                    "replaced argument holds the new tail");
        } else {
            Require(after[i] == before[i], "other arguments are untouched");
        }
    }
}

constexpr char ProgramPath[] = "C:\\Program Files\\Brevalo\\Brevalo.exe";

ParsedTimer Parse(std::string_view raw, TimerSettings& settings, FakeEnvironment& env) {
    ParsedTimer parsed = ParseCommandLine(CommandLine(std::string(raw)), ProgramPath, {}, env);
    settings = parsed.settings;
    return parsed;
}

void CheckParse(std::string_view raw, const FuzzInput& in) {
    std::vector<std::string> args = SplitCommandLine(raw);
    TimerSettings settings;
    FakeEnvironment env(in.formats, in.now, in.flags);
    const ParsedTimer outcome = Parse(raw, settings, env);
    const ParseResult result = outcome.result;
    const ParseEffects& effects = outcome.effects;

    Require(result == ParseOk || result == ParseNoEndPoint || result == ParseBadT ||
                result == ParseBadQ || result == ParseActionMissing,
            "result is one of the known codes");
    const bool hasEndPoint = FindSwitch(args, 't') || FindSwitch(args, 'q');
    Require(hasEndPoint || result == ParseNoEndPoint || result == ParseActionMissing,
            "no end point gives code 1 unless an action is missing");
    Require(effects.cancelCountdown == (result == ParseActionMissing),
            "the countdown is cancelled exactly when an action file is missing");
    Require(!settings.SilentErrors || effects.errors.empty(), "/m silences every message");
    int rCount = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        rCount += IsSwitch(args[i], 'r') ? 1 : 0;
    }
    Require(effects.autorunWrites == (result == ParseOk ? rCount : 0),
            "one autorun write per /r, and only for a timer that counts");
    Require(effects.keepOnTop == settings.KeepOnTop, "keep on top asked for exactly with /z1");
    Require(int(settings.CloseMode) >= 0 && int(settings.CloseMode) <= 2,
            "close mode is 0, 1 or 2");
    Require(settings.TickSound.size() <= MaxSoundNameLength, "tick sound fits");
    Require(settings.DoneSound.size() <= MaxSoundNameLength, "done sound fits");
    Require(settings.ActionParams.find('^') == std::string::npos, "no caret left in parameters");
    Require(settings.ActionFile.find('"') == std::string::npos, "no quote in the action file");
    // The restart line comes from the last end point given as a whole number;
    // a /q date-time after a /t number sets the end time but not the line.
    const auto t = FindSwitch(args, 't');
    const auto q = FindSwitch(args, 'q');
    const auto amount = [&](std::optional<std::size_t> i) -> std::optional<std::int32_t> {
        return i ? ParseInteger(std::string_view(args[*i]).substr(2)) : std::nullopt;
    };
    std::optional<std::size_t> relative;
    DateTime rewritten = 0.0;
    if (const auto n = amount(q)) {
        relative = q;
        rewritten = AddSeconds(in.now, *n);
    } else if (const auto n = amount(t)) {
        relative = t;
        rewritten = AddMinutes(in.now, *n);
    }
    if (!relative) {
        Require(!settings.IsRelative, "only a whole number sets IsRelative");
        return;
    }
    Require(settings.IsRelative, "a whole number sets IsRelative");
    std::optional<DateTime> endPoint = rewritten;
    if (relative == t && q) {
        endPoint = TextToDateTime(std::string_view(args[*q]).substr(2), in.formats, in.now);
    }
    FuzzInput later = in;
    if (endPoint == rewritten) {
        later.now = in.now + 3.5; // a restart days later must count to the same moment
    }
    if (!ReadableYear(rewritten, in.formats, in.now) ||
        !ReadableYear(rewritten, in.formats, later.now)) {
        return;
    }
    if (endPoint) {
        Require(SameSecond(settings.EndTime, *endPoint), "the end time is the one given");
    }

    // The restart line starts the program by its full path, keeps every other
    // argument and counts to the same moment.
    const auto restartArgs = SplitCommandLine(settings.RestartCommandLine);
    Require(restartArgs.size() == args.size(), "the restart line keeps its arguments");
    // File names are compared without regard to case: a program part that
    // differs from the path only in case is already that path, and is kept.
    const auto sameIgnoringCase = [](std::string_view x, std::string_view y) {
        return x.size() == y.size() &&
               std::equal(x.begin(), x.end(), y.begin(), [](char a, char b) {
                   const auto lower = [](char c) {
                       return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
                   };
                   return lower(a) == lower(b);
               });
    };
    Require(sameIgnoringCase(restartArgs[0], ProgramPath),
            "the restart line names the program by its path");
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (i == *relative) {
            Require(restartArgs[i].substr(0, 2) == args[i].substr(0, 2), "the switch stays");
            const auto read =
                TextToDateTime(std::string_view(restartArgs[i]).substr(2), in.formats, later.now);
            Require(read.has_value(), "the restart value reads back");
            Require(SameSecond(*read, rewritten), "the restart value is the end time");
        } else if (IsSwitch(args[i], 'a')) {
            // The action file is saved in full; checked on the parse below.
            Require(restartArgs[i].substr(0, 2) == args[i].substr(0, 2), "the switch stays");
        } else {
            Require(restartArgs[i] == args[i], "the restart line keeps the other arguments");
        }
    }

    TimerSettings again;
    FakeEnvironment env2(later.formats, later.now, later.flags);
    const ParseResult second = Parse(settings.RestartCommandLine, again, env2).result;
    Require(second == result, "the restart line parses with the same result");
    Require(SameSecond(again.EndTime, settings.EndTime), "the restart line keeps the end time");
    if (result == ParseOk && !settings.ActionFile.empty()) {
        Require(again.ActionFile == env.FullPath(settings.ActionFile),
                "the restart line holds the action file in full");
        Require(again.ActionParams == settings.ActionParams,
                "the restart line keeps the action's parameters");
    }
}

} // namespace
} // namespace brevalo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brevalo::fuzz;
    const auto in = ReadHead(data, size);
    if (!in) {
        return 0;
    }
    const std::string_view raw = in->text;
    CheckSplit(raw);
    // The head's bytes choose an argument and an offset; the replacement is
    // the end of the input.
    const std::size_t item = data[1] % 8;
    const std::size_t offset = data[3] % 8;
    CheckReplace(raw, item, offset, raw.substr(raw.size() / 2));
    CheckParse(raw, *in);
    return 0;
}
