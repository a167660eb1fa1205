// Many timers at once, and a timer whose process is killed: what other
// programs see (the broadcasts, the processes, the settings file and the
// autorun values) stays whole.
#include "DateTimeText.h"
#include "Driver.h"
#include "Inspect.h"
#include "Listener.h"
#include "Locale.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace brevalo::e2e {
namespace {

bool IsColour(const std::string& text) {
    return text.size() == 6 &&
           text.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

TEST(Load, FiftyTimersEndingTogetherAllBroadcastAndEndAndLeaveAValidSettingsFile) {
    constexpr int Count = 50;
    BroadcastListener listener;
    // One absolute end for all, far enough ahead for every process to start
    // on a busy machine; starting in the order of the names.
    const DateTime end = LocalNow(90);
    const auto started = std::chrono::steady_clock::now();
    const std::wstring endText = base::Widen(DateTimeToText(end, os::UserFormatSettings()));
    std::vector<Process> timers;
    for (int i = 1; i <= Count; ++i) {
        timers.push_back(Process::Start(L"\"/t" + endText + L"\" /u /cLoad" + std::to_wstring(i)));
        listener.Pump(50ms);
    }
    for (const Process& timer : timers)
        ASSERT_TRUE(WaitForWindow(timer.Id(), IsTimerWindow, 60s)) << "a timer did not open";
    const auto startup = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::steady_clock::now() - started);
    ASSERT_TRUE(listener.All().empty())
        << "a timer ended before all had started (" << startup.count() << " s)";

    std::set<std::wstring> names;
    const auto until = std::chrono::steady_clock::now() + 150s;
    while (names.size() < Count && std::chrono::steady_clock::now() < until) {
        listener.Pump(500ms);
        for (const auto& received : listener.All())
            if (received.message == L"WM_TIME_UP")
                names.insert(received.name);
    }
    EXPECT_EQ(names.size(), std::size_t(Count));
    for (int i = 1; i <= Count; ++i)
        EXPECT_TRUE(names.count(L"Load" + std::to_wstring(i))) << "no broadcast from Load" << i;
    for (const Process& timer : timers)
        EXPECT_TRUE(timer.WaitForExit(60s)) << "a timer process did not end";

    // Every line of the settings file is a section, a key with a value, or
    // empty, and the colours read back as colours.
    std::ifstream in(base::Narrow(SettingsFilePath()), std::ios::binary);
    ASSERT_TRUE(in) << "no settings file";
    std::string line;
    int sections = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() == '[') {
            EXPECT_EQ(line.back(), ']') << line;
            ++sections;
            continue;
        }
        EXPECT_NE(line.find('='), std::string::npos) << "damaged line: " << line;
    }
    EXPECT_GE(sections, 1);
    wchar_t value[64] = {};
    for (const wchar_t* key : {L"Forecolor", L"Background"}) {
        GetPrivateProfileStringW(L"Settings", key, L"", value, 64, SettingsFilePath().c_str());
        EXPECT_TRUE(IsColour(base::Narrow(value))) << base::Narrow(key) << "=" << base::Narrow(value);
    }
}

TEST(Load, AKilledTimerLeavesItsRunValueWhichEndsAtTheOriginalMoment) {
    Process timer = Process::Start(L"/r /q25 /u /cKilled");
    ASSERT_TRUE(WaitForWindow(timer.Id(), IsTimerWindow));
    Sleep(1000);
    timer.Terminate();
    ASSERT_TRUE(timer.WaitForExit(10s));

    const auto values = StringValues(HKEY_CURRENT_USER, RunKeyPath);
    ASSERT_EQ(values.size(), 1u) << "the Run value did not outlive the process";
    const auto [name, data] = values[0];
    // The value's name is the original end, to the second.
    const auto end = TextToDateTime(base::Narrow(name), os::UserFormatSettings(), LocalNow());
    ASSERT_TRUE(end) << base::Narrow(name);

    // Started as the next log-on would start it.
    BroadcastListener listener;
    Process restarted = Process::StartCommandLine(data);
    ASSERT_TRUE(WaitForWindow(restarted.Id(), IsTimerWindow));
    ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 60s));
    const double late = (LocalNow() - *end) * 86400.0;
    EXPECT_GE(late, -0.3) << "ended before the original moment";
    EXPECT_LE(late, 1.5) << "ended after the original moment";
    EXPECT_TRUE(restarted.WaitForExit(20s));
    // Completion removes the value it found again.
    EXPECT_TRUE(StringValues(HKEY_CURRENT_USER, RunKeyPath).empty());
}

} // namespace
} // namespace brevalo::e2e
