#include "CommandLineBuilder.h"

#include "CommandLine.h"
#include "DateTimeText.h"

#include <gtest/gtest.h>

#include <set>

using namespace brevalo;

namespace {

FormatSettings Locale(const char* date, const char* time, const char* dateSep) {
    FormatSettings fs;
    fs.shortDateFormat = date;
    fs.longTimeFormat = time;
    fs.dateSeparator = dateSep;
    return fs;
}

const FormatSettings Us = Locale("M/d/yyyy", "h:mm:ss tt", "/");
const FormatSettings Locales[] = {Us, Locale("d.M.yyyy", "HH:mm:ss", "."),
                                  Locale("yyyy-MM-dd", "HH:mm:ss", "-"),
                                  Locale("M/d/yy", "h:mm:ss tt", "/")};

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return *EncodeDateTime({y, mo, d, h, mi, s, 0});
}

AdvancedOptions Options(std::initializer_list<int> keys) {
    AdvancedOptions options;
    for (const int key : keys) {
        options.SetChk(key, true);
    }
    return options;
}

std::string Advanced(const AdvancedChoices& c, AdvancedVariant v = AdvancedVariant::Launch) {
    return BuildAdvancedSwitches(c, v, Us);
}

std::string Wizard(const WizardChoices& c, const AdvancedOptions& o = {},
                   WizardVariant v = WizardVariant::Launch) {
    return BuildWizardSwitches(c, o, v);
}

bool Contains(const std::string& s, const std::string& part) {
    return s.find(part) != std::string::npos;
}

} // namespace

TEST(BuilderTexts, TargetDateTextFollowsTheFormatsAndAlwaysReadsBack) {
    const DateTime day = At(2012, 5, 13, 9, 59, 59); // the date's own time is ignored
    const DateTime time = At(1999, 1, 1, 16, 30);    // and so is the time's date
    EXPECT_EQ(TargetDateText(day, time, Us), "\"5/13/20124:30:00 PM\"");
    EXPECT_EQ(TargetDateText(day, time, Locales[1]), "\"13.5.201216:30:00\"");
    // A day or a short year last would run on into the hour: a blank separates them.
    EXPECT_EQ(TargetDateText(day, time, Locales[2]), "\"2012-05-13 16:30:00\"");
    EXPECT_EQ(TargetDateText(day, time, Locales[3]), "\"5/13/12 4:30:00 PM\"");
}

TEST(BuilderTexts, ColourHexTextIgnoresTheHighByte) {
    EXPECT_EQ(ColourHexText(Rgb(0x00, 0x80, 0xFF)), "0080FF");
    EXPECT_EQ(ColourHexText(Rgb(0xAB, 0xCD, 0xEF)), "ABCDEF");
    EXPECT_EQ(ColourHexText(ClDefault), "000000");
    EXPECT_EQ(ColourHexText(TColor(0xFF00000F)), "0F0000");
}

TEST(BuilderTexts, DisplayAndCopyForms) {
    const std::string path = "C:\\Program Files\\Brevalo\\Brevalo.exe";
    EXPECT_EQ(CommandLineDisplayText(path, "/q5"), "Brevalo.exe /q5");
    EXPECT_EQ(CommandLineCopyText(path, "/q5"), path + " /q5");
    EXPECT_EQ(WizardActionText("C:\\a b.exe", ""), "\"C:\\a b.exe\"");
    EXPECT_EQ(WizardActionText("C:\\a.exe", "say \"hi\""), "\"C:\\a.exe\"|\"say ^hi^\"");
}

TEST(Builders, WorkedExamples) {
    AdvancedChoices tea;
    tea.IntervalValue = 30;
    tea.TimerName = "Tea";
    EXPECT_EQ(Advanced(tea), "/t30 /c\"Tea\" /f0080FF /b000000");

    AdvancedChoices c;
    c.IntervalValue = 30;
    c.IntervalInSeconds = true;
    c.TickSound = SoundChoice::Electronic;
    c.DoneSound = SoundChoice::None;
    c.Prompting = ClosePrompting::Never;
    c.Options = Options({2, 7});
    c.ActionFile = "C:\\a.exe";
    c.ActionParams = "-x";
    c.ActionVerb = "print";
    EXPECT_EQ(Advanced(c), "/q30 /f0080FF /b000000 /e2 /s0 /x1 /r /u /a\"C:\\a.exe\"|-x /$print");

    WizardChoices w;
    w.IntervalSeconds = 3600 + 25 * 60;
    EXPECT_EQ(Wizard(w), "/q5100 /c\"Timer\" /f0080FF /b000000 /s1 /e0 /w0");
}

TEST(Builders, AdvancedEndPointNameAndVerb) {
    AdvancedChoices c;
    c.TargetDate = At(2030, 1, 2);
    c.TargetTime = At(1899, 12, 30, 7, 5, 9);
    c.IntervalInSeconds = true; // ignored with interval 0
    EXPECT_TRUE(Advanced(c).starts_with("/t\"1/2/20307:05:09 AM\" /f"));
    c.TimerName = "timer";
    EXPECT_TRUE(Contains(Advanced(c), " /c\"timer\""));
    c.TimerName = "";
    EXPECT_TRUE(Contains(Advanced(c), " /c\"\" "));
    c.TimerName = "Say \"hi"; // an unpaired quote must not swallow the switches after it
    EXPECT_TRUE(Contains(Advanced(c), " /c\"Say hi\" /f"));

    c.ActionVerb = "OPEN";
    EXPECT_FALSE(Contains(Advanced(c), "/$"));
    c.ActionVerb = "print"; // written without an action file, but never copied
    EXPECT_TRUE(Advanced(c).ends_with(" /$print"));
    EXPECT_FALSE(Contains(Advanced(c, AdvancedVariant::Clipboard), "/$"));
    c.ActionVerb = "";
    EXPECT_TRUE(Advanced(c).ends_with(" /$"));
}

TEST(Builders, AdvancedParametersCannotSplitTheCommandLine) {
    AdvancedChoices c;
    c.IntervalValue = 1;
    c.ActionFile = "C:\\Windows\\system32\\shutdown.exe";
    c.ActionParams = "/r /t 1";
    EXPECT_TRUE(Advanced(c).ends_with("|\"/r /t 1\""));
    c.ActionParams = "say \"hi\"";
    EXPECT_TRUE(Advanced(c, AdvancedVariant::Clipboard).ends_with("|\"say ^hi^\""));
    c.ActionParams = "\"x\"";
    EXPECT_TRUE(Advanced(c).ends_with("|^x^"));
}

// One test per point where the two builders differ.
TEST(Builders, Differences) {
    AdvancedChoices a;
    a.IntervalValue = 5;
    WizardChoices w;
    w.IntervalSeconds = 300;
    EXPECT_TRUE(Advanced(a).starts_with("/t5 "));
    EXPECT_TRUE(Wizard(w).starts_with("/q300 "));

    EXPECT_FALSE(Contains(Advanced(a), "/c")); // the name "Timer"
    EXPECT_TRUE(Contains(Wizard(w), " /c\"Timer\""));

    EXPECT_TRUE(Advanced(a).ends_with("/b000000")); // default sounds: nothing
    a.TickSound = SoundChoice::Standard;
    a.DoneSound = SoundChoice::Electronic;
    EXPECT_TRUE(Advanced(a).ends_with(" /e1 /s2"));
    w.TickSound = 1;
    w.DoneSound = 2;
    EXPECT_TRUE(Contains(Wizard(w), " /s2 /e1 "));

    a.Prompting = ClosePrompting::StopCloseWhileActive;
    EXPECT_TRUE(Advanced(a).ends_with(" /x2"));

    // Border and full screen, with every option set.
    const AdvancedOptions all = Options({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    a = {};
    a.IntervalValue = 5;
    a.Options = all;
    EXPECT_TRUE(Advanced(a).ends_with("/b000000 /h /n /d /r /z1 /m /u /i /v /y"));
    a.HideBorder = true;
    a.FullScreen = true;
    EXPECT_TRUE(Advanced(a).ends_with(" /w1 /h /n /d /r /z1 /m /g /u /i /v /y"));
    w = {};
    w.IntervalSeconds = 300;
    w.BorderValue = WizardChoices::Border::DontShow;
    EXPECT_TRUE(Wizard(w, all).ends_with("/e0 /w1 /n /r /h /m /d /z1 /u /i /v /y"));
    w.FullScreen = true;
    for (const auto v : {WizardVariant::Launch, WizardVariant::Summary, WizardVariant::Clipboard}) {
        EXPECT_TRUE(Wizard(w, {}, v).ends_with(" /e0 /g"));
    }
    EXPECT_TRUE(Wizard(w, {}, WizardVariant::Shortcut).ends_with(" /e0 /w1"));

    // "Chk3" without "Chk2" still gives /h in both.
    a = {};
    a.Options = Options({3});
    EXPECT_TRUE(Contains(Advanced(a), " /h"));
    EXPECT_TRUE(Wizard({}, Options({3})).ends_with(" /h"));

    // The wizard's action comes quoted; it has no prompting or verb switch.
    w = {};
    w.ActionText = WizardActionText("C:\\a.exe", "-x");
    EXPECT_EQ(Wizard(w), "/t /c\"Timer\" /f0080FF /b000000 /s1 /e0 /w0 /a\"C:\\a.exe\"|\"-x\"");
}

namespace {

struct FakeParserEnvironment : ParserEnvironment {
    FormatSettings fs;
    DateTime now = At(2026, 3, 14, 12, 0, 0);
    std::set<std::string> files;
    DateTime Now() override { return now; }
    const FormatSettings& Formats() override { return fs; }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    std::string FullPath(const std::string& path) override { return path; }
    bool IsAdministrator() override { return true; }
    bool MachineAutorunHolds(const std::string&) override { return false; }
};

// Parses a built switch string the way a started timer does.
TimerSettings Parse(const std::string& switches, FakeParserEnvironment& env) {
    const std::string program = "C:\\Program Files\\Brevalo\\Brevalo.exe";
    WindowSettings preferences;
    preferences.ForeColor = preferences.BackColor = Rgb(1, 2, 3);
    ParsedTimer parsed =
        ParseCommandLine(CommandLine("\"" + program + "\" " + switches), program, preferences, env);
    EXPECT_EQ(parsed.result, ParseOk) << switches;
    return std::move(parsed.settings);
}

void ExpectOptions(const TimerSettings& t, const AdvancedOptions& o, const std::string& s) {
    EXPECT_EQ(t.PopupMenuEnabled, !o.Chk(1)) << s;
    EXPECT_EQ(t.ResumeAfterRestart, o.Chk(2)) << s;
    EXPECT_EQ(t.AutorunRoot == RegistryRoot::LocalMachine, o.Chk(3)) << s;
    EXPECT_EQ(t.SilentErrors, o.Chk(4)) << s;
    EXPECT_EQ(t.AllowScreenSaver, o.Chk(5)) << s;
    EXPECT_EQ(t.KeepOnTop, o.Chk(6)) << s;
    EXPECT_EQ(t.CheckForUpdates, !o.Chk(7)) << s;
    EXPECT_EQ(t.NoBringToFront, o.Chk(8)) << s;
    EXPECT_EQ(t.KeepOpenWhenDone, o.Chk(9)) << s;
    EXPECT_EQ(t.PauseDisabled, o.Chk(10)) << s;
}

const char* const TickNames[] = {"", "TICK1", "BEEP1"};
const char* const DoneNames[] = {"", "DONE1", "DONE2"};

} // namespace

TEST(Builders, AdvancedStringsParseBackToTheirChoices) {
    FakeParserEnvironment env;
    env.files = {"C:\\Tools\\run me.exe"};
    const DateTime target = At(2027, 11, 3, 23, 4, 5);
    for (int i = 0; i < 24; ++i) {
        AdvancedChoices c;
        c.IntervalValue = i % 3 == 0 ? 0 : 17 * i;
        c.IntervalInSeconds = i % 2 == 1;
        c.TargetDate = target;
        c.TargetTime = target;
        c.TimerName = i % 4 == 0 ? "Timer" : "Tea break " + std::to_string(i);
        c.ForeColor = Rgb(i * 10, 0x80, 0xFF) | (i % 5 == 0 ? ClDefault : 0);
        c.BackColor = Rgb(0, i, 0x7F);
        c.TickSound = static_cast<SoundChoice>(i % 3);
        c.DoneSound = static_cast<SoundChoice>((i / 3) % 3);
        c.Prompting = static_cast<ClosePrompting>((i + 1) % 3);
        c.HideBorder = i % 5 < 2;
        c.FullScreen = i % 7 < 3;
        for (int key = 1; key <= 10; ++key) {
            c.Options.SetChk(key, (i * 7 + key * 3) % 4 == 0);
        }
        if (i % 2 == 0) {
            c.ActionFile = "C:\\Tools\\run me.exe";
            c.ActionParams = i % 4 == 0 ? "-x /t 5 \"a b\"" : "";
        }
        c.ActionVerb = i % 3 == 1 ? "print" : (i % 3 == 2 ? "OPEN" : "");
        env.fs = Locales[i % 4];
        for (const auto variant : {AdvancedVariant::Launch, AdvancedVariant::Clipboard}) {
            const std::string s = BuildAdvancedSwitches(c, variant, env.fs);
            const TimerSettings t = Parse(s, env);
            const DateTime end = c.IntervalValue < 1   ? target
                                 : c.IntervalInSeconds ? AddSeconds(env.now, c.IntervalValue)
                                                       : AddMinutes(env.now, c.IntervalValue);
            EXPECT_NEAR(t.EndTime, end, 1e-9) << s;
            EXPECT_EQ(t.TimerName, c.TimerName) << s;
            EXPECT_EQ(t.ForeColor, c.ForeColor & 0xFFFFFF) << s;
            EXPECT_EQ(t.BackColor, c.BackColor) << s;
            EXPECT_EQ(t.TickSound, TickNames[static_cast<int>(c.TickSound)]) << s;
            EXPECT_EQ(t.DoneSound, DoneNames[static_cast<int>(c.DoneSound)]) << s;
            EXPECT_EQ(int(t.CloseMode), static_cast<int>(c.Prompting)) << s;
            EXPECT_EQ(t.HideTitleBar, c.HideBorder) << s;
            EXPECT_EQ(t.StartMaximized, c.FullScreen) << s;
            ExpectOptions(t, c.Options, s);
            EXPECT_EQ(t.ActionFile, c.ActionFile) << s;
            EXPECT_EQ(t.ActionParams, c.ActionParams) << s;
            const bool verbKept = variant == AdvancedVariant::Launch && c.ActionVerb != "OPEN";
            EXPECT_EQ(t.ActionVerb, verbKept ? c.ActionVerb : "open") << s;
        }
    }
}

TEST(Builders, WizardStringsParseBackToTheirChoices) {
    FakeParserEnvironment env;
    env.files = {"C:\\Program Files\\x.exe"};
    const DateTime target = At(2026, 12, 31, 0, 0, 1);
    for (int i = 0; i < 24; ++i) {
        WizardChoices w;
        env.fs = Locales[i % 4];
        w.IntervalSeconds = i % 3 == 0 ? 0 : 86405 * i;
        w.TargetText = i % 3 == 0 ? TargetDateText(target, target, env.fs) : "";
        w.TimerName = i % 2 == 0 ? "Timer" : "Lunch. " + std::to_string(i);
        w.ForeColor = Rgb(0xFF, i, 0);
        w.BackColor = Rgb(i, i, i);
        w.TickSound = i % 3;
        w.DoneSound = (i / 3) % 3;
        w.FullScreen = i % 4 < 2;
        w.BorderValue = i % 5 < 3 ? WizardChoices::Border::Show : WizardChoices::Border::DontShow;
        if (i % 2 == 1) {
            w.ActionText =
                WizardActionText("C:\\Program Files\\x.exe", i % 4 == 1 ? "" : "\"u v\"");
        }
        AdvancedOptions o;
        for (int key = 1; key <= 10; ++key) {
            o.SetChk(key, (i + key) % 3 == 0);
        }
        for (const auto v : {WizardVariant::Launch, WizardVariant::Summary,
                             WizardVariant::Clipboard, WizardVariant::Shortcut}) {
            const std::string s = BuildWizardSwitches(w, o, v);
            const TimerSettings t = Parse(s, env);
            const bool maximized = w.FullScreen && v != WizardVariant::Shortcut;
            EXPECT_NEAR(t.EndTime, i % 3 == 0 ? target : AddSeconds(env.now, w.IntervalSeconds),
                        1e-9)
                << s;
            EXPECT_EQ(t.TimerName, w.TimerName) << s;
            EXPECT_EQ(t.ForeColor, w.ForeColor) << s;
            EXPECT_EQ(t.BackColor, w.BackColor) << s;
            EXPECT_EQ(t.TickSound, TickNames[w.TickSound]) << s;
            EXPECT_EQ(t.DoneSound, DoneNames[w.DoneSound]) << s;
            EXPECT_EQ(t.StartMaximized, maximized) << s;
            EXPECT_EQ(t.HideTitleBar, !maximized && w.BorderValue == WizardChoices::Border::DontShow) << s;
            ExpectOptions(t, o, s);
            EXPECT_EQ(t.ActionFile, w.ActionText.empty() ? "" : "C:\\Program Files\\x.exe") << s;
            EXPECT_EQ(t.ActionParams, i % 4 == 3 ? "\"u v\"" : "") << s;
            EXPECT_EQ(t.ActionVerb, "open") << s;
        }
    }
}
