// The threaded timer: when dispatches arrive, on which thread, and what
// enabling, disabling, interval changes, errors and destruction do to them.
// Times are checked from below with a small allowance for clock granularity;
// upper limits are loose, since the machine running the tests may be busy.
#include "Application.h"
#include "ThdTimer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace brevalo {
namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;
constexpr Ms kEarly{20}; // a wait may look this much short on the clock

// Runs the message loop for `ms`, or less once `done` holds.
void Pump(int ms, const std::function<bool()>& done = {}) {
    const auto end = Clock::now() + Ms(ms);
    while (Clock::now() < end && !(done && done())) {
        const auto left = std::chrono::duration_cast<Ms>(end - Clock::now()).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left > 0 ? left : 0), QS_ALLINPUT);
        gui::Application::Instance().ProcessMessages();
    }
}

struct Recorder {
    std::vector<Clock::time_point> at;
    bool foreignThread = false;
    TThreadedTimer* wrongSender = nullptr;

    void Attach(TThreadedTimer& timer, std::function<void(TThreadedTimer&)> extra = {}) {
        const DWORD mainThread = GetCurrentThreadId();
        timer.OnTimer = [this, mainThread, extra, expected = &timer](TThreadedTimer& sender) {
            at.push_back(Clock::now());
            foreignThread |= GetCurrentThreadId() != mainThread;
            if (&sender != expected)
                wrongSender = &sender;
            if (extra)
                extra(sender);
        };
    }
    Ms SinceFirst(Clock::time_point t) const { return std::chrono::duration_cast<Ms>(at[0] - t); }
    // True when no two dispatches came closer than `interval`.
    bool Spaced(int interval) const {
        for (std::size_t i = 1; i < at.size(); ++i)
            if (at[i] - at[i - 1] < Ms(interval) - kEarly)
                return false;
        return true;
    }
};

class ThreadedTimer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    TThreadedTimer timer;
    Recorder calls;
};

TEST_F(ThreadedTimer, StartsDisabledWithItsDefaultsAndRunsOnTheWindowThread) {
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(timer.AllowZero());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_EQ(timer.ThreadPriority(), tpNormal);
    calls.Attach(timer);
    timer.SetInterval(100);
    Pump(350);
    EXPECT_TRUE(calls.at.empty()) << "a timer is disabled at creation";

    const auto enabled = Clock::now();
    timer.SetEnabled(true);
    Pump(5000, [&] { return calls.at.size() >= 5; });
    ASSERT_GE(calls.at.size(), 5u);
    // Never more than one dispatch per interval since enabling.
    EXPECT_LE(calls.at.size(), std::size_t((Clock::now() - enabled) / (Ms(100) - kEarly)));
    EXPECT_TRUE(calls.Spaced(100));
    EXPECT_FALSE(calls.foreignThread);
    EXPECT_EQ(calls.wrongSender, nullptr);
}

TEST_F(ThreadedTimer, PriorityIsTheWorkerThreadsWhichComesWithTheFirstEnabling) {
    // Set before the worker exists, it is the one the worker starts with.
    timer.SetThreadPriority(tpHigher);
    EXPECT_EQ(timer.ThreadPriority(), tpHigher);
    EXPECT_EQ(timer.Thread().Handle(), nullptr);
    timer.SetInterval(60000);
    timer.SetEnabled(true);
    ASSERT_NE(timer.Thread().Handle(), nullptr);
    EXPECT_EQ(GetThreadPriority(timer.Thread().Handle()), THREAD_PRIORITY_ABOVE_NORMAL);
    for (TThreadPriority p :
         {tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical}) {
        timer.SetThreadPriority(p);
        EXPECT_EQ(timer.ThreadPriority(), p);
        EXPECT_EQ(GetThreadPriority(timer.Thread().Handle()), PlatformThreadPriority(p));
    }
}

TEST_F(ThreadedTimer, DisablingPausesAndEnablingStartsAFullPeriod) {
    calls.Attach(timer);
    timer.SetInterval(400);
    timer.SetEnabled(true);
    Pump(150);
    timer.SetEnabled(false);
    Pump(400); // past the end of the first period
    ASSERT_TRUE(calls.at.empty());
    const auto enabled = Clock::now();
    timer.SetEnabled(true);
    Pump(5000, [&] { return !calls.at.empty(); });
    ASSERT_EQ(calls.at.size(), 1u);
    EXPECT_GE(calls.SinceFirst(enabled), Ms(400) - kEarly);
}

TEST_F(ThreadedTimer, EnablingRightAfterDisablingEndsTheOldPeriodAtOnce) {
    calls.Attach(timer);
    timer.SetEnabled(true);
    Pump(150);
    timer.SetEnabled(false);
    const auto enabled = Clock::now();
    timer.SetEnabled(true);
    Pump(5000, [&] { return !calls.at.empty(); });
    ASSERT_EQ(calls.at.size(), 1u);
    EXPECT_GE(calls.SinceFirst(enabled), Ms(1000) - kEarly);
    // Waiting out the old period first would bring it near 1850 ms.
    EXPECT_LT(calls.SinceFirst(enabled), Ms(1500));
}

TEST_F(ThreadedTimer, ChangingTheIntervalRestartsThePeriod) {
    calls.Attach(timer);
    timer.SetInterval(500);
    timer.SetEnabled(true);
    Pump(300);
    const auto changed = Clock::now();
    timer.SetInterval(600);
    EXPECT_TRUE(timer.Enabled());
    Pump(5000, [&] { return !calls.at.empty(); });
    ASSERT_EQ(calls.at.size(), 1u);
    EXPECT_GE(calls.SinceFirst(changed), Ms(600) - kEarly);

    // A disabled timer keeps the new interval and stays disabled.
    timer.SetEnabled(false);
    timer.SetInterval(50);
    Pump(300);
    EXPECT_EQ(calls.at.size(), 1u);
    EXPECT_EQ(timer.Interval(), 50);
}

TEST_F(ThreadedTimer, ARequestLeftFromAnEarlierPeriodIsDropped) {
    calls.Attach(timer);
    timer.SetInterval(30);
    timer.SetEnabled(true);
    Sleep(200); // the worker's request waits in the queue
    const auto changed = Clock::now();
    timer.SetInterval(400);
    Pump(5000, [&] { return !calls.at.empty(); });
    ASSERT_FALSE(calls.at.empty());
    EXPECT_GE(calls.SinceFirst(changed), Ms(400) - kEarly);
}

TEST_F(ThreadedTimer, EnablingAgainDoesNotRestartThePeriod) {
    calls.Attach(timer);
    timer.SetInterval(300);
    timer.SetEnabled(true);
    // Were each of these a restart, no period would ever complete.
    for (int i = 0; i < 16; ++i) {
        Pump(100);
        timer.SetEnabled(true);
    }
    EXPECT_GE(calls.at.size(), 2u);
    EXPECT_TRUE(calls.Spaced(300));
}

TEST_F(ThreadedTimer, ErrorsOfTheHandlerReachTheApplicationAndTheTimerGoesOn) {
    std::vector<std::exception_ptr> errors;
    std::vector<std::size_t> callsAtError;
    bool foreignThread = false;
    const DWORD mainThread = GetCurrentThreadId();
    gui::Application::Instance().SetExceptionHandler([&](std::exception_ptr error) {
        errors.push_back(error);
        callsAtError.push_back(calls.at.size());
        foreignThread |= GetCurrentThreadId() != mainThread;
    });
    calls.Attach(timer, [&](TThreadedTimer&) {
        if (calls.at.size() == 1)
            throw std::runtime_error("tick failed");
        if (calls.at.size() == 2)
            throw 42;
    });
    timer.SetInterval(150);
    timer.SetEnabled(true);
    Pump(5000, [&] { return calls.at.size() >= 4; });
    gui::Application::Instance().SetExceptionHandler(nullptr);
    EXPECT_GE(calls.at.size(), 4u) << "the timer stopped after an error";
    EXPECT_TRUE(calls.Spaced(150));
    // Each error is reported once, on the window's thread, before the next period.
    EXPECT_EQ(callsAtError, (std::vector<std::size_t>{1, 2}));
    EXPECT_FALSE(foreignThread);
    if (errors.size() == 2) {
        try {
            std::rethrow_exception(errors[0]);
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "tick failed");
        } catch (...) {
            ADD_FAILURE() << "the first error changed on the way";
        }
        try {
            std::rethrow_exception(errors[1]);
        } catch (int value) {
            EXPECT_EQ(value, 42);
        } catch (...) {
            ADD_FAILURE() << "the second error changed on the way";
        }
    }
}

TEST_F(ThreadedTimer, DisablingInsideTheHandlerStopsUntilEnabledAgain) {
    calls.Attach(timer, [](TThreadedTimer& sender) { sender.SetEnabled(false); });
    timer.SetInterval(100);
    timer.SetEnabled(true);
    Pump(600);
    ASSERT_EQ(calls.at.size(), 1u);
    const auto enabled = Clock::now();
    timer.SetEnabled(true);
    Pump(5000, [&] { return calls.at.size() == 2; });
    ASSERT_EQ(calls.at.size(), 2u);
    EXPECT_GE(calls.at[1] - enabled, Ms(100) - kEarly);
}

TEST_F(ThreadedTimer, ZeroIntervalRunsOnlyWhenAllowed) {
    calls.Attach(timer);
    timer.SetInterval(0);
    timer.SetEnabled(true);
    Pump(300);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(calls.at.empty());

    timer.SetEnabled(false);
    timer.SetAllowZero(true);
    timer.SetEnabled(true);
    Pump(300);
    timer.SetEnabled(false);
    EXPECT_GE(calls.at.size(), 5u);
    const auto stopped = calls.at.size();
    Pump(200);
    EXPECT_EQ(calls.at.size(), stopped);
}

TEST_F(ThreadedTimer, ABusyWindowThreadDelaysPeriodsWithoutABurst) {
    calls.Attach(timer);
    timer.SetInterval(60);
    timer.SetEnabled(true);
    Sleep(700);
    Pump(400);
    EXPECT_GE(calls.at.size(), 2u);
    EXPECT_TRUE(calls.Spaced(60));
}

// Closes the message box titled `caption`; false when there is none yet.
bool CloseBox(const wchar_t* caption) {
    HWND box = FindWindowW(L"#32770", caption);
    return box && PostMessageW(box, WM_COMMAND, IDOK, 0);
}

const wchar_t kBoxCaption[] = L"Threaded timer test box";

// Ends the box after 15 s unless told first (the event) that it is closed.
DWORD WINAPI Watchdog(void* closed) {
    if (WaitForSingleObject(closed, 15000) == WAIT_TIMEOUT)
        while (!CloseBox(kBoxCaption))
            Sleep(100);
    return 0;
}

TEST_F(ThreadedTimer, DispatchesContinueInsideAModalMessageBox) {
    bool closedByTimer = false;
    calls.Attach(timer, [&](TThreadedTimer&) {
        if (calls.at.size() == 3)
            closedByTimer = CloseBox(kBoxCaption);
    });
    timer.SetInterval(100);
    timer.SetEnabled(true);
    base::KernelHandle closed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    base::KernelHandle watchdog(CreateThread(nullptr, 0, &Watchdog, closed.Get(), 0, nullptr));
    MessageBoxW(nullptr, L"Waiting for the timer", kBoxCaption, MB_OK);
    SetEvent(closed.Get());
    WaitForSingleObject(watchdog.Get(), INFINITE);
    EXPECT_TRUE(closedByTimer);
    EXPECT_GE(calls.at.size(), 3u);
}

class ThreadedTimerDestruction : public ThreadedTimer {
protected:
    // A duplicate of the worker's handle that outlives the component.
    static base::KernelHandle WorkerOf(const TThreadedTimer& t) {
        HANDLE copy = nullptr;
        DuplicateHandle(GetCurrentProcess(), t.Thread().Handle(), GetCurrentProcess(), &copy,
                        SYNCHRONIZE, FALSE, 0);
        return base::KernelHandle(copy);
    }
};

TEST_F(ThreadedTimerDestruction, JoinsTheWorkerAndDropsAQueuedRequest) {
    auto owned = std::make_unique<TThreadedTimer>();
    calls.Attach(*owned);
    owned->SetInterval(20);
    owned->SetEnabled(true);
    base::KernelHandle worker = WorkerOf(*owned);
    ASSERT_TRUE(worker);
    Pump(5000, [&] { return !calls.at.empty(); });
    Sleep(150); // the worker has asked again and is blocked on the answer
    owned.reset();
    EXPECT_EQ(WaitForSingleObject(worker.Get(), 0), WAIT_OBJECT_0);
    const auto before = calls.at.size();
    Pump(300);
    EXPECT_EQ(calls.at.size(), before);
}

TEST_F(ThreadedTimerDestruction, TheHandlerMayDestroyItsOwnTimer) {
    auto owned = std::make_unique<TThreadedTimer>();
    calls.Attach(*owned, [&](TThreadedTimer&) { owned.reset(); });
    owned->SetInterval(50);
    owned->SetEnabled(true);
    base::KernelHandle worker = WorkerOf(*owned);
    Pump(5000, [&] { return !owned; });
    ASSERT_FALSE(owned);
    EXPECT_EQ(WaitForSingleObject(worker.Get(), 0), WAIT_OBJECT_0);
    Pump(200);
    EXPECT_EQ(calls.at.size(), 1u);
}

} // namespace
} // namespace brevalo
