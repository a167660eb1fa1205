// Starting the program: the role chosen by the arguments, the reporting of
// command-line errors, and the first registry effects.
#include "CommandLine.h"
#include "DateTimeText.h"
#include "Driver.h"
#include "Inspect.h"
#include "Locale.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brevalo::e2e {
namespace {

// The error box of a bad command line, then the timer window behind it.
void ExpectErrorBoxThenWindow(const std::wstring& arguments, const std::wstring& caption,
                              const std::wstring& text) {
    Process timer = Process::Start(arguments);
    auto box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box) << "no message box for " << base::Narrow(arguments);
    EXPECT_EQ(box->caption, caption);
    EXPECT_EQ(MessageBoxText(box->hwnd), text);
    EXPECT_TRUE(MessageBoxHasIcon(box->hwnd, IDI_HAND));
    EXPECT_EQ(ButtonCaptions(box->hwnd), std::vector<std::wstring>{L"OK"});
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));
    // The window still opens, showing the caption "Timer".
    auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->caption, L"Timer");
}

TEST(Entry, AnyArgumentStartsATimerThatReportsTheMissingEndPoint) {
    ExpectErrorBoxThenWindow(
        L"foo.txt", L"Brevalo",
        L"Missing required parameter of /t or /q. See Help for command line switch information.");
}

TEST(Entry, BadTValueIsReportedWithAFullStopAppended) {
    ExpectErrorBoxThenWindow(L"/tfoo", L"Brevalo", L"Invalid parameter information proceeding /t.");
}

TEST(Entry, BadQValueIsReported) {
    ExpectErrorBoxThenWindow(L"/t5 /qfoo", L"Brevalo",
                             L"Invalid parameter information proceeding /q.");
}

TEST(Entry, MissingActionFileIsShownByTheParserInAnErrorBox) {
    ExpectErrorBoxThenWindow(L"/afoo.exe /q60", L"Error", L"Action file foo.exe cannot be found.");
}

TEST(Entry, SilentSwitchShowsNoMessageAndOpensTheWindow) {
    Process timer = Process::Start(L"/m /tfoo");
    auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->caption, L"Timer");
    // Give a late message box the chance to appear: there must be none.
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 1500ms));
}

TEST(Entry, ValidTimerOpensWithoutAnyMessage) {
    Process timer = Process::Start(L"/q300 /cTea");
    auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    ASSERT_TRUE(window);
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 1000ms));
    EXPECT_TRUE(timer.Running());
}

TEST(Entry, ResumeSwitchWritesTheRunValueWithTheAbsoluteEndTime) {
    const DateTime before = LocalNow();
    Process timer = Process::Start(L"/r /q300 /cTea");
    ASSERT_TRUE(WaitForWindow(timer.Id(), IsTimerWindow));

    const auto values = StringValues(HKEY_CURRENT_USER, RunKeyPath);
    ASSERT_EQ(values.size(), 1u) << [&] {
        std::string all;
        for (const auto& [n, d] : values)
            all += base::Narrow(n) + " = " + base::Narrow(d) + "\n";
        return all;
    }();
    const std::string name = base::Narrow(values[0].first);
    const std::string data = base::Narrow(values[0].second);

    // The name is the end time in the user's date-time text, 300 s from now.
    const FormatSettings formats = os::UserFormatSettings();
    const auto end = TextToDateTime(name, formats, before);
    ASSERT_TRUE(end) << name;
    EXPECT_NEAR((*end - before) * 86400.0, 300.0, 5.0) << name;

    // The data is the command line with 300 replaced by that text without
    // blanks, so a restarted timer counts to the same moment.
    std::string expected = base::Narrow(timer.CommandLine());
    expected.replace(expected.find("/q300") + 2, 3, RemoveBlanks(name));
    EXPECT_EQ(data, expected);
}

TEST(Entry, NoArgumentsCreatesTheKeyAndOpensTheWizard) {
    DeleteTree(HKEY_CURRENT_USER, BrevaloKeyPath);
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, BrevaloKeyPath));
    Process frontEnd = Process::Start(L"");
    auto window = WaitForWindow(frontEnd.Id(),
                                [](const WindowInfo& w) { return w.caption == L"Brevalo Wizard"; });
    ASSERT_TRUE(window);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, BrevaloKeyPath));
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, BrevaloKeyPath).empty());
    PostMessageW(window->hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(frontEnd.WaitForExit(10s));
}

TEST(Entry, WizardModeZeroOpensTheAdvancedFrontEnd) {
    WriteDword(HKEY_CURRENT_USER, BrevaloKeyPath, L"WizardMode", 0);
    Process frontEnd = Process::Start(L"");
    auto window = WaitForWindow(frontEnd.Id(),
                                [](const WindowInfo& w) { return w.caption == L"Create a timer"; });
    ASSERT_TRUE(window);
    PostMessageW(window->hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(frontEnd.WaitForExit(10s));
}

} // namespace
} // namespace brevalo::e2e
