// A running timer among other programs: completion and its broadcast, the
// close handling, autorun values, the action, and the clock-change question.
#include "ComApartment.h"
#include "ComPtr.h"
#include "CountdownEngine.h"
#include "DateTimeText.h"
#include "Driver.h"
#include "Inspect.h"
#include "Listener.h"
#include "Locale.h"
#include "RestrictedUser.h"
#include "Strings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cmath>
#include <map>
#include <sstream>

namespace brevalo::e2e {
namespace {

const std::wstring RunOnceKeyPath = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::wstring CloseQuestion = L"By closing the countdown window the timer will be aborted.\n\r"
                                   L"Do you want to continue to exit the timer?";

HWND StartedWindow(const Process& timer) {
    auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    return window ? window->hwnd : nullptr;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindTimerWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[32]{};
    GetClassNameW(hwnd, name, 32);
    if (pid != search->processId || std::wstring(name) != L"TForm1")
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The timer window of a process, shown or not (a timer whose line did not
// parse keeps its window hidden behind the error).
HWND AnyTimerWindow(const Process& timer) {
    WindowSearch search{timer.Id(), nullptr};
    for (int i = 0; i < 100 && !search.found; ++i) {
        EnumWindows(FindTimerWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(100);
    }
    return search.found;
}

// A log-off as the system runs it: the query, which the timer never holds up,
// then the end, which says whether the session really ends.
void LogOff(HWND window, bool sessionEnds) {
    EXPECT_TRUE(SendMessageW(window, WM_QUERYENDSESSION, 0, 0));
    SendMessageW(window, WM_ENDSESSION, sessionEnds, 0);
}

TEST(Completion, BroadcastsTheNameAndEndsTheProcess) {
    BroadcastListener listener;
    Process timer = Process::Start(L"/q2 /cTea");
    ASSERT_TRUE(StartedWindow(timer));
    std::wstring name;
    ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s, &name));
    EXPECT_EQ(name, L"Tea");
    // After the flash the window closes by itself and the process ends.
    EXPECT_TRUE(timer.WaitForExit(15s));
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 100ms));
}

TEST(Completion, StayOpenKeepsTheWindowWhichThenClosesWithoutAQuestionEvenWhenClosingIsRefused) {
    BroadcastListener listener;
    Process timer = Process::Start(L"/q1 /cTea /v /x2");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s));
    listener.Pump(5s); // longer than the flash
    EXPECT_TRUE(timer.Running());
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(timer.WaitForExit(10s));
    // A finished timer posts no stop message.
    listener.Pump(300ms);
    EXPECT_FALSE(listener.WaitFor(L"WM_TIMER_STOPPED", 10ms));
}

// The window answers another program from its appearance to well past the
// flash, and closing it in the middle of the flash ends the process cleanly.
TEST(Completion, TheWindowAnswersThroughoutTheFlashAndMayBeClosedInIt) {
    BroadcastListener listener;
    Process timer = Process::Start(L"/q2 /v /u /cTea");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    int unanswered = 0;
    for (int probe = 0; probe < 28; ++probe) { // about 7 s: 2 s to the end, 3.6 s of flash
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result))
            ++unanswered;
        listener.Pump(250ms);
    }
    EXPECT_EQ(unanswered, 0);
    EXPECT_TRUE(listener.WaitFor(L"WM_TIME_UP", 10ms)) << "the probes did not span the end";
    timer.Terminate();

    Process closed = Process::Start(L"/q1 /v /u /cTea");
    window = StartedWindow(closed);
    ASSERT_TRUE(window);
    ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s));
    listener.Pump(1500ms);
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(closed.WaitForExit(10s, &code));
    EXPECT_EQ(code, 0u);
}

// A text of the client area's accessible object, as a screen reader reads it.
std::wstring AccessibleText(IAccessible& object,
                            HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if ((object.*get)(self, &text) != S_OK || !text)
        return L"(none)";
    std::wstring copy = text;
    SysFreeString(text);
    return copy;
}

bool WaitForDescription(IAccessible& object, const std::wstring& description) {
    for (int i = 0; i < 50; ++i) {
        if (AccessibleText(object, &IAccessible::get_accDescription) == description)
            return true;
        Sleep(100);
    }
    return false;
}

TEST(Completion, ATimerAnnouncedToTheShellAndReadByAScreenReaderPausesAndCompletes) {
    const os::ComApartment com;
    BroadcastListener listener;
    Process timer = Process::Start(L"/q8 /cTea");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    // What the shell sends once it has made the window's button: from here on
    // the progress goes to Wine's taskbar list, which does little with it.
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);

    // A screen reader in another process.
    base::ComPtr<IAccessible> reader;
    ASSERT_EQ(
        AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reader.PutVoid()),
        S_OK);
    EXPECT_EQ(AccessibleText(*reader.Get(), &IAccessible::get_accName), L"Tea");
    EXPECT_THAT(base::Narrow(AccessibleText(*reader.Get(), &IAccessible::get_accValue)),
                testing::MatchesRegex("\\d seconds?"));
    EXPECT_TRUE(WaitForDescription(*reader.Get(), L"Counting"));
    PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(window, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(WaitForDescription(*reader.Get(), L"Paused"));
    PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(window, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(WaitForDescription(*reader.Get(), L"Counting"));

    std::wstring name;
    ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s, &name));
    EXPECT_EQ(name, L"Tea");
    EXPECT_TRUE(timer.WaitForExit(15s));
}

TEST(Closing, AskModeAsksAndNoKeepsTheTimerWhileYesStopsIt) {
    BroadcastListener listener;
    Process timer = Process::Start(L"/q300 /cTea /x0");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    PostMessageW(window, WM_CLOSE, 0, 0);
    auto box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Confirm");
    EXPECT_EQ(MessageBoxText(box->hwnd), CloseQuestion);
    EXPECT_TRUE(MessageBoxHasIcon(box->hwnd, IDI_QUESTION));
    EXPECT_EQ(ButtonCaptions(box->hwnd), (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(ClickButton(box->hwnd, L"No"));
    EXPECT_FALSE(timer.WaitForExit(1500ms));

    PostMessageW(window, WM_CLOSE, 0, 0);
    box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(ClickButton(box->hwnd, L"Yes"));
    std::wstring name;
    EXPECT_TRUE(listener.WaitFor(L"WM_TIMER_STOPPED", 10s, &name));
    EXPECT_EQ(name, L"Tea");
    EXPECT_TRUE(timer.WaitForExit(10s));
}

// The broadcast carries the timer's name in every state: a minimized timer
// shows the time as its caption, and an atom holds at most 255 characters.
TEST(Closing, CloseModeOneClosesAtOnceAndPostsTheName) {
    std::wstring longName;
    for (int i = 0; i < 300; ++i)
        longName += wchar_t(L'a' + i % 26);
    struct Case {
        std::wstring name;
        bool minimize;
        std::wstring carried;
    };
    for (const Case& c : {Case{L"Tea", false, L"Tea"}, Case{L"Tea", true, L"Tea"},
                          Case{longName, false, longName.substr(0, 255)}}) {
        BroadcastListener listener;
        Process timer = Process::Start(L"/q300 /u /x1 \"/c" + c.name + L"\"");
        HWND window = StartedWindow(timer);
        ASSERT_TRUE(window);
        if (c.minimize) {
            PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            listener.Pump(1500ms);
            ASSERT_TRUE(IsIconic(window));
            ASSERT_NE(WindowText(window), c.name);
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(timer.WaitForExit(10s));
        std::wstring carried;
        EXPECT_TRUE(listener.WaitFor(L"WM_TIMER_STOPPED", 5s, &carried));
        EXPECT_EQ(carried, c.carried) << c.minimize;
    }
}

TEST(Closing, CloseModeTwoRefusesButLogOffStillCloses) {
    Process timer = Process::Start(L"/q300 /cTea /x2 /r");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(timer.WaitForExit(1500ms));
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 100ms));
    // Log-off: the query detaches the close handling; with /r no RunOnce
    // value is written.
    LogOff(window, true);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(timer.WaitForExit(10s));
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunOnceKeyPath).empty());
    // The end of the session is what the Run value is for: it stays.
    EXPECT_EQ(StringValues(HKEY_CURRENT_USER, RunKeyPath).size(), 1u);
}

TEST(Closing, ACancelledLogOffWritesNoRunOnceValueAndTheQuestionComesBack) {
    Process timer = Process::Start(L"/q300 /cTea /u");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    // Another program refused: the session goes on.
    LogOff(window, false);
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunOnceKeyPath).empty());
    PostMessageW(window, WM_CLOSE, 0, 0);
    auto box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box) << "closing no longer asks";
    EXPECT_EQ(MessageBoxText(box->hwnd), CloseQuestion);
    ASSERT_TRUE(ClickButton(box->hwnd, L"No"));
    EXPECT_FALSE(timer.WaitForExit(1500ms));
}

TEST(Autorun, ResumeWritesTheRunValueAtStartAndRemovesItAtCompletion) {
    BroadcastListener listener;
    Process timer = Process::Start(L"/r /q2 /cTea");
    ASSERT_TRUE(StartedWindow(timer));
    EXPECT_EQ(StringValues(HKEY_CURRENT_USER, RunKeyPath).size(), 1u);
    ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s));
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunKeyPath).empty());
    EXPECT_TRUE(timer.WaitForExit(15s));
}

TEST(Autorun, ALineThatCannotCountWritesNoRunValue) {
    Process garbage = Process::Start(L"/tgarbage /r");
    auto box = WaitForMessageBox(garbage.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box->hwnd), L"Invalid parameter information proceeding /t.");
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunKeyPath).empty());
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));

    // No end point at all, silently; and a missing action file.
    Process none = Process::Start(L"/r /m");
    Process missing = Process::Start(L"/r /q60 /m /aC:\\not-here.exe");
    ASSERT_TRUE(StartedWindow(none));
    ASSERT_TRUE(StartedWindow(missing));
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunKeyPath).empty());
}

TEST(Autorun, ATimerEndedBeforeItsTimeRemovesItsRunValue) {
    // Closed by the user, after the question.
    Process asked = Process::Start(L"/r /q300 /cTea /u");
    HWND window = StartedWindow(asked);
    ASSERT_TRUE(window);
    ASSERT_EQ(StringValues(HKEY_CURRENT_USER, RunKeyPath).size(), 1u);
    PostMessageW(window, WM_CLOSE, 0, 0);
    auto box = WaitForMessageBox(asked.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(ClickButton(box->hwnd, L"Yes"));
    ASSERT_TRUE(asked.WaitForExit(10s));
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunKeyPath).empty());

    // Closed by the answer Cancel to the clock-change question.
    Process changed = Process::Start(L"/r /q300 /cTea /u /x2");
    window = StartedWindow(changed);
    ASSERT_TRUE(window);
    ASSERT_EQ(StringValues(HKEY_CURRENT_USER, RunKeyPath).size(), 1u);
    Sleep(500);
    PostMessageW(window, WM_TIMECHANGE, 0, 0);
    box = WaitForMessageBox(changed.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(ClickButton(box->hwnd, L"Cancel"));
    ASSERT_TRUE(changed.WaitForExit(10s));
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunKeyPath).empty());
}

// True when `data` starts the program by its full path in double quotes.
bool StartsWithQuotedProgramPath(const std::wstring& data) {
    const std::wstring quoted = L"\"" + ProgramPath() + L"\"";
    return data.size() > quoted.size() &&
           _wcsnicmp(data.c_str(), quoted.c_str(), quoted.size()) == 0 &&
           data[quoted.size()] == L' ';
}

// A saved line comes back at log-on, in another current folder: the program
// and the action file are named in full.
TEST(Autorun, SavedCommandLinesNameTheProgramAndTheActionFileInFull) {
    wchar_t folder[MAX_PATH]{};
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring action = std::wstring(folder) + L"\\brevalo-action.txt";
    CloseHandle(CreateFileW(action.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    // Started by its bare name, found in the starting program's folder.
    Process timer =
        Process::StartCommandLine(L"Brevalo.exe /r /q300 /cTea /u \"/abrevalo-action.txt|-x\"");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    const auto run = StringValues(HKEY_CURRENT_USER, RunKeyPath);
    ASSERT_EQ(run.size(), 1u);
    EXPECT_TRUE(StartsWithQuotedProgramPath(run[0].second)) << base::Narrow(run[0].second);
    EXPECT_NE(run[0].second.find(L" /r /q"), std::wstring::npos) << base::Narrow(run[0].second);
    EXPECT_NE(run[0].second.find(L"\"/a" + action + L"|-x\""), std::wstring::npos)
        << base::Narrow(run[0].second);

    Process other = Process::StartCommandLine(L"Brevalo.exe /q300 /cTea /u \"/abrevalo-action.txt\"");
    window = StartedWindow(other);
    ASSERT_TRUE(window);
    LogOff(window, true);
    const auto once = StringValues(HKEY_CURRENT_USER, RunOnceKeyPath);
    ASSERT_EQ(once.size(), 1u);
    EXPECT_TRUE(StartsWithQuotedProgramPath(once[0].second)) << base::Narrow(once[0].second);
    EXPECT_NE(once[0].second.find(L"\"/a" + action + L"\""), std::wstring::npos)
        << base::Narrow(once[0].second);
    timer.Terminate();
    other.Terminate();
    DeleteFileW(action.c_str());
}

TEST(Autorun, TwoTimersEndingInOneSecondBothResumeAndEachRemovesOnlyItsOwnValue) {
    const std::wstring end =
        base::Widen(DateTimeToText(LocalNow(120), os::UserFormatSettings()));
    const std::wstring switches = L" /r \"/t" + end + L"\" /u /x1";
    Process a = Process::Start(L"/cA" + switches);
    ASSERT_TRUE(StartedWindow(a));
    Process b = Process::Start(L"/cB" + switches);
    ASSERT_TRUE(StartedWindow(b));
    auto values = StringValues(HKEY_CURRENT_USER, RunKeyPath);
    ASSERT_EQ(values.size(), 2u);
    std::map<std::wstring, std::wstring> byName(values.begin(), values.end());
    ASSERT_TRUE(byName.count(end) && byName.count(end + L" (2)")) << base::Narrow(values[0].first);
    EXPECT_NE(byName[end].find(L"/cA"), std::wstring::npos);
    EXPECT_NE(byName[end + L" (2)"].find(L"/cB"), std::wstring::npos);

    // Both processes end as at a log-off; both timers come back from their
    // values, started together as the next log-on starts them.
    a.Terminate();
    b.Terminate();
    Process resumedB = Process::StartCommandLine(byName[end + L" (2)"]);
    Process resumedA = Process::StartCommandLine(byName[end]);
    HWND windowA = StartedWindow(resumedA);
    HWND windowB = StartedWindow(resumedB);
    ASSERT_TRUE(windowA && windowB);
    EXPECT_EQ(WindowText(windowA), L"A");
    EXPECT_EQ(WindowText(windowB), L"B");
    EXPECT_EQ(StringValues(HKEY_CURRENT_USER, RunKeyPath), values) << "the resumed timers wrote new values";

    // Closing A removes A's value and leaves B's.
    PostMessageW(windowA, WM_CLOSE, 0, 0);
    ASSERT_TRUE(resumedA.WaitForExit(10s));
    values = StringValues(HKEY_CURRENT_USER, RunKeyPath);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].first, end + L" (2)");
    PostMessageW(windowB, WM_CLOSE, 0, 0);
    ASSERT_TRUE(resumedB.WaitForExit(10s));
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunKeyPath).empty());
}

// The remaining time a minimized timer shows in its caption, in seconds.
double CaptionSeconds(HWND window) {
    PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Sleep(800);
    const std::string caption = base::Narrow(WindowText(window));
    // Days, hours, minutes and seconds: "00:00:04:55".
    std::vector<int> numbers;
    std::stringstream in(caption);
    std::string part;
    while (std::getline(in, part, ':'))
        numbers.push_back(std::atoi(part.c_str()));
    if (numbers.size() != 4)
        return -1;
    return numbers[0] * 86400.0 + numbers[1] * 3600.0 + numbers[2] * 60.0 + numbers[3];
}

TEST(Autorun, LogOffWritesARunOnceValueThatRestartsTheSameTimer) {
    Process timer = Process::Start(L"/q300 /cTea");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    LogOff(window, true);
    const auto values = StringValues(HKEY_CURRENT_USER, RunOnceKeyPath);
    ASSERT_EQ(values.size(), 1u);
    const std::wstring data = values[0].second;
    EXPECT_EQ(data.find(L"/q300"), std::wstring::npos);
    EXPECT_NE(data.find(L"/cTea"), std::wstring::npos);
    // The name is the end time: about five minutes from now.
    const DateTime now = LocalNow();
    const auto end = TextToDateTime(base::Narrow(values[0].first), os::UserFormatSettings(), now);
    ASSERT_TRUE(end);
    EXPECT_NEAR((*end - now) * 86400.0, 300.0, 10.0);
    timer.Terminate();

    // The data starts the same timer with the same absolute end.
    Sleep(2000);
    Process restarted = Process::StartCommandLine(data);
    auto again = WaitForWindow(restarted.Id(), IsTimerWindow);
    ASSERT_TRUE(again);
    Sleep(500);
    const double left = CaptionSeconds(again->hwnd);
    const double expected = (*end - now) * 86400.0 - 2.5;
    EXPECT_NEAR(left, expected, 6.0) << base::Narrow(WindowText(again->hwnd));
}

// At a log-off only a timer that counts leaves a RunOnce value (a line that
// did not parse would bring its error back at every log-on), and timers that
// end in the same second keep one value each.
TEST(Autorun, LogOffWritesARunOnceValueForEachCountingTimerAlone) {
    const std::wstring end =
        base::Widen(DateTimeToText(LocalNow(120), os::UserFormatSettings()));
    Process a = Process::Start(L"/cA \"/t" + end + L"\" /u");
    Process b = Process::Start(L"/cB \"/t" + end + L"\" /u");
    Process broken = Process::Start(L"/tjunk /cBroken /u");
    HWND windowA = StartedWindow(a);
    HWND windowB = StartedWindow(b);
    ASSERT_TRUE(windowA && windowB);
    ASSERT_TRUE(WaitForMessageBox(broken.Id()));
    HWND brokenWindow = AnyTimerWindow(broken);
    ASSERT_TRUE(brokenWindow);
    for (HWND window : {brokenWindow, windowA, windowB})
        LogOff(window, true);
    const auto values = StringValues(HKEY_CURRENT_USER, RunOnceKeyPath);
    std::map<std::wstring, std::wstring> byName(values.begin(), values.end());
    EXPECT_EQ(values.size(), 2u);
    EXPECT_NE(byName[end].find(L"/cA"), std::wstring::npos) << base::Narrow(byName[end]);
    EXPECT_NE(byName[end + L" (2)"].find(L"/cB"), std::wstring::npos);
    for (const auto& [name, data] : values)
        EXPECT_EQ(data.find(L"junk"), std::wstring::npos) << base::Narrow(data);
    for (Process* p : {&a, &b, &broken})
        p->Terminate();
}

// A Run value whose line no longer parses (its action file has gone) is
// removed by the timer it starts, once the error has been shown; another
// value stays.
TEST(Autorun, ARunValueWhoseLineNoLongerParsesIsRemovedAfterItsError) {
    const std::wstring line = L"\"" + ProgramPath() + L"\" /r /q300 /u \"/aC:\\gone.exe\"";
    const std::wstring other = line + L" /cOther";
    for (const auto& [name, data] : {std::pair{L"12/31/2026 1:00:00 PM", line},
                                     std::pair{L"12/31/2026 1:00:00 PM (2)", other}}) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, RunKeyPath.c_str(), name, REG_SZ, data.c_str(),
                                  DWORD((data.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    Process timer = Process::StartCommandLine(line);
    auto box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box->hwnd), L"Action file C:\\gone.exe cannot be found.");
    EXPECT_EQ(StringValues(HKEY_CURRENT_USER, RunKeyPath).size(), 2u) << "removed before the error";
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));
    std::vector<std::pair<std::wstring, std::wstring>> left;
    for (int i = 0; i < 50; ++i) {
        left = StringValues(HKEY_CURRENT_USER, RunKeyPath);
        if (left.size() < 2)
            break;
        Sleep(100);
    }
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].second, other);
    timer.Terminate();
}

// Windows starts a machine-wide Run value at log-on without administrator
// rights. The timer it starts keeps that value as its own (no refusal of /h,
// no per-user copy); at its end it may not delete it, and when the rights it
// asks Windows for do not delete it either (here the restricted user's own),
// it tells the user which value is left and where.
TEST(Autorun, AMachineWideTimerStartedWithoutRightsKeepsItsValueAndTellsWhenItStays) {
    const std::wstring end =
        base::Widen(DateTimeToText(LocalNow(600), os::UserFormatSettings()));
    const std::wstring line = L"\"" + ProgramPath() + L"\" /r /h /u /x1 \"/t" + end + L"\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, RunKeyPath.c_str(), end.c_str(), REG_SZ,
                              line.c_str(), DWORD((line.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const testsupport::ProtectedMachineRunKey key;
    ASSERT_TRUE(key.Set());
    const base::KernelHandle token = testsupport::DenyOnlyAdministratorToken(TokenPrimary);
    ASSERT_TRUE(token);
    Process timer = Process::StartCommandLine(line, token.Get());
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    if (const auto box = WaitForMessageBox(timer.Id(), 1500ms))
        ADD_FAILURE() << base::Narrow(MessageBoxText(box->hwnd));
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunKeyPath).empty()) << "a per-user copy";

    PostMessageW(window, WM_CLOSE, 0, 0);
    const auto box = WaitForMessageBox(timer.Id(), 30s);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box->hwnd),
              L"The Run value \"" + end + L"\" could not be removed from "
              L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run. It starts "
              L"this timer again at every log-on until an administrator deletes it.");
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));
    EXPECT_TRUE(timer.WaitForExit(10s));
    const auto machine = StringValues(HKEY_LOCAL_MACHINE, RunKeyPath);
    EXPECT_EQ(machine.size(), 1u) << "the value said to be left is not";
}

// An action gets its parameters as one quoted argument, except the system's
// shutdown utility, which compares whole arguments: a stand-in put in its
// place (Wine runs the file on disk when its overrides prefer it) records what a
// ready-made "Restart" hands it.
TEST(Action, RunsAtCompletionWithTheParametersQuotedAsOneArgumentButShutdownsAsTheyStand) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring shutdown = std::wstring(system) + L"\\shutdown.exe";
    const std::wstring saved = shutdown + L".brevalo-saved";
    // Moved, not copied over: the prefix's files may be links shared with others.
    ASSERT_TRUE(MoveFileExW(shutdown.c_str(), saved.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(CopyFileW(self, shutdown.c_str(), FALSE));
    const wchar_t* overrides = L"Software\\Wine\\DllOverrides";
    const wchar_t native[] = L"native";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, overrides, L"shutdown.exe", REG_SZ, native,
                              sizeof native),
              ERROR_SUCCESS);
    struct Case {
        std::wstring program, params, tail;
    };
    for (const Case& c : {Case{self, L"-x ^a b^", L" \"-x \"a b\"\""},
                          Case{shutdown, L"/r /t 1", L" /r /t 1"}}) {
        CommandLineRecord record(L"brevalo-action.txt");
        BroadcastListener listener;
        Process timer = Process::Start(L"/q1 /u /cTea \"/a" + c.program + L"|" + c.params + L"\"");
        record.StopInheriting();
        ASSERT_TRUE(StartedWindow(timer));
        ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s));
        EXPECT_TRUE(timer.WaitForExit(20s));
        const std::wstring line = record.Wait(10s).value_or(L"");
        ASSERT_GE(line.size(), c.tail.size()) << base::Narrow(c.program);
        EXPECT_EQ(line.substr(line.size() - c.tail.size()), c.tail) << base::Narrow(line);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, overrides, L"shutdown.exe");
    EXPECT_TRUE(MoveFileExW(saved.c_str(), shutdown.c_str(), MOVEFILE_REPLACE_EXISTING));
}

TEST(ClockChange, ARelativeTimerAsksAndNoResumesWhileCancelCloses) {
    Process timer = Process::Start(L"/q300 /cTea");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    Sleep(500);
    PostMessageW(window, WM_TIMECHANGE, 0, 0);
    auto box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Information");
    EXPECT_EQ(base::Narrow(MessageBoxText(box->hwnd)), std::string(ClockChangeQuestion));
    EXPECT_EQ(ButtonCaptions(box->hwnd), (std::vector<std::wstring>{L"Yes", L"No", L"Cancel"}));
    ASSERT_TRUE(ClickButton(box->hwnd, L"No"));
    EXPECT_FALSE(timer.WaitForExit(1500ms));

    PostMessageW(window, WM_TIMECHANGE, 0, 0);
    box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(ClickButton(box->hwnd, L"Cancel"));
    EXPECT_TRUE(timer.WaitForExit(10s));
}

TEST(ClockChange, AnAbsoluteTimerDoesNotAsk) {
    const DateTime end = LocalNow(600);
    const std::string text = DateTimeToText(end, os::UserFormatSettings());
    Process timer = Process::Start(L"\"/t" + base::Widen(text) + L"\" /cTea");
    HWND window = StartedWindow(timer);
    ASSERT_TRUE(window);
    ASSERT_FALSE(WaitForMessageBox(timer.Id(), 500ms)) << text;
    PostMessageW(window, WM_TIMECHANGE, 0, 0);
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 1500ms));
    EXPECT_TRUE(timer.Running());
}

} // namespace
} // namespace brevalo::e2e
