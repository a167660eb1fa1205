// A short-lived worker thread around one synchronised call: it may first do
// work of its own that must not hold up the window's thread (Work), then
// asks the thread that started it (the window's thread) to run the call,
// waits until that thread has run it, tidies up on its own side (Done), and
// ends. The call therefore runs between two messages of whatever message
// loop the window's thread is in at the time (the main loop, a modal dialog,
// a message box), never alongside the program's other work.
//
// The object owns itself once started: it is deleted on the window's thread
// after its call has run and its worker has ended. Nobody joins or frees it.
#pragma once

#include "Handle.h"

#include <windows.h>

#include <memory>

namespace brevalo::gui {

class SyncThread {
public:
    SyncThread(const SyncThread&) = delete;
    SyncThread& operator=(const SyncThread&) = delete;
    virtual ~SyncThread();

    // Starts the worker of `thread`, which then runs on its own. Call it on
    // the window's thread; throws OsError when the worker cannot be started.
    static void Start(std::unique_ptr<SyncThread> thread);

protected:
    // Prepares the hand-over on the calling thread, the window's thread.
    SyncThread();

    // Runs first, on the worker. Returns whether the call is to run; an error
    // it raises counts as false. It must touch nothing of the window's thread.
    virtual bool Work() { return true; }
    // The call, run once on the window's thread. An error it raises goes to
    // the application's error handler.
    virtual void Synchronized() = 0;
    // Runs last, on the worker, whether or not the call ran; must not throw.
    virtual void Done() noexcept {}

private:
    class Receiver;

    static DWORD WINAPI ThreadProc(void* self) noexcept;
    void Finish() noexcept;

    std::unique_ptr<Receiver> receiver_;
    base::KernelHandle thread_;
};

} // namespace brevalo::gui
