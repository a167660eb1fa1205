// The timer's completion sequence: what happens once the countdown reaches
// zero, from bringing the window back to closing it.
#pragma once

#include "TimerSettings.h"

#include <windows.h>

#include <memory>

namespace brevalo {

namespace gui {
class Application;
}

// What the sequence needs of the timer window beyond its handle.
class CompletionHost {
public:
    virtual ~CompletionHost() = default;
    // The timer window; null once it is gone.
    virtual HWND Window() = 0;
    // Removes the Run value this timer wrote, if any.
    virtual void RemoveRunValue() = 0;
    // Posts "WM_TIME_UP" to every top-level window.
    virtual void BroadcastTimeUp() = 0;
    // Swaps the digit and background colours (one step of the flash).
    virtual void InvertColours() = 0;
    // Starts the action; throws when the shell refuses it.
    virtual void StartAction() = 0;
    // Closes the window through its close handling.
    virtual void CloseWindow() = 0;
    // Switches the screen saver on again if the timer switched it off.
    virtual void ReleaseScreenSaver() = 0;
};

// In order: the window is restored and brought forward (unless /i), the
// completion sound starts, a worker asks for the flash, the Run value of /r
// is removed, "WM_TIME_UP" goes out, closing no longer asks, the screen
// saver is given back as it was, the action starts, the flash (eight colour
// swaps 450 ms apart) runs, and the window closes unless /v. An action that
// fails, or whose file has gone, is reported and the window stays open,
// finished, as the reminder.
//
// The flash is asked for by a worker so that it runs between two messages of
// the window's thread, but never before the sequence has reached its wait:
// the broadcast and the action are not held up by it.
class TCompletion : public std::enable_shared_from_this<TCompletion> {
public:
    TCompletion(CompletionHost& host, TimerSettings& settings, gui::Application& app)
        : host_(host), settings_(settings), app_(app) {}

    // Runs the sequence; called once, on the window's thread, from the tick.
    // The object must be owned by a shared_ptr.
    void Run();

private:
    class FlashRequest;

    void FlashRequested();
    void Flash();
    void WaitForFlash();

    CompletionHost& host_;
    TimerSettings& settings_;
    gui::Application& app_;
    bool flashRequested_ = false;
    bool flashAllowed_ = false;
    bool flashDone_ = false;
};

} // namespace brevalo
