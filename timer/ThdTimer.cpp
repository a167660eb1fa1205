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

} // namespace

TTimerThread::TTimerThread(TThreadedTimer& owner, base::KernelHandle stopEvent)
    : owner_(owner), stopEvent_(std::move(stopEvent)), runGate_(NewEvent(true)),
      dispatchDone_(NewEvent(false)) {
    // The gate starts closed: the new thread waits there until enabled.
    thread_.Reset(CreateThread(nullptr, 0, &TTimerThread::ThreadProc, this, 0, nullptr));
    if (!thread_)
        base::RaiseLastOsError();
}

TTimerThread::~TTimerThread() {
    terminated_ = true;
    // Release the thread wherever it waits: at the gate, in the period or
    // for a dispatch the window's thread will never run now.
    SetEvent(stopEvent_.Get());
    SetEvent(runGate_.Get());
    SetEvent(dispatchDone_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
}

TThreadPriority TTimerThread::Priority() const {
    const int priority = GetThreadPriority(thread_.Get());
    if (priority == THREAD_PRIORITY_ERROR_RETURN)
        base::RaiseLastOsError();
    return ThreadPriorityFromPlatform(priority);
}

void TTimerThread::SetPriority(TThreadPriority priority) {
    base::CheckOs(SetThreadPriority(thread_.Get(), PlatformThreadPriority(priority)));
}

void TTimerThread::Start() noexcept {
    ++period_;
    SetEvent(stopEvent_.Get());
    SetEvent(runGate_.Get());
}

void TTimerThread::Pause() noexcept {
    // A request already made belongs to the period that ends here.
    ++period_;
    ResetEvent(runGate_.Get());
}

void TTimerThread::DispatchDone() noexcept {
    SetEvent(dispatchDone_.Get());
}

DWORD WINAPI TTimerThread::ThreadProc(void* self) {
    static_cast<TTimerThread*>(self)->Execute();
    return 0;
}

void TTimerThread::Execute() noexcept {
    for (;;) {
        WaitForSingleObject(runGate_.Get(), INFINITE);
        if (terminated_)
            return;
        const unsigned period = period_;
        const int interval = interval_;
        // A negative interval never ends by itself; enabling or destruction
        // still wakes the thread.
        const DWORD wait = interval < 0 ? INFINITE : DWORD(interval);
        // Signalled means enabled again (a new period) or terminating: no
        // dispatch for the wait it ended.
        if (WaitForSingleObject(stopEvent_.Get(), wait) != WAIT_TIMEOUT)
            continue;
        if (terminated_)
            return;
        if (!IsCurrent(period) || WaitForSingleObject(runGate_.Get(), 0) != WAIT_OBJECT_0)
            continue;
        if (!owner_.RequestDispatch(period)) {
            // The window's queue is full; try again next period rather than
            // spin when the interval is 0.
            Sleep(10);
            continue;
        }
        // Blocked until the window's thread has run the dispatch, so that
        // dispatches never overlap and periods never pile up.
        WaitForSingleObject(dispatchDone_.Get(), INFINITE);
        if (terminated_)
            return;
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
    window_ = std::make_unique<DispatchWindow>(*this);
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
    enabled_ = enabled;
    if (!enabled)
        thread_->Pause();
    else if (thread_->Interval() != 0 || allowZero_)
        thread_->Start();
}

void TThreadedTimer::SetInterval(int milliseconds) {
    if (milliseconds == thread_->Interval())
        return;
    const bool wasEnabled = enabled_;
    SetEnabled(false);
    thread_->SetInterval(milliseconds);
    SetEnabled(wasEnabled);
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
