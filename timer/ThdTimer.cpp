#include "ThdTimer.h"

#include "Application.h"
#include "OsError.h"
#include "Window.h"

namespace brevalo {

namespace {

// The request to run a dispatch; wParam carries the period it was made in.
constexpr UINT kDispatchMessage = WM_APP + 1;

} // namespace

int PlatformThreadPriority(TThreadPriority priority) noexcept {
    switch (priority) {
    case tpIdle:
        return THREAD_PRIORITY_IDLE;
    case tpLowest:
        return THREAD_PRIORITY_LOWEST;
    case tpLower:
        return THREAD_PRIORITY_BELOW_NORMAL;
    case tpNormal:
        return THREAD_PRIORITY_NORMAL;
    case tpHigher:
        return THREAD_PRIORITY_ABOVE_NORMAL;
    case tpHighest:
        return THREAD_PRIORITY_HIGHEST;
    case tpTimeCritical:
        return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

TThreadPriority ThreadPriorityFromPlatform(int priority) noexcept {
    // Processes of the real-time class report values between the named ones;
    // the saturated ends are idle and time-critical.
    if (priority <= THREAD_PRIORITY_IDLE)
        return tpIdle;
    if (priority >= THREAD_PRIORITY_TIME_CRITICAL)
        return tpTimeCritical;
    if (priority <= THREAD_PRIORITY_LOWEST)
        return tpLowest;
    if (priority >= THREAD_PRIORITY_HIGHEST)
        return tpHighest;
    switch (priority) {
    case THREAD_PRIORITY_BELOW_NORMAL:
        return tpLower;
    case THREAD_PRIORITY_ABOVE_NORMAL:
        return tpHigher;
    default:
        return tpNormal;
    }
}

// ---------------------------------------------------------------------------
// The worker

namespace {

base::KernelHandle NewEvent(bool manualReset) {
    base::KernelHandle event(CreateEventW(nullptr, manualReset, FALSE, nullptr));
    if (!event)
        base::RaiseLastOsError();
    return event;
}

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// A waitable timer (auto-reset) that ends on time to the millisecond where
// the system offers one (Windows 10 1803 and later), else a plain one.
base::KernelHandle NewWaitTimer() {
    base::KernelHandle timer(CreateWaitableTimerExW(
        nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
    if (!timer)
        timer.Reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
    if (!timer)
        base::RaiseLastOsError();
    return timer;
}

long long PerformanceCount() noexcept {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

} // namespace

TTimerThread::TTimerThread(TThreadedTimer& owner, base::KernelHandle stopEvent)
    : owner_(owner), stopEvent_(std::move(stopEvent)), runGate_(NewEvent(true)),
      waitTimer_(NewWaitTimer()) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    countsPerMs_ = frequency.QuadPart / 1000 > 0 ? frequency.QuadPart / 1000 : 1;
}

void TTimerThread::Launch() {
    if (thread_)
        return;
    // The gate is closed: the new thread waits there until Start opens it.
    base::KernelHandle thread(
        CreateThread(nullptr, 0, &TTimerThread::ThreadProc, this, CREATE_SUSPENDED, nullptr));
    if (!thread)
        base::RaiseLastOsError();
    SetThreadPriority(thread.Get(), priority_);
    ResumeThread(thread.Get());
    thread_ = std::move(thread);
}

TTimerThread::~TTimerThread() {
    if (!thread_)
        return; // never enabled: no thread was made
    terminated_ = true;
    // Release the thread wherever it waits: at the gate, in the period or
    // for a dispatch the window's thread will never run now.
    SetEvent(stopEvent_.Get());
    SetEvent(runGate_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
}

TThreadPriority TTimerThread::Priority() const {
    if (!thread_)
        return ThreadPriorityFromPlatform(priority_);
    const int priority = GetThreadPriority(thread_.Get());
    if (priority == THREAD_PRIORITY_ERROR_RETURN)
        base::RaiseLastOsError();
    return ThreadPriorityFromPlatform(priority);
}

void TTimerThread::SetPriority(TThreadPriority priority) {
    if (thread_)
        base::CheckOs(SetThreadPriority(thread_.Get(), PlatformThreadPriority(priority)));
    priority_ = PlatformThreadPriority(priority);
}

void TTimerThread::Start() {
    Launch();
    ++period_;
    // Signalled before the flag is seen: a worker that finds the gate open
    // finds the signal that ends the old period's wait too.
    SetEvent(stopEvent_.Get());
    running_ = true;
    SetEvent(runGate_.Get());
}

void TTimerThread::Pause() noexcept {
    // A request already made belongs to the period that ends here.
    ++period_;
    running_ = false;
    ResetEvent(runGate_.Get());
}

void TTimerThread::DispatchDone() noexcept {
    // The next period starts now: its wait is set up here, on the window's
    // thread, and the worker, waiting on the timer since its request, wakes
    // when it ends. One call instead of a signal to wake the worker and
    // another from it to set the timer.
    unsigned aligned = 0;
    const DWORD wait = PeriodWait(aligned);
    handedAligned_ = aligned;
    if (wait == INFINITE)
        CancelWaitableTimer(waitTimer_.Get());
    else
        SetTimerDue(wait);
    dispatchPending_ = false;
}

void TTimerThread::SetTimerDue(DWORD milliseconds) noexcept {
    LARGE_INTEGER due;
    // Relative, in 100 ns; a wait of 0 ends at once.
    due.QuadPart = milliseconds ? -(long long)milliseconds * 10'000 : -1;
    SetWaitableTimer(waitTimer_.Get(), &due, 0, nullptr, nullptr, FALSE);
}

void TTimerThread::SetNextDelay(DWORD milliseconds, bool waiting) noexcept {
    deadline_ = PerformanceCount() + (long long)milliseconds * countsPerMs_;
    ++deadlineNumber_;
    // A wait under way is for the old time: end it, and the worker measures
    // again to the new deadline. A worker blocked on a dispatch reads the
    // deadline when the dispatch is done.
    if (waiting)
        SetEvent(stopEvent_.Get());
}

DWORD TTimerThread::PeriodWait(unsigned& aligned) const noexcept {
    const unsigned number = deadlineNumber_;
    if (number != dispatchedNumber_) {
        aligned = number;
        const long long left = deadline_ - PerformanceCount();
        return left <= 0 ? 0 : DWORD((left + countsPerMs_ - 1) / countsPerMs_);
    }
    aligned = 0;
    // A negative interval never ends by itself; enabling or destruction
    // still wakes the thread.
    const int interval = interval_;
    return interval < 0 ? INFINITE : DWORD(interval);
}

bool TTimerThread::WaitTimedOut(DWORD milliseconds) noexcept {
    if (milliseconds == INFINITE || milliseconds == 0)
        return WaitForSingleObject(stopEvent_.Get(), milliseconds) == WAIT_TIMEOUT;
    SetTimerDue(milliseconds);
    if (WaitForTimer())
        return true;
    DropTimer();
    return false;
}

bool TTimerThread::WaitForTimer() noexcept {
    const HANDLE handles[] = {stopEvent_.Get(), waitTimer_.Get()};
    return WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}

void TTimerThread::DropTimer() noexcept {
    // The stop event ended the wait, and the time it waited for no longer
    // counts. The timer may have ended meanwhile; setting an auto-reset
    // timer again does not clear such a signal everywhere (Wine keeps it),
    // so it is taken here.
    CancelWaitableTimer(waitTimer_.Get());
    WaitForSingleObject(waitTimer_.Get(), 0);
}

DWORD WINAPI TTimerThread::ThreadProc(void* self) {
    static_cast<TTimerThread*>(self)->Execute();
    return 0;
}

void TTimerThread::Execute() noexcept {
    // Whether the wait ahead is the one the window's thread sets up when the
    // dispatch asked for has finished (DispatchDone).
    bool handedBack = false;
    for (;;) {
        if (!running_)
            WaitForSingleObject(runGate_.Get(), INFINITE);
        if (terminated_)
            return;
        const unsigned period = period_;
        unsigned aligned = 0;
        bool timedOut;
        if (handedBack) {
            timedOut = WaitForTimer();
            // Woken before the dispatch has finished (enabled again, a new
            // deadline, terminating, or a timer set before the request): the
            // wait it sets up is still ahead. Periods never overlap a
            // dispatch.
            if (dispatchPending_)
                continue;
            if (!timedOut)
                DropTimer();
            handedBack = false;
            aligned = handedAligned_;
        } else {
            timedOut = WaitTimedOut(PeriodWait(aligned));
        }
        // Signalled means enabled again (a new period), a new deadline or
        // terminating: no dispatch for the wait it ended.
        if (!timedOut)
            continue;
        if (terminated_)
            return;
        if (!IsCurrent(period) || !running_)
            continue;
        if (aligned)
            dispatchedNumber_ = aligned;
        dispatchPending_ = true;
        if (!owner_.RequestDispatch(period)) {
            // The window's queue is full; try again next period rather than
            // spin when the interval is 0.
            dispatchPending_ = false;
            Sleep(10);
            continue;
        }
        // Until the window's thread has run the dispatch and set up the next
        // wait, the worker waits on the timer only: dispatches never overlap
        // and periods never pile up.
        handedBack = true;
    }
}

// ---------------------------------------------------------------------------
// The component

// A message-only window of the window's thread that receives the worker's
// requests.
class TThreadedTimer::DispatchWindow : public gui::Window {
public:
    explicit DispatchWindow(TThreadedTimer& owner) : owner_(owner) {
        CreateMessageOnlyHandle(L"BrevaloThreadedTimer");
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kDispatchMessage)
            return DefaultHandler(message, wParam, lParam);
        // The dispatch may destroy the component and this window with it:
        // touch nothing afterwards.
        owner_.Dispatch(unsigned(wParam));
        return 0;
    }

private:
    TThreadedTimer& owner_;
};

TThreadedTimer::TThreadedTimer() {
    thread_ = std::make_unique<TTimerThread>(*this, NewEvent(false));
}

TThreadedTimer::~TThreadedTimer() {
    enabled_ = false;
    destroying_ = true;
    if (destroyedDuringDispatch_)
        *destroyedDuringDispatch_ = true;
    thread_.reset(); // joins the worker
    // A request still queued goes with the window.
    window_.reset();
}

void TThreadedTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    if (enabled && (thread_->Interval() != 0 || allowZero_)) {
        // The window and the worker come with the first enabling; the
        // window first, since the worker posts to it.
        if (!window_)
            window_ = std::make_unique<DispatchWindow>(*this);
        thread_->Start();
    }
    enabled_ = enabled;
    if (!enabled)
        thread_->Pause();
}

void TThreadedTimer::SetInterval(int milliseconds) {
    if (milliseconds == thread_->Interval())
        return;
    const bool wasEnabled = enabled_;
    SetEnabled(false);
    thread_->SetInterval(milliseconds);
    SetEnabled(wasEnabled);
}

void TThreadedTimer::SetNextDelay(DWORD milliseconds) noexcept {
    // Inside a dispatch the worker waits for it to end, not for the time.
    thread_->SetNextDelay(milliseconds, destroyedDuringDispatch_ == nullptr);
}

bool TThreadedTimer::RequestDispatch(unsigned period) noexcept {
    return PostMessageW(window_->Handle(), kDispatchMessage, WPARAM(period), 0) != FALSE;
}

void TThreadedTimer::Dispatch(unsigned period) noexcept {
    bool destroyed = false;
    // The pointer lives only while this call runs: it is cleared below, or
    // the object is gone (destroyed by its own handler).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
    destroyedDuringDispatch_ = &destroyed;
#pragma GCC diagnostic pop
    if (enabled_ && !destroying_ && OnTimer && thread_->IsCurrent(period)) {
        try {
            // A copy: the handler may replace OnTimer or destroy the timer.
            const auto handler = OnTimer;
            handler(*this);
        } catch (...) {
            // Reported like an error of any window procedure; it ends that
            // period only. The worker waits until the report (an error box,
            // by default) is done, so errors of later periods do not pile up.
            gui::Application::Instance().HandleException(std::current_exception());
        }
    }
    if (destroyed)
        return; // the destructor has released and joined the worker
    destroyedDuringDispatch_ = nullptr;
    thread_->DispatchDone();
}

} // namespace brevalo
