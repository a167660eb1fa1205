// The countdown of one timer: recomputes the remaining time from the end time
// and the wall clock five times a second, writes the two digit labels, hands
// over to the completion sequence at the end, and handles pause, blink and a
// change of the system clock.
#pragma once

#include "CountdownHost.h"
#include "DateTime.h"
#include "TimerSettings.h"

#include <cstdint>
#include <string>

namespace brevalo {

enum class CountdownState { NotStarted, Running, Paused, Finished, NotCounting };

// The remaining time in whole milliseconds (rounded), or -1 when it is too
// large to be held to the millisecond.
std::int64_t RemainingMilliseconds(DateTime remaining);

// The whole seconds the digits show for a remaining time (not negative):
// rounded to the millisecond and cut to the second, or, where milliseconds
// cannot be held, the seconds themselves, held within the 64-bit range.
std::int64_t RemainingWholeSeconds(DateTime remaining);

// The texts of the two digit labels for a remaining time (days, not
// negative): days, hours and minutes joined by the separator, and the
// seconds, each at least two digits. The remaining time is rounded down to
// the whole second.
struct CountdownTexts {
    std::string main;
    std::string seconds;
};
CountdownTexts RemainingTexts(DateTime remaining, const std::string& timeSeparator);

// The question asked when the system clock changes under a running timer
// that was given as a length of time.
extern const char* const ClockChangeQuestion;

class CountdownEngine {
public:
    // Shortest gap between two tick sounds, in milliseconds: a second
    // change sooner than this after the last one is silent. The ticks land
    // just after each second, so two changes a second apart may measure a
    // little under 1000 ms by the tick counter; the slack keeps those
    // seconds audible.
    static constexpr std::uint32_t TickSoundGapMs = 1000;
    static constexpr std::uint32_t TickSoundSlackMs = 50;
    // The ticker's period, and how long after a whole second of the
    // remaining time its ticks land.
    static constexpr std::int64_t TickPeriodMs = 200;
    static constexpr std::int64_t TickPhaseMarginMs = 2;
    // What the labels show before the first tick.
    static constexpr const char* InitialMainText = "00:00:00";
    static constexpr const char* InitialSecondsText = "00";

    // The engine keeps references to the window's settings and parse result;
    // both must outlive it.
    CountdownEngine(CountdownHost& host, TimerSettings& settings, const ParseResult& parseResult);

    // Runs once, at the first idle moment after the window was created.
    void Start();
    // The tick, every 200 ms while the ticker runs.
    void ThreadedTimer1Timer();
    // The space bar's key-up: pauses a running countdown, resumes a paused one.
    void PauseToggle();
    // The blink, every 750 ms while paused.
    void ThreadedTimer2Timer();
    // The system date or time was changed.
    void ClockChanged();

    CountdownState State();

    bool Finished() const { return finished_; }
    void SetFinished(bool finished) { finished_ = finished; }
    std::uint32_t PauseStartTick() const { return pauseStartTick_; }
    std::uint32_t LastTickSoundTick() const { return lastTickSoundTick_; }

private:
    void ShowTexts(const CountdownTexts& texts, DateTime remaining);
    // Asks for the next tick just after the next point of the 200 ms grid
    // that the remaining time's whole seconds fall on.
    void AlignTicker(DateTime remaining);
    void SetTicker(bool running);
    void SetLabelsVisible(bool visible);

    CountdownHost& host_;
    TimerSettings& settings_;
    const ParseResult& parseResult_;
    bool started_ = false;
    bool finished_ = false;
    // The ticker runs (counting) or not (paused, stopped).
    bool running_ = false;
    // What the labels show, as the engine last wrote it.
    std::string shownMain_ = InitialMainText;
    std::string shownSeconds_ = InitialSecondsText;
    bool labelsVisible_ = true;
    std::uint32_t pauseStartTick_ = 0;
    std::uint32_t lastTickSoundTick_ = 0;
};

} // namespace brevalo
