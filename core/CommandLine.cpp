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
    Parser(const CommandLine& line, const std::string& programPath,
           const WindowSettings& preferences, ParserEnvironment& env)
        : line_(line), args_(line.Texts()), programPath_(programPath), env_(env),
          fs_(env.Formats()), now_(env.Now()) {
        if (!args_.empty()) {
            args_.front() = programPath;
        }
        s_.ForeColor = preferences.ForeColor;
        s_.BackColor = preferences.BackColor;
        s_.CheckForUpdates = preferences.CheckForUpdates;
    }

    ParsedTimer Run() {
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
        // Made once every edit is known.
        s_.RestartCommandLine = RestartLine();
        // Only a timer that is going to count may come back at the next
        // log-on: a line without a valid end point, or with a missing action
        // file, would raise its error or run its action at every log-on.
        if (result_ == ParseOk && autorunWrites > 0) {
            effects_.autorunWrites = autorunWrites;
            effects_.autorunRoot = s_.AutorunRoot;
            effects_.autorunName = DateTimeToText(s_.EndTime, fs_);
            effects_.autorunData = s_.RestartCommandLine;
        }
        return {result_, std::move(s_), std::move(effects_)};
    }

private:
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
            endPointEdit_ = EndTimeEdit(*i);
        } else if (const auto t = TextToDateTime(value, fs_, now_)) {
            s_.EndTime = *t;
        } else {
            result_ = bad;
        }
    }

    // The command line to start this timer again from a stored copy: the
    // program by its full path, an amount replaced by the end time, so that
    // a restarted timer counts to the same moment, and action files in full.
    std::string RestartLine() const {
        std::vector<CommandLine::Edit> edits = actionEdits_;
        if (endPointEdit_) {
            edits.push_back(*endPointEdit_);
        }
        return line_.Rewritten(programPath_, edits);
    }

    // The amount of argument `index` replaced by the end time.
    CommandLine::Edit EndTimeEdit(std::size_t index) const {
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
        return {index, 2, useBlanks ? text : compact};
    }

    // The action file of argument `index` in full: a stored line comes back
    // at log-on, where the current folder is another one.
    void SaveActionFileInFull(std::size_t index) {
        const std::string full = env_.FullPath(s_.ActionFile);
        if (full.empty() || full == s_.ActionFile) {
            return;
        }
        // The parameters after "|" stay as they were written.
        const std::string value = args_[index].substr(2);
        const std::size_t bar = value.find('|');
        actionEdits_.push_back(
            {index, 2, full + (bar == std::string::npos ? std::string() : value.substr(bar))});
    }

    void UseMachineAutorun() {
        if (env_.IsAdministrator()) {
            s_.AutorunRoot = RegistryRoot::LocalMachine;
        } else if (Find('r') && env_.MachineAutorunHolds(RestartLine())) {
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

    const CommandLine& line_;
    // The arguments; item 0 is the program's full path.
    std::vector<std::string> args_;
    const std::string& programPath_;
    TimerSettings s_;
    std::optional<CommandLine::Edit> endPointEdit_;
    std::vector<CommandLine::Edit> actionEdits_;
    ParserEnvironment& env_;
    const FormatSettings& fs_;
    DateTime now_;
    ParseResult result_ = ParseNoEndPoint;
    ParseEffects effects_;
};

} // namespace

ParsedTimer ParseCommandLine(const CommandLine& line, const std::string& programPath,
                             const WindowSettings& preferences, ParserEnvironment& env) {
    return Parser(line, programPath, preferences, env).Run();
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
