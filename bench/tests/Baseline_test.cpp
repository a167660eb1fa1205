// The baseline program as the driver sees it: digits on the screen, the
// broadcast at the end moment, and its own exit.
#include "BenchText.h"
#include "DriverSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brevalo::bench {
namespace {

std::wstring BaselinePath() {
    wchar_t path[MAX_PATH];
    std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"bench_baseline.exe";
}

// Polls until the child's window shows the digit colour; false on timeout.
bool ShowsDigits(Child& child, double timeoutMs) {
    const double until = NowMs() + timeoutMs;
    while (NowMs() < until && child.Running()) {
        if (HWND window = FindMainWindow(child.Pid()))
            if (CountClientPixels(window, {0x00, 0x80, 0xFF}, 40) >= 30)
                return true;
        PumpMessages(10);
    }
    return false;
}

TEST(Baseline, AnnouncesTheEndMomentWithItsCaptionAndCloses) {
    TimeUpListener listener;
    const long long ticksPerSecond = 10'000'000;
    const long long end = (LocalNowTicks() / ticksPerSecond + 3) * ticksPerSecond;
    const SYSTEMTIME st = TicksToSystemTime(end);
    const std::string text =
        FormatEndText({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
    Child child;
    ASSERT_TRUE(child.Start(L"\"" + BaselinePath() + L"\" /t\"" +
                            std::wstring(text.begin(), text.end()) + L"\" /cProbe"));
    EXPECT_TRUE(ShowsDigits(child, 30'000));
    ASSERT_TRUE(child.WaitExit(30'000));
    PumpMessages(50);

    const auto arrival = listener.Find(L"Probe");
    ASSERT_TRUE(arrival);
    // Never before the end moment; well within a loaded machine's slack after.
    const double lateMs = double(arrival->localTicks - end) / 10'000.0;
    EXPECT_GE(lateMs, 0);
    EXPECT_LT(lateMs, 5'000);
    DWORD code = 1;
    GetExitCodeProcess(child.Process(), &code);
    EXPECT_EQ(code, 0u);
}

TEST(Baseline, RelativeCountMeasuresCpuAndMemoryUntilStopped) {
    Child child;
    ASSERT_TRUE(child.Start(L"\"" + BaselinePath() + L"\" /q600 /cCpuProbe7", "/cCpuProbe7"));
    ASSERT_TRUE(ShowsDigits(child, 30'000));
    const double first = child.CpuMs();
    EXPECT_GT(first, 0) << "a process that painted has used CPU time";
    // Under Wine on Linux the child's process is found by its caption and
    // the scheduler's exact account is read.
    if (GetFileAttributesW(L"Z:\\proc\\self\\schedstat") != INVALID_FILE_ATTRIBUTES) {
        EXPECT_TRUE(child.PreciseCpu());
    }
    Sleep(300);
    EXPECT_GE(child.CpuMs(), first);
    EXPECT_GT(child.PeakWorkingSet(), 100'000);
    child.Stop();
    EXPECT_FALSE(child.Running());
}

TEST(Baseline, RefusesAnEndItCannotRead) {
    for (const wchar_t* switches : {L"/t\"2/30/2026 1:00:00 AM\"", L"/qsoon", L"/cOnly"}) {
        Child child;
        ASSERT_TRUE(child.Start(L"\"" + BaselinePath() + L"\" " + switches));
        ASSERT_TRUE(child.WaitExit(30'000)) << switches;
        DWORD code = 0;
        GetExitCodeProcess(child.Process(), &code);
        EXPECT_EQ(code, 2u) << switches;
    }
}

} // namespace
} // namespace brevalo::bench
