// The timer's completion sequence: what happens once the countdown reaches
// zero, from bringing the window back to closing it.
#pragma once

#include "TimerSettings.h"
#include "Window.h"

#include <windows.h>


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
    // Whether the user must not be interrupted (gui::UserIsBusy).
    virtual bool UserIsBusy() = 0;
    // Brings the window to the foreground, or flashes its taskbar button
    // until the user activates it.
    virtual void TakeForeground() = 0;
    virtual void FlashTaskbarButton() = 0;
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
// completion sound starts, the window is painted, the Run value of /r is
// removed, "WM_TIME_UP" goes out, closing no longer asks, the screen saver
// is given back as it was, the action starts, the flash (eight colour swaps
// 450 ms apart) runs, and the window closes unless /v. An action that fails,
// or whose file has gone, is reported and the window stays open, finished,
// as the reminder. While the user must not be interrupted (a presentation, a
// full-screen program, quiet time) the window is restored without being
// activated, neither takes the foreground nor the top of the window order,
// and flashes its taskbar button instead; the rest happens as usual.
//
// Everything up to the flash happens in Run, inside the tick that found the
// end. The flash runs on the messages of a message-only window of its own:
// the timer window's thread never sleeps or pumps messages inside the tick,
// so the window answers throughout, and destroying it (which destroys this
// object with its window and timer) ends the sequence wherever it is.
class TCompletion : private gui::Window {
public:
    // Time between two colour swaps of the flash, and how many there are.
    static constexpr UINT FlashIntervalMs = 450;
    static constexpr int FlashInversions = 8;

    TCompletion(CompletionHost& host, TimerSettings& settings, gui::Application& app)
        : host_(host), settings_(settings), app_(app) {}

    // Runs the sequence up to the first colour swap; called once, on the
    // window's thread, from the tick.
    void Run();
    // True once the flash is over and the window has been asked to close
    // where it closes.
    bool Done() const noexcept { return done_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void StartFlash();
    // One colour swap; after the last one's interval, the end of the sequence.
    void FlashStep();

    CompletionHost& host_;
    TimerSettings& settings_;
    gui::Application& app_;
    int inversions_ = 0;
    bool closeAtEnd_ = false;
    bool busy_ = false;
    bool done_ = false;
};

} // namespace brevalo
