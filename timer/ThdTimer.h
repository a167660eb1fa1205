// A timer component whose period is measured by a worker thread of its own,
// which can wait at a raised priority, while the work (OnTimer) always runs
// on the thread that created the component, the window's thread.
//
// The worker only waits. When a period has passed it posts a request to a
// hidden message-only window of the window's thread and blocks until the
// window's thread has run the dispatch: the window's thread then starts the
// next period by setting the worker's timer, so that the hand-over costs one
// call each way. Posted messages are picked up by
// every message loop of that thread (the main loop, modal dialogs, message
// boxes, menu and move loops), and destruction releases a worker blocked on
// a request, so the hand-over keeps working while the window's thread is
// itself inside a modal loop, and joining the worker never waits for the
// window's thread.
//
// Disabling pauses the worker at its next wait (a closed gate) instead of
// suspending it where it happens to be: a suspended thread may hold a lock of
// the system or the runtime. Each enabling starts a new period; a request
// left over from an earlier period is dropped, so the first dispatch after
// enabling comes one full interval after it.
//
// A caller may also set the timer's phase: SetNextDelay makes the period
// that runs now (or the one the next enabling starts) end a given number of
// milliseconds after the call; the periods after the dispatch it brings
// last Interval again. Without it, nothing about the periods changes.
//
// Waits go through a waitable timer, of high resolution where the system has
// one, so a period ends within a millisecond or so of its time rather than
// at the next tick of the system's clock.
//
// The component is created, used and destroyed on the window's thread.
#pragma once

#include "Handle.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

namespace brevalo {

// Thread priorities and the platform priorities they stand for.
enum TThreadPriority : int {
    tpIdle,         // THREAD_PRIORITY_IDLE
    tpLowest,       // THREAD_PRIORITY_LOWEST
    tpLower,        // THREAD_PRIORITY_BELOW_NORMAL
    tpNormal,       // THREAD_PRIORITY_NORMAL
    tpHigher,       // THREAD_PRIORITY_ABOVE_NORMAL
    tpHighest,      // THREAD_PRIORITY_HIGHEST
    tpTimeCritical, // THREAD_PRIORITY_TIME_CRITICAL
};

int PlatformThreadPriority(TThreadPriority priority) noexcept;
// The nearest of our priorities to a platform priority.
TThreadPriority ThreadPriorityFromPlatform(int priority) noexcept;

class TThreadedTimer;

// The worker thread of one TThreadedTimer.
class TTimerThread {
public:
    // The stop event (auto-reset) is the owner's. The thread itself is made
    // at the first Start: a timer that is never enabled costs no thread, and
    // a window's start-up does not wait for its timers' threads.
    TTimerThread(TThreadedTimer& owner, base::KernelHandle stopEvent);
    TTimerThread(const TTimerThread&) = delete;
    TTimerThread& operator=(const TTimerThread&) = delete;
    // Tells the thread to terminate, releases every wait and joins it.
    ~TTimerThread();

    int Interval() const noexcept { return interval_; }
    void SetInterval(int milliseconds) noexcept { interval_ = milliseconds; }

    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority priority);

    // Null until the first Start.
    HANDLE Handle() const noexcept { return thread_.Get(); }

    // Starts a new period: ends the pending wait without a dispatch and lets
    // the thread run; makes the thread the first time.
    void Start();
    // Closes the gate: the thread stops before its next wait or dispatch.
    void Pause() noexcept;
    // Whether a request made in period `period` still belongs to the
    // current one.
    bool IsCurrent(unsigned period) const noexcept { return period == period_; }
    // Tells the blocked thread that the dispatch it asked for has finished:
    // starts the next period's wait. Called on the window's thread.
    void DispatchDone() noexcept;
    // The current period (or the next one, while paused) ends this many
    // milliseconds from now. `waiting`: the thread may be inside the wait
    // and must measure it again (not so while it waits for a dispatch).
    void SetNextDelay(DWORD milliseconds, bool waiting) noexcept;

private:
    void Launch();
    static DWORD WINAPI ThreadProc(void* self);
    void Execute() noexcept;
    // How long the wait of a period is: to the deadline set by
    // SetNextDelay while that has not brought a dispatch yet, else the
    // interval. Sets `aligned` to the deadline's number, or 0.
    DWORD PeriodWait(unsigned& aligned) const noexcept;
    // Waits on the stop event for `milliseconds` (INFINITE for ever);
    // true when the time ran out.
    bool WaitTimedOut(DWORD milliseconds) noexcept;
    // Waits until the timer ends (true) or the stop event is signalled.
    bool WaitForTimer() noexcept;
    // Stops the timer and takes a signal it may have.
    void DropTimer() noexcept;
    void SetTimerDue(DWORD milliseconds) noexcept;

    TThreadedTimer& owner_;
    std::atomic<int> interval_{1000};
    base::KernelHandle stopEvent_;
    std::atomic<bool> terminated_{false};
    std::atomic<unsigned> period_{0};
    // Whether the gate is open. The thread reads this flag on every period
    // and blocks on the gate only when it is closed: a wait on an open gate
    // costs a kernel call (under Wine a server round trip) per period.
    std::atomic<bool> running_{false};
    base::KernelHandle runGate_; // manual reset: set while enabled
    // Set by the worker when it posts a request, cleared by DispatchDone
    // once the next wait is set up; with it the deadline's number that wait
    // is for (0: the interval).
    std::atomic<bool> dispatchPending_{false};
    std::atomic<unsigned> handedAligned_{0};
    // The deadline of SetNextDelay on the performance counter, and its
    // number; the worker remembers the number it dispatched for.
    std::atomic<long long> deadline_{0};
    std::atomic<unsigned> deadlineNumber_{0};
    // Read by DispatchDone on the window's thread while the worker waits.
    std::atomic<unsigned> dispatchedNumber_{0};
    long long countsPerMs_ = 1;
    base::KernelHandle waitTimer_; // auto reset
    int priority_ = THREAD_PRIORITY_NORMAL; // the platform's, until there is a thread
    base::KernelHandle thread_;
};

class TThreadedTimer {
public:
    TThreadedTimer();
    TThreadedTimer(const TThreadedTimer&) = delete;
    TThreadedTimer& operator=(const TThreadedTimer&) = delete;
    // Returns once the worker has ended; no dispatch follows. May be called
    // from inside OnTimer.
    ~TThreadedTimer();

    // The work of each period, called on the window's thread with the timer
    // as sender. Errors it raises go to the application's exception handler;
    // the timer keeps running.
    std::function<void(TThreadedTimer& sender)> OnTimer;

    bool AllowZero() const noexcept { return allowZero_; }
    void SetAllowZero(bool allow) noexcept { allowZero_ = allow; }

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);

    int Interval() const noexcept { return thread_->Interval(); }
    // Changing the interval of an enabled timer restarts the period.
    void SetInterval(int milliseconds);
    // The next dispatch comes this many milliseconds from now (from the
    // next enabling's start, at the earliest, while disabled); the interval
    // applies again after it.
    void SetNextDelay(DWORD milliseconds) noexcept;

    TThreadPriority ThreadPriority() const { return thread_->Priority(); }
    void SetThreadPriority(TThreadPriority priority) { thread_->SetPriority(priority); }

    const TTimerThread& Thread() const noexcept { return *thread_; }

private:
    friend class TTimerThread;
    class DispatchWindow;

    // Worker side: asks the window's thread to dispatch; false when the
    // request could not be posted.
    bool RequestDispatch(unsigned period) noexcept;
    // Window side.
    void Dispatch(unsigned period) noexcept;

    std::unique_ptr<DispatchWindow> window_;
    std::unique_ptr<TTimerThread> thread_;
    bool enabled_ = false;
    bool allowZero_ = false;
    bool destroying_ = false;
    // Set while a dispatch runs; the destructor marks it so that the
    // dispatch touches nothing of a component destroyed by its own handler.
    bool* destroyedDuringDispatch_ = nullptr;
};

} // namespace brevalo
