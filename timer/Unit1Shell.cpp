// The timer window's progress on its taskbar button and what it tells
// screen readers.
#include "Unit1.h"

#include "Accessible.h"
#include "RemainingWords.h"

#include <algorithm>

namespace brevalo {

// The ticker starts for the first time: counting has begun (a line that
// cannot count starts it too, and shows nothing). The first tick, just
// before, fixed the length when it showed new seconds. A timer set to a date
// counts from here to its end.
void TForm1::CountingStarted() {
    if (countingStarted_)
        return;
    countingStarted_ = true;
    if (lengthSeconds_ == 0) {
        // The digits still show the seconds they started with.
        shownRemaining_ = RemainingWholeSeconds(settings_.EndTime - Now());
        lengthSeconds_ = shownRemaining_ + 1;
    }
    ShowProgress(true);
}

void TForm1::RemainingShown(std::int64_t remainingSeconds) {
    shownRemaining_ = remainingSeconds;
    if (lengthSeconds_ == 0)
        lengthSeconds_ = remainingSeconds + 1;
    // The engine is finished only when it shows the end.
    timeUp_ = engine_.Finished();
    if (timeUp_ || AnnouncesRemaining(remainingSeconds))
        gui::NotifyAccessibleChange(Handle(), EVENT_OBJECT_VALUECHANGE);
    ShowProgress(true);
}

void TForm1::PauseToggled(CountdownState before) {
    if (engine_.State() == before)
        return;
    ShowProgress(false);
    gui::NotifyAccessibleChange(Handle(), EVENT_OBJECT_STATECHANGE);
}

// The shell has made the button, at the start or again after the shell
// itself restarted: the new button shows nothing until told.
void TForm1::TaskbarButtonCreated() {
    if (!taskbar_)
        taskbar_ = TaskbarSource(Handle());
    taskbarState_ = TaskbarState::None;
    ShowProgress(true);
}

void TForm1::ShowProgress(bool withValue) {
    if (!taskbar_)
        return;
    const TaskbarState state = ProgressState();
    // The value comes first: on a button without progress it shows the
    // normal state, which the state then changes.
    if (withValue && state != TaskbarState::None) {
        const std::int64_t length = std::max<std::int64_t>(lengthSeconds_, 1);
        const std::int64_t passed =
            state == TaskbarState::Error
                ? length
                : std::clamp<std::int64_t>(length - 1 - shownRemaining_, 0, length);
        taskbar_->SetValue(std::uint64_t(passed), std::uint64_t(length));
    }
    if (state != taskbarState_) {
        taskbar_->SetState(state);
        taskbarState_ = state;
    }
}

TaskbarState TForm1::ProgressState() {
    // The first tick comes before the ticker runs, when the engine does not
    // count yet; unless that tick ends the countdown, it shows nothing.
    if (!countingStarted_ && !timeUp_)
        return TaskbarState::None;
    switch (engine_.State()) {
    case CountdownState::Running:
        return TaskbarState::Normal;
    case CountdownState::Paused:
        return TaskbarState::Paused;
    case CountdownState::Finished:
        return timeUp_ ? TaskbarState::Error : TaskbarState::None;
    case CountdownState::NotStarted:
    case CountdownState::NotCounting:
        break;
    }
    return TaskbarState::None;
}

TimerActivity TForm1::AccessibleActivity() {
    switch (engine_.State()) {
    case CountdownState::Running:
        return TimerActivity::Counting;
    case CountdownState::Paused:
        return TimerActivity::Paused;
    default:
        return TimerActivity::Other;
    }
}

} // namespace brevalo
