#include "CommandLine.h"
#include "DateTimeText.h"
#include "TestLocales.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

using namespace brevalo;
using namespace brevalo::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return *EncodeDateTime({y, mo, d, h, mi, s, 0});
}

// Records every effect, in order, as one line of text.
class FakeEnvironment : public ParserEnvironment {
public:
    DateTime now = At(2026, 12, 7, 19, 5, 0);
    FormatSettings formats;
    std::set<std::string> files{"C:\\Tools\\run.exe"};
    bool administrator = false;
    // The lines the machine-wide Run values hold.
    std::set<std::string> machineAutorun;

    DateTime Now() override { return now; }
    const FormatSettings& Formats() override { return formats; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    // Relative names count from C:\Work.
    std::string FullPath(const std::string& path) override {
        return path.size() > 1 && path[1] == ':' ? path : "C:\\Work\\" + path;
    }
    bool IsAdministrator() override { return administrator; }
    bool MachineAutorunHolds(const std::string& line) override {
        return machineAutorun.count(line) != 0;
    }
};

// The effects in the order the window applies them; an action item left at
// its start ("None", unchecked, disabled) is not listed.
std::vector<std::string> Describe(const ParseEffects& e) {
    std::vector<std::string> out;
    if (e.keepOnTop)
        out.push_back("toggle");
    const auto& item = e.actionItem;
    if (item.caption != "None" || item.checked || item.enabled)
        out.push_back("menu " + item.caption + (item.checked ? " checked" : "") +
                      (item.enabled ? " enabled" : ""));
    if (e.cancelCountdown)
        out.push_back("cancel");
    for (const auto& error : e.errors)
        out.push_back("error " + error);
    for (int i = 0; i < e.autorunWrites; ++i)
        out.push_back(std::string(e.autorunRoot == RegistryRoot::LocalMachine ? "HKLM " : "HKCU ") +
                      e.autorunName + " = " + e.autorunData);
    return out;
}

struct Parsed {
    ParseResult result;
    TimerSettings settings;
    std::vector<std::string> effects;
};

Parsed Parse(const std::string& switches, FakeEnvironment env = {}) {
    WindowSettings preferences;
    preferences.ForeColor = Rgb(1, 2, 3);
    preferences.BackColor = 0;
    ParsedTimer parsed = ParseCommandLine(CommandLine("brevalo.exe " + switches),
                                          "C:\\Brevalo\\brevalo.exe", preferences, env);
    return {parsed.result, std::move(parsed.settings), Describe(parsed.effects)};
}

} // namespace

TEST(ParseCommandLine, ResultCodesFollowTheLastEndPointOrAction) {
    EXPECT_EQ(Parse("").result, ParseNoEndPoint);
    EXPECT_EQ(Parse("-t30 notes.txt").result, ParseNoEndPoint);
    EXPECT_EQ(Parse("/T30").result, ParseOk);
    EXPECT_EQ(Parse("/tfoo").result, ParseBadT);
    EXPECT_EQ(Parse("/t").result, ParseBadT);
    EXPECT_EQ(Parse("/tfoo /q10").result, ParseOk);
    EXPECT_EQ(Parse("/t30 /qfoo").result, ParseBadQ);
    EXPECT_EQ(Parse("/qfoo /tfoo").result, ParseBadQ);
    EXPECT_EQ(Parse("/t30 /t5x").result, ParseOk);
    EXPECT_EQ(Parse("/aC:\\none.exe /tfoo /m").result, ParseActionMissing);
    // A later existing action does not undo a missing one.
    EXPECT_EQ(Parse("/t30 /aC:\\none.exe /aC:\\Tools\\run.exe").result, ParseActionMissing);
    EXPECT_EQ(ParseErrorMessage(ParseNoEndPoint),
              "Missing required parameter of /t or /q. See Help for command line switch "
              "information.");
    EXPECT_EQ(ParseErrorMessage(ParseBadT), "Invalid parameter information proceeding /t");
    EXPECT_EQ(ParseErrorMessage(ParseBadQ), "Invalid parameter information proceeding /q");
    EXPECT_EQ(ParseErrorMessage(ParseOk), "");
}

TEST(ParseCommandLine, EndTimeFromMinutesSecondsOrADateTime) {
    const DateTime now = FakeEnvironment().now;
    const auto endOf = [](const std::string& s) {
        return DecodeDateTime(Parse(s).settings.EndTime);
    };
    EXPECT_EQ(Parse("/t30 /t5").settings.EndTime, AddMinutes(now, 30));
    EXPECT_EQ(Parse("/t$1E").settings.EndTime, AddMinutes(now, 30));
    EXPECT_EQ(Parse("/t-5").settings.EndTime, AddMinutes(now, -5));
    EXPECT_EQ(Parse("/t30 /q10").settings.EndTime, AddSeconds(now, 10));
    EXPECT_TRUE(Parse("/q0").settings.IsRelative);
    EXPECT_EQ(endOf("/t5:30").hour, 5);
    EXPECT_EQ(endOf("/t5:30").year, 1899);
    EXPECT_FALSE(Parse("/t5:30").settings.IsRelative);
    EXPECT_EQ(Parse("\"/t12/31/2026 23:00:00\"").settings.EndTime, At(2026, 12, 31, 23));
    EXPECT_EQ(Parse("/t12/31/202623:00:00").settings.EndTime, At(2026, 12, 31, 23));
    EXPECT_EQ(Parse("/t\"5/13/20124:30:00 PM\"").settings.EndTime, At(2012, 5, 13, 16, 30));
    FakeEnvironment german;
    german.formats = Germany();
    EXPECT_EQ(Parse("/t31.12.202623:00:00", german).settings.EndTime, At(2026, 12, 31, 23));
    // A two-digit year runs into the hour when nothing separates them.
    FakeEnvironment shortYear;
    shortYear.formats = TwoDigitYear();
    EXPECT_EQ(Parse("/t12/31/2611:00:00PM", shortYear).result, ParseBadT);
    EXPECT_EQ(Parse("\"/t12/31/26 11:00:00 PM\"", shortYear).settings.EndTime,
              At(2026, 12, 31, 23));
}

TEST(ParseCommandLine, ValueSwitchesTakeEffectOnlyWithValidValues) {
    const TimerSettings none = Parse("/t1 /w2 /z0 /x7 /e /sx /fZZ0000 /b12").settings;
    EXPECT_FALSE(none.HideTitleBar);
    EXPECT_FALSE(none.KeepOnTop);
    EXPECT_EQ(none.CloseMode, CloseMode::Ask);
    EXPECT_EQ(none.TickSound, "");
    EXPECT_EQ(none.DoneSound, "DONE1");
    EXPECT_EQ(none.ForeColor, Rgb(1, 2, 3));
    EXPECT_EQ(none.BackColor, 0);

    const Parsed all = Parse("/t1 /W1 /z1 /x2 /e1 /s2 /f00FF00 /b0080FF /c /$runas /D /y /i /n "
                             "/verbose /g /u /m");
    const TimerSettings& s = all.settings;
    EXPECT_TRUE(s.HideTitleBar);
    EXPECT_TRUE(s.KeepOnTop);
    EXPECT_EQ(s.CloseMode, CloseMode::Refuse);
    EXPECT_EQ(s.TickSound, "TICK1");
    EXPECT_EQ(s.DoneSound, "DONE2");
    EXPECT_EQ(s.ForeColor, Rgb(0, 255, 0));
    EXPECT_EQ(s.BackColor, Rgb(0, 0x80, 0xFF));
    EXPECT_EQ(s.TimerName, "");
    EXPECT_EQ(s.ActionVerb, "runas");
    EXPECT_TRUE(s.AllowScreenSaver && s.PauseDisabled && s.NoBringToFront && s.KeepOpenWhenDone &&
                s.StartMaximized && s.SilentErrors);
    EXPECT_FALSE(s.PopupMenuEnabled || s.CheckForUpdates);
    EXPECT_THAT(all.effects, ElementsAre("toggle"));

    EXPECT_EQ(Parse("/e2 /s0 /x1 /c\"Tea break\" /cOther").settings.TickSound, "BEEP1");
    EXPECT_EQ(Parse("/e2 /s0").settings.DoneSound, "");
    EXPECT_EQ(Parse("/c\"Tea break\" /cOther").settings.TimerName, "Tea break");
}

TEST(ParseCommandLine, StartsFromTheDefaultsAndTheSavedPreferences) {
    WindowSettings preferences;
    preferences.ForeColor = Rgb(9, 8, 7);
    preferences.BackColor = Rgb(1, 1, 1);
    preferences.CheckForUpdates = false;
    FakeEnvironment env;
    const TimerSettings s =
        ParseCommandLine(CommandLine("C:\\p.exe /q5:00"), "C:\\p.exe", preferences, env).settings;
    EXPECT_FALSE(s.AllowScreenSaver || s.StartMaximized || s.ResumeAfterRestart || s.IsRelative);
    EXPECT_TRUE(s.PopupMenuEnabled && s.ResumeOnceAfterLogoff);
    EXPECT_EQ(s.AutorunRoot, RegistryRoot::CurrentUser);
    EXPECT_EQ(s.DoneSound, "DONE1");
    EXPECT_EQ(s.ActionVerb, "open");
    EXPECT_EQ(s.ActionFile + s.ActionParams, "");
    EXPECT_EQ(s.RestartCommandLine, "C:\\p.exe /q5:00");
    EXPECT_EQ(s.TimerName, "Timer");
    EXPECT_EQ(s.ForeColor, Rgb(9, 8, 7));
    EXPECT_EQ(s.BackColor, Rgb(1, 1, 1));
    EXPECT_FALSE(s.CheckForUpdates);
    EXPECT_TRUE(ParseCommandLine(CommandLine("C:\\p.exe /q1 /u"), "C:\\p.exe", {}, env)
                    .settings.CheckForUpdates == false);
}

TEST(ParseCommandLine, AdministratorRootAndAutorunWrites) {
    const Parsed refused = Parse("/r /q60 /h /r");
    // The program as typed gives way to its full path, quoted.
    const std::string line = "\"C:\\Brevalo\\brevalo.exe\" /r /q12/7/20267:06:00PM /h /r";
    EXPECT_EQ(refused.settings.RestartCommandLine, line);
    EXPECT_THAT(refused.effects,
                ElementsAre("error /h switch is ignored. You are not an Administrator.",
                            "HKCU 12/7/2026 7:06:00 PM = " + line,
                            "HKCU 12/7/2026 7:06:00 PM = " + line));
    EXPECT_TRUE(refused.settings.ResumeAfterRestart);
    EXPECT_FALSE(refused.settings.ResumeOnceAfterLogoff);

    FakeEnvironment admin;
    admin.administrator = true;
    const Parsed machine = Parse("/r /q60 /h", admin);
    EXPECT_EQ(machine.settings.AutorunRoot, RegistryRoot::LocalMachine);
    EXPECT_THAT(machine.effects,
                ElementsAre("HKLM 12/7/2026 7:06:00 PM = "
                            "\"C:\\Brevalo\\brevalo.exe\" /r /q12/7/20267:06:00PM /h"));
    EXPECT_THAT(Parse("/h /m /h").effects, IsEmpty());

    // Resumed at log-on from its own machine-wide value, which Windows starts
    // without administrator rights: no refusal, and no per-user copy.
    FakeEnvironment resumed;
    resumed.machineAutorun.insert(line);
    EXPECT_THAT(Parse("/r /q12/7/20267:06:00PM /h /r", resumed).effects,
                ElementsAre("HKLM 12/7/2026 7:06:00 PM = " + line,
                            "HKLM 12/7/2026 7:06:00 PM = " + line));
    // Another machine-wide value is no reason: the refusal stands.
    EXPECT_EQ(Parse("/r /q12/7/20267:07:00PM /h", resumed).effects.front(),
              "error /h switch is ignored. You are not an Administrator.");
}

TEST(ParseCommandLine, OnlyATimerThatWillCountWritesItsRunValue) {
    // No valid end point: the value would raise the error, or run the action
    // at once, at every log-on.
    for (const char* switches : {"/tgarbage /r", "/r", "/r /c", "/q /r /t"}) {
        const Parsed p = Parse(switches);
        EXPECT_NE(p.result, ParseOk) << switches;
        EXPECT_THAT(p.effects, IsEmpty()) << switches;
        EXPECT_TRUE(p.settings.ResumeAfterRestart) << switches;
    }
    const Parsed missing = Parse("/r /q60 /aC:\\none.exe /m");
    EXPECT_EQ(missing.result, ParseActionMissing);
    EXPECT_THAT(missing.effects, ElementsAre("cancel"));

    // The write comes once every switch is known, after the action's effects.
    const Parsed counts = Parse("/tgarbage /q60 /r /aC:\\Tools\\run.exe");
    EXPECT_EQ(counts.result, ParseOk);
    EXPECT_THAT(counts.effects,
                ElementsAre("menu C:\\Tools\\run.exe checked enabled",
                            "HKCU 12/7/2026 7:06:00 PM = \"C:\\Brevalo\\brevalo.exe\" "
                            "/tgarbage /q12/7/20267:06:00PM /r /aC:\\Tools\\run.exe"));
}

TEST(ParseCommandLine, ActionTextFileParametersAndMissingFiles) {
    const Parsed found = Parse("/t1 \"/aC:\\Tools\\run.exe|-x ^a b^ \"");
    EXPECT_EQ(found.result, ParseOk);
    EXPECT_EQ(found.settings.ActionFile, "C:\\Tools\\run.exe");
    EXPECT_EQ(found.settings.ActionParams, "-x \"a b\"");
    EXPECT_THAT(found.effects, ElementsAre("menu C:\\Tools\\run.exe checked enabled"));

    const Parsed trimmed = Parse("\"/a C:\\Tools\\run.exe  | a|b \"");
    EXPECT_EQ(trimmed.settings.ActionFile, "C:\\Tools\\run.exe");
    EXPECT_EQ(trimmed.settings.ActionParams, "a|b");
    EXPECT_EQ(Parse("\"/a C:\\Tools\\run.exe\"").settings.ActionFile, " C:\\Tools\\run.exe");

    const Parsed missing = Parse("/t1 /aC:\\none.exe|^x^ /aC:\\Tools\\run.exe");
    EXPECT_EQ(missing.result, ParseActionMissing);
    // The last action named is the menu's item; the missing one still
    // keeps the countdown from starting.
    EXPECT_THAT(missing.effects, ElementsAre("menu C:\\Tools\\run.exe checked enabled", "cancel",
                                             "error Action file C:\\none.exe cannot be found."));
    EXPECT_EQ(missing.settings.ActionFile, "C:\\Tools\\run.exe");
    EXPECT_EQ(missing.settings.ActionParams, "");
    EXPECT_THAT(Parse("/m /aC:\\none.exe").effects, ElementsAre("cancel"));
}

TEST(ParseCommandLine, RestartLineCarriesTheEndTimeInPlaceOfTheAmount) {
    const std::string program = "\"C:\\Brevalo\\brevalo.exe\"";
    EXPECT_EQ(Parse("/t30 /cBreak30").settings.RestartCommandLine,
              program + " /t12/7/20267:35:00PM /cBreak30");
    EXPECT_EQ(Parse("\"/T30\" /c\"Tea break\"").settings.RestartCommandLine,
              program + " \"/T12/7/20267:35:00PM\" /c\"Tea break\"");
    // /q rewrites the raw line, not the one /t rewrote.
    EXPECT_EQ(Parse("/t30 /q10").settings.RestartCommandLine,
              program + " /t30 /q12/7/20267:05:10PM");
    // A date-time value leaves the switches as they are.
    EXPECT_EQ(Parse("/t5:30 /r").settings.RestartCommandLine, program + " /t5:30 /r");
    // A relative action file is saved in full, its parameters as written;
    // the menu shows it as given.
    FakeEnvironment work;
    work.files = {"run.exe", "my tools\\run.exe"};
    const Parsed relative = Parse("/t5:30 /arun.exe|-x^a^ \"/amy tools\\run.exe\" /r", work);
    EXPECT_EQ(relative.settings.RestartCommandLine,
              program + " /t5:30 /aC:\\Work\\run.exe|-x^a^ \"/aC:\\Work\\my tools\\run.exe\" /r");
    EXPECT_EQ(relative.settings.ActionFile, "my tools\\run.exe");
    // Both rewrites, and the program's path, in one line.
    EXPECT_EQ(Parse("/arun.exe /t30", work).settings.RestartCommandLine,
              program + " /aC:\\Work\\run.exe /t12/7/20267:35:00PM");
}

TEST(ParseCommandLine, RestartedTimerCountsToTheSameMomentInEveryLocale) {
    for (const FormatSettings& fs :
         {UnitedStates(), Germany(), Sweden(), Korea(), TwoDigitYear()}) {
        for (const char* switches : {"/t90 /cBreak90", "/q45 /c\"A b\"", "\"/t 1\" /cX"}) {
            FakeEnvironment env;
            env.formats = fs;
            env.now = At(2026, 12, 31, 23, 40, 27);
            const Parsed first = Parse(switches, env);
            const std::string restart = first.settings.RestartCommandLine;

            env.now = At(2027, 1, 3, 8, 0, 0);
            const ParsedTimer parsedAgain =
                ParseCommandLine(CommandLine(restart), "C:\\Brevalo\\brevalo.exe", {}, env);
            const ParseResult result = parsedAgain.result;
            const TimerSettings& again = parsedAgain.settings;
            ASSERT_EQ(result, ParseOk) << fs.shortDateFormat << ": " << restart;
            EXPECT_FALSE(again.IsRelative) << restart;
            EXPECT_NEAR(again.EndTime, first.settings.EndTime, 0.5 / 86400) << restart;
            EXPECT_EQ(again.TimerName, first.settings.TimerName) << restart;
        }
    }
}
