#include "CountdownEngine.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brevalo {

namespace {

// The largest whole-day count the display handles; beyond it the count is
// held at this value so the conversion from double stays defined.
constexpr double MaxDays = std::numeric_limits<std::int32_t>::max();

// At least two digits, with a leading zero (the value is never negative).
std::string TwoDigits(long long value) {
    std::string text = std::to_string(value);
    if (text.size() < 2) {
        text.insert(0, 2 - text.size(), '0');
    }
    return text;
}

// True when the name has a character other than blanks and control
// characters (fixed-width sound names are padded with zeros).
bool HasSoundName(const std::string& name) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) > ' ') {
            return true;
        }
    }
    return false;
}

} // namespace

const char* const ClockChangeQuestion =
    "The system date time has been changed. This timer was created using a set length of "
    "time, which will be adversely effected by the change.\n\rWould you like to create a new "
    "timer? Click No to resume this timer or Cancel to close this timer.";

std::int64_t RemainingMilliseconds(DateTime remaining) {
    if (!(remaining > 0.0)) {
        return 0;
    }
    // Doubles hold every whole millisecond up to 2^53.
    const double ms = remaining * static_cast<double>(MsPerDay);
    if (!(ms < 9007199254740992.0)) {
        return -1;
    }
    return std::llround(ms);
}

std::int64_t RemainingWholeSeconds(DateTime remaining) {
    const std::int64_t ms = RemainingMilliseconds(remaining);
    return ms >= 0 ? ms / 1000 : std::int64_t(std::min(remaining * 86400.0, 9e18));
}

CountdownTexts RemainingTexts(DateTime remaining, const std::string& timeSeparator) {
    if (!(remaining > 0.0)) {
        remaining = 0.0;
    }
    const double wholeDays = std::trunc(remaining);
    long long days = static_cast<long long>(std::min(wholeDays, MaxDays));
    long long ms = std::llround((remaining - wholeDays) * static_cast<double>(MsPerDay));
    // A fraction within half a millisecond of a whole day rounds up to the
    // next day rather than wrapping to zero hours of the same day.
    if (ms >= MsPerDay) {
        ms -= MsPerDay;
        if (wholeDays < MaxDays) {
            ++days;
        }
    }
    const long long hours = ms / 3'600'000;
    const long long minutes = (ms / 60'000) % 60;
    const long long seconds = (ms / 1000) % 60;
    return {TwoDigits(days) + timeSeparator + TwoDigits(hours) + timeSeparator + TwoDigits(minutes),
            TwoDigits(seconds)};
}

CountdownEngine::CountdownEngine(CountdownHost& host, TimerSettings& settings,
                                 const ParseResult& parseResult)
    : host_(host), settings_(settings), parseResult_(parseResult) {}

void CountdownEngine::Start() {
    // The idle hook runs once; without an action file the countdown never
    // starts at all.
    if (started_ || parseResult_ == ParseActionMissing) {
        return;
    }
    started_ = true;
    host_.RemoveIdleHook();
    if (settings_.HideTitleBar) {
        host_.HideTitleBar();
    }
    host_.StartUpdateCheck();
    // One tick at once, so the digits are right before the first period.
    ThreadedTimer1Timer();
    SetTicker(true);
}

void CountdownEngine::ThreadedTimer1Timer() {
    if (finished_) {
        return;
    }
    if (parseResult_ != ParseOk) {
        SetTicker(false);
        return;
    }
    const std::string separator = host_.TimeSeparator();
    const DateTime remaining = settings_.EndTime - host_.Now();
    if (remaining >= 0.0) {
        ShowTexts(RemainingTexts(remaining, separator), remaining);
        if (host_.LabelsNeedLayout()) {
            host_.FormResize();
        }
        if (host_.IsMinimized()) {
            // The taskbar button shows the caption, so it carries the time.
            host_.SetCaption(shownMain_ + separator + shownSeconds_);
        }
        if (host_.IsMaximized()) {
            host_.HideIdleCursor();
        }
        AlignTicker(remaining);
        return;
    }

    SetTicker(false);
    finished_ = true;
    const CountdownTexts zero = RemainingTexts(0.0, separator);
    shownSeconds_ = zero.seconds;
    host_.SetLabel2Text(zero.seconds);
    shownMain_ = zero.main;
    host_.SetLabel1Text(zero.main);
    host_.RemainingShown(0);
    host_.RunCompletion();
}

void CountdownEngine::ShowTexts(const CountdownTexts& texts, DateTime remaining) {
    if (texts.seconds != shownSeconds_) {
        // A new second has begun. A tick that came late (a busy machine)
        // brings one change close to the next; the sound is skipped then
        // rather than played twice in one second.
        if (HasSoundName(settings_.TickSound)) {
            const std::uint32_t now = host_.TickCount();
            if (static_cast<std::uint32_t>(now - lastTickSoundTick_) >=
                TickSoundGapMs - TickSoundSlackMs) {
                host_.PlayTickSound();
            }
            lastTickSoundTick_ = now;
        }
        shownSeconds_ = texts.seconds;
        host_.SetLabel2Text(texts.seconds);
        host_.RemainingShown(RemainingWholeSeconds(remaining));
    }
    if (texts.main != shownMain_) {
        shownMain_ = texts.main;
        host_.SetLabel1Text(texts.main);
    }
}

void CountdownEngine::AlignTicker(DateTime remaining) {
    const std::int64_t ms = RemainingMilliseconds(remaining);
    if (ms < 0) {
        return; // too far off for milliseconds to matter
    }
    // The seconds label changes when the remaining time drops below a whole
    // second, which lies on the grid; the margin puts the tick just past it,
    // so the change is seen at once, and the completion just after zero. A
    // tick that woke early or late lands back on the grid with the next one.
    host_.SetNextTickDelay(static_cast<std::uint32_t>(ms % TickPeriodMs + TickPhaseMarginMs));
}

void CountdownEngine::SetTicker(bool running) {
    running_ = running;
    host_.SetThreadedTimer1Enabled(running);
    // Counting again after a pause or a question: back onto the grid.
    if (running) {
        AlignTicker(settings_.EndTime - host_.Now());
    }
}

void CountdownEngine::SetLabelsVisible(bool visible) {
    labelsVisible_ = visible;
    host_.SetLabelsVisible(visible);
}

void CountdownEngine::PauseToggle() {
    if (settings_.PauseDisabled) {
        return;
    }
    // Before the start nothing counts yet and there is no pause to measure.
    if (!started_) {
        return;
    }
    const bool running = running_;
    if (running) {
        pauseStartTick_ = host_.TickCount();
    } else {
        // Unsigned difference: right across the tick counter's wrap. Only
        // whole seconds are added to the end time.
        const std::uint32_t pausedMs = host_.TickCount() - pauseStartTick_;
        const double pausedSeconds = static_cast<double>(pausedMs / 1000);
        settings_.EndTime = (settings_.EndTime * 86400.0 + pausedSeconds) / 86400.0;
    }
    if (!labelsVisible_) {
        SetLabelsVisible(true);
    }
    SetTicker(!running);
    host_.SetThreadedTimer2Enabled(running);
}

void CountdownEngine::ThreadedTimer2Timer() {
    SetLabelsVisible(!labelsVisible_);
}

void CountdownEngine::ClockChanged() {
    // A timer set to a date-time keeps counting to that wall-clock moment;
    // only a length of time is upset by a new clock.
    if (State() != CountdownState::Running || !settings_.IsRelative) {
        return;
    }
    SetTicker(false);
    if (host_.IsMinimized()) {
        host_.RestoreWindow();
    }
    host_.ForceForeground();
    const QuestionAnswer answer = host_.AskInformationYesNoCancel(ClockChangeQuestion);
    if (answer == QuestionAnswer::No) {
        // Keep counting to the same end time against the new clock.
        SetTicker(true);
        return;
    }
    finished_ = true;
    settings_.CloseMode = CloseMode::Ask;
    host_.CloseWindow();
    if (answer == QuestionAnswer::Yes) {
        host_.StartFrontEnd();
    }
}

CountdownState CountdownEngine::State() {
    if (finished_) {
        return CountdownState::Finished;
    }
    if (!started_) {
        return CountdownState::NotStarted;
    }
    if (parseResult_ != ParseOk) {
        return CountdownState::NotCounting;
    }
    return running_ ? CountdownState::Running : CountdownState::Paused;
}

} // namespace brevalo
