#include "SyncThread.h"

#include "Application.h"
#include "OsError.h"
#include "Window.h"

namespace brevalo::gui {

namespace {

// Sent by the worker: run the call. Posted by the worker: it is about to end.
constexpr UINT kRunMessage = WM_APP + 1;
constexpr UINT kFinishedMessage = WM_APP + 2;

} // namespace

// A message-only window of the window's thread that runs the call when the
// worker asks for it.
class SyncThread::Receiver : public Window {
public:
    explicit Receiver(SyncThread& owner) : owner_(owner) {
        CreateMessageOnlyHandle(L"BrevaloSyncThread");
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case kRunMessage:
            try {
                owner_.Synchronized();
            } catch (...) {
                Application::Instance().HandleException(std::current_exception());
            }
            return 0;
        case kFinishedMessage:
            // Deletes the owner and this window with it: touch nothing after.
            owner_.Finish();
            return 0;
        default:
            return DefaultHandler(message, wParam, lParam);
        }
    }

private:
    SyncThread& owner_;
};

SyncThread::SyncThread() : receiver_(std::make_unique<Receiver>(*this)) {}

SyncThread::~SyncThread() = default;

void SyncThread::Start(std::unique_ptr<SyncThread> thread) {
    thread->thread_.Reset(
        CreateThread(nullptr, 0, &SyncThread::ThreadProc, thread.get(), 0, nullptr));
    if (!thread->thread_)
        base::RaiseLastOsError();
    // The worker owns the object from here on.
    thread.release();
}

DWORD WINAPI SyncThread::ThreadProc(void* self) noexcept {
    auto* thread = static_cast<SyncThread*>(self);
    HWND receiver = thread->receiver_->Handle();
    bool run = false;
    try {
        run = thread->Work();
    } catch (...) {
        // Nothing to hand over.
    }
    // A sent message waits until the window's thread has handled it, and
    // returns at once should that window be gone (its thread has ended).
    if (run)
        SendMessageW(receiver, kRunMessage, 0, 0);
    thread->Done();
    // If this cannot be posted the object stays until the process ends; it
    // holds nothing beyond a window and a handle.
    PostMessageW(receiver, kFinishedMessage, 0, 0);
    return 0;
}

void SyncThread::Finish() noexcept {
    // The worker has nothing left to do but return.
    WaitForSingleObject(thread_.Get(), INFINITE);
    delete this;
}

} // namespace brevalo::gui
