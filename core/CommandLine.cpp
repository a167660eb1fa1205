// Parsing a timer's switch string into its TimerSettings.
#include "CommandLine.h"

#include "DateTimeText.h"
#include "SoundNames.h"

namespace brevalo {

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A switch is a slash and one character; letters match in either case.
bool IsSwitch(const std::string& arg, char letter) {
    return arg.size() >= 2 && arg[0] == '/' && AsciiLower(arg[1]) == letter;
}

std::string Trim(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

bool SameSecond(DateTime a, DateTime b) {
    const CivilDateTime x = DecodeDateTime(a);
    const CivilDateTime y = DecodeDateTime(b);
    return x.year == y.year && x.month == y.month && x.day == y.day && x.hour == y.hour &&
           x.minute == y.minute && x.second == y.second;
}

class Parser {
public:
    Parser(const std::vector<std::string>& args, std::string_view raw, TimerSettings& settings,
           ParserEnvironment& env)
        : args_(args), line_(args.empty() ? std::string(raw) : WithProgramPath(raw, args.front())),
          s_(settings), env_(env), fs_(env.Formats()), now_(env.Now()) {}

    ParseOutcome Run() {
        ResetSettings();
        // Each switch is processed over the whole list before the next one;
        // the order matters where switches depend on each other.
        if (Find('m')) {
            s_.SilentErrors = true;
        }
        EndPoint('t', ParseBadT, false);
        EndPoint('q', ParseBadQ, true);
        AppearanceSwitches();
        BehaviourSwitches();
        if (Find('h')) {
            UseMachineAutorun();
        }
        const int autorunWrites = ResumeSwitches();
        for (std::size_t i = 1; i < args_.size(); ++i) {
            if (IsSwitch(args_[i], 'a')) {
                Action(i);
            }
        }
        // Only a timer that is going to count may come back at the next
        // log-on: a line without a valid end point, or with a missing action
        // file, would raise its error or run its action at every log-on.
        if (result_ == ParseOk && autorunWrites > 0) {
            effects_.autorunWrites = autorunWrites;
            effects_.autorunRoot = s_.AutorunRoot;
            effects_.autorunName = DateTimeToText(s_.EndTime, fs_);
            effects_.autorunData = s_.RestartCommandLine;
        }
        return {result_, std::move(effects_)};
    }

private:
    // The fields every command line starts from; the others keep what the
    // window set before parsing.
    void ResetSettings() {
        s_.AllowScreenSaver = false;
        s_.PopupMenuEnabled = true;
        s_.ResumeAfterRestart = false;
        s_.RestartCommandLine = line_;
        s_.ResumeOnceAfterLogoff = true;
        s_.StartMaximized = false;
        s_.AutorunRoot = RegistryRoot::CurrentUser;
        s_.DoneSound = SoundName(DoneSoundNames[1]);
        s_.NoBringToFront = false;
        s_.KeepOpenWhenDone = false;
        s_.ActionVerb = "open";
        s_.PauseDisabled = false;
        s_.IsRelative = false;
        s_.ActionFile.clear();
        s_.ActionParams.clear();
    }

    // /f /b /w /c: colours, title bar and name.
    void AppearanceSwitches() {
        if (const auto v = Value('f')) {
            SetColour(*v, s_.ForeColor);
        }
        if (const auto v = Value('b')) {
            SetColour(*v, s_.BackColor);
        }
        if (Value('w') == "1") {
            s_.HideTitleBar = true;
        }
        if (const auto v = Value('c')) {
            s_.TimerName = *v;
        }
    }

    // /$ /x /z /d /y /i /e /s /n /v, in this order.
    void BehaviourSwitches() {
        if (const auto v = Value('$')) {
            s_.ActionVerb = *v;
        }
        if (const auto n = Choice('x')) {
            s_.CloseMode = brevalo::CloseMode(*n);
        }
        if (Value('z') == "1") {
            s_.KeepOnTop = true;
            effects_.keepOnTop = true;
        }
        if (Find('d')) {
            s_.AllowScreenSaver = true;
        }
        if (Find('y')) {
            s_.PauseDisabled = true;
        }
        if (Find('i')) {
            s_.NoBringToFront = true;
        }
        if (const auto n = Choice('e')) {
            s_.TickSound = SoundName(TickSoundNames[*n]);
        }
        if (const auto n = Choice('s')) {
            s_.DoneSound = SoundName(DoneSoundNames[*n]);
        }
        if (Find('n')) {
            s_.PopupMenuEnabled = false;
        }
        if (Find('v')) {
            s_.KeepOpenWhenDone = true;
        }
    }

    // /r (every occurrence counts), /g and /u; returns the number of /r.
    int ResumeSwitches() {
        int count = 0;
        for (std::size_t i = 1; i < args_.size(); ++i) {
            if (IsSwitch(args_[i], 'r')) {
                s_.ResumeAfterRestart = true;
                s_.ResumeOnceAfterLogoff = false;
                ++count;
            }
        }
        if (Find('g')) {
            s_.StartMaximized = true;
        }
        if (Find('u')) {
            s_.CheckForUpdates = false;
        }
        return count;
    }

    // Index of the first argument (item 0 is the program) that is the switch.
    std::optional<std::size_t> Find(char letter) const {
        for (std::size_t i = 1; i < args_.size(); ++i) {
            if (IsSwitch(args_[i], letter)) {
                return i;
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> Value(char letter) const {
        const auto i = Find(letter);
        if (!i) {
            return std::nullopt;
        }
        return args_[*i].substr(2);
    }

    // A whole number 0, 1 or 2; anything else leaves the switch without effect.
    std::optional<int> Choice(char letter) const {
        const auto v = Value(letter);
        if (!v) {
            return std::nullopt;
        }
        const auto n = ParseInteger(*v);
        if (!n || *n < 0 || *n > 2) {
            return std::nullopt;
        }
        return *n;
    }

    static void SetColour(const std::string& text, TColor& colour) {
        try {
            colour = ColourFromString(text);
        } catch (const ColourError&) {
            // Not a colour: the saved one stays.
        }
    }

    // /t (minutes) and /q (seconds): a whole number counts from now, anything
    // else must be a date-time.
    void EndPoint(char letter, ParseResult bad, bool seconds) {
        const auto i = Find(letter);
        if (!i) {
            return;
        }
        result_ = ParseOk;
        const std::string value = args_[*i].substr(2);
        if (const auto n = ParseInteger(value)) {
            s_.EndTime = seconds ? AddSeconds(now_, *n) : AddMinutes(now_, *n);
            s_.IsRelative = true;
            s_.RestartCommandLine = RestartLine(*i, letter);
        } else if (const auto t = TextToDateTime(value, fs_, now_)) {
            s_.EndTime = *t;
        } else {
            result_ = bad;
        }
    }

    // The item of the raw line `line` that is argument `index`, a switch
    // with `letter`: that same item when the line splits there into the same
    // text, else the line's first such switch.
    std::optional<std::size_t> ItemOf(const std::string& line, std::size_t index,
                                      char letter) const {
        const std::vector<std::string> rawArgs = SplitCommandLine(line);
        if (index < rawArgs.size() && rawArgs[index] == args_[index]) {
            return index;
        }
        for (std::size_t j = 1; j < rawArgs.size(); ++j) {
            if (IsSwitch(rawArgs[j], letter)) {
                return j;
            }
        }
        return std::nullopt;
    }

    // The command line with the amount of argument `index` replaced by the
    // end time, so that a restarted timer counts to the same moment.
    std::string RestartLine(std::size_t index, char letter) const {
        const std::optional<std::size_t> item = ItemOf(line_, index, letter);
        if (!item) {
            return line_;
        }
        // The blank-free text is preferred. Where the user's formats make it
        // unreadable (a two-digit year or a day running into the hour), the
        // text keeps its blanks and is quoted instead, so the restart works.
        const std::string text = DateTimeToText(s_.EndTime, fs_);
        const std::string compact = RemoveBlanks(text);
        const auto readsBack = [&](const std::string& candidate) {
            const auto read = TextToDateTime(candidate, fs_, now_);
            return read && SameSecond(*read, s_.EndTime);
        };
        const bool useBlanks = !readsBack(compact) && readsBack(text);
        return ReplaceArgumentTail(line_, *item, 2, useBlanks ? text : compact);
    }

    // The restart line with the action file of argument `index` in full: the
    // line comes back at log-on, where the current folder is another one.
    void SaveActionFileInFull(std::size_t index) {
        const std::string full = env_.FullPath(s_.ActionFile);
        if (full.empty() || full == s_.ActionFile) {
            return;
        }
        const std::optional<std::size_t> item = ItemOf(s_.RestartCommandLine, index, 'a');
        if (!item) {
            return;
        }
        // The parameters after "|" stay as they were written.
        const std::string value = args_[index].substr(2);
        const std::size_t bar = value.find('|');
        const std::string replacement =
            full + (bar == std::string::npos ? std::string() : value.substr(bar));
        s_.RestartCommandLine = ReplaceArgumentTail(s_.RestartCommandLine, *item, 2, replacement);
    }

    void UseMachineAutorun() {
        if (env_.IsAdministrator()) {
            s_.AutorunRoot = RegistryRoot::LocalMachine;
        } else if (Find('r') && env_.MachineAutorunHolds(s_.RestartCommandLine)) {
            // Started at log-on from its own machine-wide value, which
            // Windows does without administrator rights: the switch is not
            // ignored, the value stays the one, and it goes at the end.
            s_.AutorunRoot = RegistryRoot::LocalMachine;
        } else if (!s_.SilentErrors) {
            effects_.errors.push_back("/h switch is ignored. You are not an Administrator.");
        }
    }

    void Action(std::size_t index) {
        const std::string value = args_[index].substr(2);
        std::string text;
        for (const char c : value) {
            if (c != '"') {
                text += c;
            }
        }
        const std::size_t bar = text.find('|');
        if (bar != std::string::npos) {
            s_.ActionParams = Trim(std::string_view(text).substr(bar + 1));
            s_.ActionFile = Trim(std::string_view(text).substr(0, bar));
        } else {
            s_.ActionFile = text;
            s_.ActionParams.clear();
        }
        // "^" is the only way to pass a double quote through the command line.
        for (char& c : s_.ActionParams) {
            if (c == '^') {
                c = '"';
            }
        }
        if (env_.FileExists(s_.ActionFile)) {
            effects_.actionItem = {s_.ActionFile, true, true};
            SaveActionFileInFull(index);
        } else {
            effects_.cancelCountdown = true;
            if (!s_.SilentErrors) {
                effects_.errors.push_back("Action file " + s_.ActionFile + " cannot be found.");
            }
            result_ = ParseActionMissing;
        }
    }

    const std::vector<std::string>& args_;
    // The raw command line with the program's full path in its program part:
    // what a stored command line starts from.
    std::string line_;
    TimerSettings& s_;
    ParserEnvironment& env_;
    const FormatSettings& fs_;
    DateTime now_;
    ParseResult result_ = ParseNoEndPoint;
    ParseEffects effects_;
};

} // namespace

ParseOutcome ParseCommandLine(const std::vector<std::string>& args, std::string_view raw,
                              TimerSettings& settings, ParserEnvironment& env) {
    return Parser(args, raw, settings, env).Run();
}

std::string ParseErrorMessage(ParseResult result) {
    switch (result) {
    case ParseNoEndPoint:
        return "Missing required parameter of /t or /q. See Help for command line switch "
               "information.";
    case ParseBadT:
        return "Invalid parameter information proceeding /t";
    case ParseBadQ:
        return "Invalid parameter information proceeding /q";
    default:
        return {};
    }
}

} // namespace brevalo
