// Starting a new timer process. The program started is this test program
// itself: seeing the marker variable in its environment, the started copy
// shows a window whose caption reports what it was given, and waits.
#include "Files.h"
#include "LaunchTimer.h"
#include "OsError.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace brevalo {
namespace {

using base::Narrow;
using base::Widen;

const wchar_t ProbeVariable[] = L"BREVALO_LAUNCH_PROBE";
const wchar_t MovedVariable[] = L"BREVALO_LAUNCH_MOVED";

// The command line after the program's own name.
std::wstring Parameters() {
    const wchar_t* line = GetCommandLineW();
    if (*line == L'"') {
        for (++line; *line && *line != L'"'; ++line) {
        }
        if (*line)
            ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t')
            ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

// The started copy: "probe|<show state>|<own path>|<parameters>" as caption,
// until it is ended (by the test, or after a minute on its own).
int RunProbe() {
    STARTUPINFOW startup{sizeof startup};
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::wstring caption =
        L"probe|" + std::to_wstring(show) + L"|" + Widen(os::ProgramPath()) + L"|" + Parameters();
    const HWND window = CreateWindowExW(0, L"STATIC", caption.c_str(), WS_OVERLAPPED, 0, 0, 200,
                                        100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return 2;
    SetTimer(window, 1, 60000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            break;
        DispatchMessageW(&msg);
    }
    return 0;
}

// The copy whose file has gone: returns the error code LaunchTimer raised
// when its message has the system-error form, 1000 and above otherwise.
int RunMovedLauncher() {
    const std::wstring path = Widen(os::ProgramPath());
    if (!MoveFileW(path.c_str(), (path + L".moved").c_str()))
        return 1000;
    try {
        os::LaunchTimer(nullptr, "/q5", "open");
        return 1001;
    } catch (const base::OsError& error) {
        const std::string head = "System Error.  Code: " + std::to_string(error.Code()) + ".\r\n";
        return std::string(error.what()).rfind(head, 0) == 0 ? int(error.Code()) : 1002;
    }
}

struct Search {
    std::wstring prefix;
    HWND found = nullptr;
};

BOOL CALLBACK FindProbe(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    if (std::wstring(text).rfind(search.prefix, 0) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// Waits up to 60 s for a probe window whose caption ends in `parameters`,
// then ends its process; returns the caption.
std::string CatchProbe(const std::string& parameters) {
    Search search;
    search.prefix = L"probe|";
    const std::wstring ending = L"|" + Widen(parameters);
    for (int i = 0; i < 600; ++i) {
        search.found = nullptr;
        EnumWindows(&FindProbe, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
        Sleep(100);
    }
    if (!search.found)
        return "<no window>";
    wchar_t text[1024] = {};
    GetWindowTextW(search.found, text, 1024);
    DWORD pid = 0;
    GetWindowThreadProcessId(search.found, &pid);
    EXPECT_NE(pid, GetCurrentProcessId());
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    EXPECT_NE(process, nullptr);
    if (process) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 30000);
        CloseHandle(process);
    }
    return Narrow(text);
}

class LaunchTimerTest : public ::testing::Test {
protected:
    void SetUp() override { SetEnvironmentVariableW(ProbeVariable, L"1"); }
    void TearDown() override { SetEnvironmentVariableW(ProbeVariable, nullptr); }
};

TEST_F(LaunchTimerTest, StartsThisProgramWithTheSwitchesAsGiven) {
    // The advanced dialog says "Open", the wizard "open"; both start the timer.
    const std::string wizard = R"(/q300 /c"Tea" /f0080FF /b000000 /s1 /e0 /w0)";
    os::LaunchTimer(nullptr, wizard, "open");
    EXPECT_EQ(CatchProbe(wizard), "probe|1|" + os::ProgramPath() + "|" + wizard);

    const std::string advanced = R"(/t30 /c"Tea time" /f0080FF /b000000 /a"C:\a.exe"|-x)";
    os::LaunchTimer(nullptr, advanced, "Open");
    EXPECT_EQ(CatchProbe(advanced), "probe|1|" + os::ProgramPath() + "|" + advanced);
}

TEST_F(LaunchTimerTest, ProgramFileGoneIsRaisedAsOsError) {
    // A copy of this program moves its own file away and then tries to
    // start itself: the shell cannot find the file.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring copy =
        std::wstring(temp) + L"brevalo-launch-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    ASSERT_TRUE(CopyFileW(Widen(os::ProgramPath()).c_str(), copy.c_str(), FALSE));
    SetEnvironmentVariableW(ProbeVariable, nullptr);
    SetEnvironmentVariableW(MovedVariable, L"1");
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + copy + L"\"";
    ASSERT_TRUE(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    SetEnvironmentVariableW(MovedVariable, nullptr);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteFileW(copy.c_str());
    DeleteFileW((copy + L".moved").c_str());
    EXPECT_EQ(exitCode, DWORD(ERROR_FILE_NOT_FOUND));
}

} // namespace
} // namespace brevalo

int main(int argc, char** argv) {
    if (GetEnvironmentVariableW(brevalo::ProbeVariable, nullptr, 0) > 0)
        return brevalo::RunProbe();
    if (GetEnvironmentVariableW(brevalo::MovedVariable, nullptr, 0) > 0)
        return brevalo::RunMovedLauncher();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
