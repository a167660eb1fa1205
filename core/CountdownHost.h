// What the countdown engine needs from the timer window, and the effects it
// has on it. The window implements this interface; the tests supply fakes.
#pragma once

#include "DateTime.h"

#include <cstdint>
#include <string>

namespace brevalo {

// The three answers of a Yes / No / Cancel question. Dismissing the box
// (Escape, the close button) counts as Cancel.
enum class QuestionAnswer { Yes, No, Cancel };

class CountdownHost {
public:
    virtual ~CountdownHost() = default;

    // The clock: the local date and time to the millisecond, and the system's
    // 32-bit millisecond tick counter (which wraps after about 49.7 days).
    virtual DateTime Now() = 0;
    virtual std::uint32_t TickCount() = 0;
    // The user's time separator, for example ":" or ".".
    virtual std::string TimeSeparator() = 0;

    // The 200 ms ticker and the 750 ms blinker.
    virtual void SetThreadedTimer1Enabled(bool enabled) = 0;
    virtual void SetThreadedTimer2Enabled(bool enabled) = 0;
    // Sets the ticker's phase: its next tick comes this many milliseconds
    // from now, and later ones follow at its interval from that tick. The
    // phase holds for the next tick only; each tick asks again.
    virtual void SetNextTickDelay(std::uint32_t milliseconds) = 0;

    // The two digit labels: days, hours and minutes, and the seconds. The
    // engine remembers what it wrote; the window writes them only before
    // the start (CountdownEngine::InitialMainText and InitialSecondsText).
    virtual void SetLabel1Text(const std::string& text) = 0;
    virtual void SetLabel2Text(const std::string& text) = 0;
    virtual void SetLabelsVisible(bool visible) = 0;
    // The seconds label has just changed to show this many whole seconds
    // left (0 once the time is up).
    virtual void RemainingShown(std::int64_t remainingSeconds) = 0;

    // Whether the labels are out of place, the seconds no longer at the
    // layout's gap right of the other digits (their width changed), and the
    // layout that places them.
    virtual bool LabelsNeedLayout() = 0;
    virtual void FormResize() = 0;

    // The window.
    virtual bool IsMinimized() = 0;
    virtual bool IsMaximized() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void RestoreWindow() = 0;
    virtual bool ForceForeground() = 0;
    // Hides the mouse pointer when it has been still for more than 3000 ms.
    virtual void HideIdleCursor() = 0;
    // Closes the window through its close handling. The engine carries on
    // after this call returns, so the window must not be destroyed inside it.
    virtual void CloseWindow() = 0;

    // The start at the first idle moment.
    virtual void RemoveIdleHook() = 0;
    virtual void HideTitleBar() = 0;
    virtual void StartUpdateCheck() = 0;

    // Sounds and the completion sequence.
    virtual void PlayTickSound() = 0;
    // Called from inside the tick; like CloseWindow, it must not destroy the
    // window (and with it the engine) before returning.
    virtual void RunCompletion() = 0;

    // An information box (caption "Information") with Yes, No and Cancel.
    virtual QuestionAnswer AskInformationYesNoCancel(const std::string& message) = 0;
    // Starts the program's own executable with no arguments (the timer
    // creation front end). Throws when the start fails.
    virtual void StartFrontEnd() = 0;
};

} // namespace brevalo
