#include "Completion.h"

#include "Application.h"
#include "Files.h"
#include "Foreground.h"
#include "Sounds.h"
#include "SyncThread.h"

#include <stdexcept>

namespace brevalo {

// The worker that asks for the flash. It holds the sequence weakly: a timer
// window gone before the request arrives is left alone.
class TCompletion::FlashRequest : public gui::SyncThread {
public:
    explicit FlashRequest(std::weak_ptr<TCompletion> completion)
        : completion_(std::move(completion)) {}

private:
    void Synchronized() override {
        if (const auto completion = completion_.lock())
            completion->FlashRequested();
    }
    std::weak_ptr<TCompletion> completion_;
};

void TCompletion::Run() {
    flashRequested_ = flashAllowed_ = flashDone_ = false;
    const HWND window = host_.Window();
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    if (!settings_.NoBringToFront)
        gui::ForceForeground(window);
    PlayResourceSound(settings_.DoneSound);
    gui::SyncThread::Start(std::make_unique<FlashRequest>(weak_from_this()));
    app_.ProcessMessages();
    if (settings_.ResumeAfterRestart)
        host_.RemoveRunValue();
    host_.BroadcastTimeUp();
    settings_.CloseMode = CloseMode::Ask;
    host_.ReleaseScreenSaver();
    if (!settings_.ActionFile.empty()) {
        try {
            // A file that has gone since the timer started is an action that
            // did not happen, as much as one the shell refused.
            if (!os::FileExists(settings_.ActionFile))
                throw std::runtime_error("Action file " + settings_.ActionFile +
                                         " cannot be found.");
            host_.StartAction();
        } catch (...) {
            // The user must learn that the action did not start; the window
            // stays open, finished, as the reminder.
            app_.HandleException(std::current_exception());
            WaitForFlash();
            return;
        }
    }
    WaitForFlash();
    if (!settings_.KeepOpenWhenDone)
        host_.CloseWindow();
}

void TCompletion::FlashRequested() {
    flashRequested_ = true;
    if (flashAllowed_ && !flashDone_)
        Flash();
}

void TCompletion::Flash() {
    flashRequested_ = false;
    SetWindowPos(host_.Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (int i = 0; i < 8 && host_.Window(); ++i) {
        host_.InvertColours();
        app_.ProcessMessages();
        const HWND window = host_.Window();
        if (!window)
            break;
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        Sleep(450);
    }
    flashDone_ = true;
}

void TCompletion::WaitForFlash() {
    flashAllowed_ = true;
    if (flashRequested_)
        Flash();
    // The worker's request may still be on its way; pump until it has run.
    // A window closed meanwhile, or the end of the program, ends the wait.
    while (!flashDone_ && host_.Window() && !app_.Terminated()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        app_.ProcessMessages();
    }
}

} // namespace brevalo
