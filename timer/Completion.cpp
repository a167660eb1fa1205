#include "Completion.h"

#include "Application.h"
#include "Files.h"
#include "Sounds.h"

#include <stdexcept>

namespace brevalo {

namespace {

constexpr UINT_PTR FlashTimer = 1;

} // namespace

void TCompletion::Run() {
    inversions_ = 0;
    done_ = false;
    const HWND window = host_.Window();
    busy_ = host_.UserIsBusy();
    if (IsIconic(window))
        ShowWindow(window, busy_ ? SW_SHOWNOACTIVATE : SW_RESTORE);
    if (busy_)
        host_.FlashTaskbarButton();
    else if (!settings_.NoBringToFront)
        host_.TakeForeground();
    PlayResourceSound(settings_.DoneSound);
    // The restored window shows zero before the announcement goes out.
    UpdateWindow(window);
    if (settings_.ResumeAfterRestart)
        host_.RemoveRunValue();
    host_.BroadcastTimeUp();
    settings_.CloseMode = CloseMode::Ask;
    host_.ReleaseScreenSaver();
    closeAtEnd_ = !settings_.KeepOpenWhenDone;
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
            closeAtEnd_ = false;
        }
    }
    StartFlash();
}

void TCompletion::StartFlash() {
    const HWND window = host_.Window();
    if (!window)
        return;
    if (!Handle())
        CreateMessageOnlyHandle(L"BrevaloCompletion");
    if (!busy_)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    FlashStep();
    SetTimer(Handle(), FlashTimer, FlashIntervalMs, nullptr);
}

void TCompletion::FlashStep() {
    const HWND window = host_.Window();
    if (inversions_ == FlashInversions || !window) {
        KillTimer(Handle(), FlashTimer);
        done_ = true;
        if (closeAtEnd_ && window)
            host_.CloseWindow();
        return;
    }
    ++inversions_;
    host_.InvertColours();
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

LRESULT TCompletion::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == FlashTimer) {
        if (!done_)
            FlashStep();
        return 0;
    }
    return gui::Window::HandleMessage(message, wParam, lParam);
}

} // namespace brevalo
