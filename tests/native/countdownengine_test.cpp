#include "CountdownEngine.h"
#include "DigitLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

using namespace brevalo;

namespace {

// A window without a window: records every effect in order, and lets the
// test move the wall clock and the tick counter.
class FakeHost : public CountdownHost {
public:
    DateTime now = 45'000.5;
    std::uint32_t tick = 100'000;
    std::string separator = ":";
    bool timer1 = false;
    bool timer2 = false;
    std::string label1 = "00:00:00";
    std::string label2 = "00";
    bool visible = true;
    int label1Left = 10;
    int label2Left = 10 + 80 + DigitGap; // in place for the initial "00:00:00"
    bool minimized = false;
    bool maximized = false;
    std::string caption = "Timer";
    QuestionAnswer answer = QuestionAnswer::No;
    std::string question;
    bool failCompletion = false;
    bool failFrontEnd = false;
    std::vector<std::string> log;
    std::vector<std::uint32_t> delays;  // each SetNextTickDelay
    std::vector<std::int64_t> shown;    // each RemainingShown

    int Count(const std::string& entry) const {
        return static_cast<int>(std::count(log.begin(), log.end(), entry));
    }
    int CountPrefix(const std::string& prefix) const {
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
    }

    DateTime Now() override { return now; }
    std::uint32_t TickCount() override { return tick; }
    std::string TimeSeparator() override { return separator; }
    void SetThreadedTimer1Enabled(bool on) override {
        timer1 = on;
        log.push_back(on ? "Timer1:on" : "Timer1:off");
    }
    void SetNextTickDelay(std::uint32_t ms) override { delays.push_back(ms); }
    void RemainingShown(std::int64_t seconds) override { shown.push_back(seconds); }
    void SetThreadedTimer2Enabled(bool on) override {
        timer2 = on;
        log.push_back(on ? "Timer2:on" : "Timer2:off");
    }
    void SetLabel1Text(const std::string& text) override {
        label1 = text;
        log.push_back("Label1=" + text);
    }
    void SetLabel2Text(const std::string& text) override {
        label2 = text;
        log.push_back("Label2=" + text);
    }
    void SetLabelsVisible(bool v) override { visible = v; }
    // An auto-sizing label: ten pixels per character.
    int Label1Width() const { return 10 * static_cast<int>(label1.size()); }
    bool LabelsNeedLayout() override { return label1Left + Label1Width() + DigitGap != label2Left; }
    void FormResize() override {
        label2Left = label1Left + Label1Width() + DigitGap;
        log.push_back("Resize");
    }
    bool IsMinimized() override { return minimized; }
    bool IsMaximized() override { return maximized; }
    void SetCaption(const std::string& text) override {
        caption = text;
        log.push_back("Caption=" + text);
    }
    void RestoreWindow() override {
        minimized = false;
        log.push_back("Restore");
    }
    bool ForceForeground() override {
        log.push_back("Foreground");
        return true;
    }
    void HideIdleCursor() override { log.push_back("HideCursor"); }
    void CloseWindow() override { log.push_back("Close"); }
    void RemoveIdleHook() override { log.push_back("RemoveIdleHook"); }
    void HideTitleBar() override { log.push_back("HideTitleBar"); }
    void StartUpdateCheck() override { log.push_back("StartUpdateCheck"); }
    void PlayTickSound() override { log.push_back("TickSound"); }
    void RunCompletion() override {
        log.push_back(timer1 ? "Completion(ticker on)" : "Completion");
        if (failCompletion) {
            throw std::runtime_error("action failed");
        }
    }
    QuestionAnswer AskInformationYesNoCancel(const std::string& message) override {
        question = message;
        log.push_back("Ask");
        return answer;
    }
    void StartFrontEnd() override {
        log.push_back("StartFrontEnd");
        if (failFrontEnd) {
            throw std::runtime_error("start failed");
        }
    }
};

class CountdownEngineTest : public ::testing::Test {
protected:
    FakeHost host;
    TimerSettings settings;
    ParseResult parse = ParseOk;
    CountdownEngine engine{host, settings, parse};

    void EndIn(double seconds) {
        settings.EndTime = host.now + seconds / 86400.0;
        settings.IsRelative = true;
    }
    // Moves the wall clock and the tick counter on together.
    void Advance(std::uint32_t ms) {
        host.now += ms / 86'400'000.0;
        host.tick += ms;
    }
    void Tick(std::uint32_t ms) {
        Advance(ms);
        engine.ThreadedTimer1Timer();
    }
};

TEST(RemainingTextsTest, ShowsWholeSecondsAndDaysBeyondTwoDigits) {
    auto texts = RemainingTexts(90.4 / 86400, ":");
    EXPECT_EQ(texts.main, "00:00:01");
    EXPECT_EQ(texts.seconds, "30");
    texts = RemainingTexts(2 + (3 * 3600 + 4 * 60 + 5.7) / 86400, ":");
    EXPECT_EQ(texts.main, "02:03:04");
    EXPECT_EQ(texts.seconds, "05");
    texts = RemainingTexts(150 + 10.5 / 86400, ":");
    EXPECT_EQ(texts.main, "150:00:00");
    EXPECT_EQ(texts.seconds, "10");
    texts = RemainingTexts((5 * 3600 + 30 * 60 + 12) / 86400.0, ".");
    EXPECT_EQ(texts.main, "00.05.30");
    EXPECT_EQ(texts.seconds, "12");
    // 0.999 s left still reads zero seconds: the display rounds down.
    EXPECT_EQ(RemainingTexts(0.999 / 86400, ":").seconds, "00");
    EXPECT_EQ(RemainingTexts(59.5 / 86400, ":").seconds, "59");
}

TEST(RemainingTextsTest, FractionJustBelowAWholeDayCarriesIntoTheDays) {
    // 0.3 ms short of two days: the milliseconds round to a whole day.
    const auto texts = RemainingTexts(2 - 0.0003 / 86400, ":");
    EXPECT_EQ(texts.main, "02:00:00");
    EXPECT_EQ(texts.seconds, "00");
    EXPECT_EQ(RemainingTexts(0.0, ":").main, "00:00:00");
}

TEST_F(CountdownEngineTest, TicksShowTheRemainingTimeAndFollowTheClock) {
    EndIn(90.4);
    engine.Start();
    EXPECT_EQ(host.label1, "00:00:01");
    EXPECT_EQ(host.label2, "30");
    EXPECT_EQ(engine.State(), CountdownState::Running);
    Tick(1000);
    EXPECT_EQ(host.label1, "00:00:01");
    EXPECT_EQ(host.label2, "29");
    // A clock set forward by a minute shows at once.
    host.now += 60.0 / 86400;
    engine.ThreadedTimer1Timer();
    EXPECT_EQ(host.label1, "00:00:00");
    EXPECT_EQ(host.label2, "29");
}

// Ticks land just after the grid of the remaining time's whole seconds and
// fifths of a second: each one asks for the next on that grid, so a late
// tick shifts none after it, and the drift of an hour is nil.
TEST_F(CountdownEngineTest, EachTickAsksForTheNextJustAfterTheSecondsGrid) {
    EndIn(3599.05);
    engine.Start();
    ASSERT_FALSE(host.delays.empty());
    EXPECT_EQ(host.delays.back(), 52u); // to 3599.000 s left, plus the margin
    EXPECT_EQ(host.shown, (std::vector<std::int64_t>{3599}));

    // Every tick a little late, some very late, for the whole hour.
    std::uint32_t jitter = 7;
    int changes = 0;
    std::string seconds = host.label2;
    while (!engine.Finished()) {
        jitter = (jitter * 37 + 11) % 23; // 0..22 ms
        const std::uint32_t late = host.delays.size() % 97 == 0 ? 170 : jitter;
        Tick(host.delays.back() + late);
        if (engine.Finished()) {
            break;
        }
        const std::int64_t left = RemainingMilliseconds(settings.EndTime - host.now);
        // The tick was asked for 2 ms past a point of the grid (give or take
        // the fake clock's rounding, which adds up over the hour).
        const std::int64_t offGrid = (left + 2 + late + 1) % 200;
        EXPECT_LE(offGrid, 2) << "at " << left << " ms left";
        if (host.label2 != seconds) {
            ++changes;
            seconds = host.label2;
            // The change is seen within the lateness of its tick.
            EXPECT_GE(1000 - left % 1000, 2);
            EXPECT_LE(1000 - left % 1000, 2 + 170);
        }
    }
    EXPECT_EQ(changes, 3599);
    // 3599 at the start, 3598 .. 0 while counting, and 0 at the end.
    ASSERT_EQ(host.shown.size(), 3601u);
    EXPECT_EQ(host.shown[3599], 0);
    EXPECT_EQ(host.shown.back(), 0);

    // Resuming after a pause goes back onto the grid at once.
    FakeHost paused;
    TimerSettings pausedSettings;
    pausedSettings.EndTime = paused.now + 10.5 / 86400;
    CountdownEngine pausing{paused, pausedSettings, parse};
    pausing.Start();
    pausing.PauseToggle();
    paused.now += 1300 / 86'400'000.0;
    paused.tick += 1300;
    pausing.PauseToggle(); // the end moves by one whole second
    EXPECT_EQ(paused.delays.back(), 10'200 % 200 + 2u);
}

TEST_F(CountdownEngineTest, LabelsAreWrittenOnlyWhenTheirTextChanges) {
    EndIn(600.9); // 00:00:10 and 00
    engine.Start();
    EXPECT_EQ(host.Count("Label1=00:00:10"), 1);
    EXPECT_EQ(host.CountPrefix("Label2="), 0); // already "00"
    for (int i = 0; i < 4; ++i) {
        Tick(200);
    }
    EXPECT_EQ(host.CountPrefix("Label1="), 1);
    EXPECT_EQ(host.CountPrefix("Label2="), 0);
    Tick(200); // 599.9 s left
    EXPECT_EQ(host.label1, "00:00:09");
    EXPECT_EQ(host.label2, "59");
    EXPECT_EQ(host.CountPrefix("Label1="), 2);
    EXPECT_EQ(host.CountPrefix("Label2="), 1);
}

TEST_F(CountdownEngineTest, LayoutRunsOnlyWhenTheSecondsLabelIsOutOfPlace) {
    EndIn(3600.5);
    engine.Start();
    EXPECT_EQ(host.Count("Resize"), 0); // "00:01:00" is as wide as "00:00:00"
    EndIn(150 * 86400.0 + 10.5);
    engine.ThreadedTimer1Timer();
    EXPECT_EQ(host.label1, "150:00:00");
    EXPECT_EQ(host.Count("Resize"), 1);
    engine.ThreadedTimer1Timer();
    EXPECT_EQ(host.Count("Resize"), 1);
    host.label2Left += 3;
    engine.ThreadedTimer1Timer();
    EXPECT_EQ(host.Count("Resize"), 2);
}

TEST_F(CountdownEngineTest, WindowStateDecidesCaptionAndCursorRule) {
    EndIn(5 * 60 + 30.5);
    engine.Start();
    EXPECT_EQ(host.CountPrefix("Caption="), 0);
    EXPECT_EQ(host.Count("HideCursor"), 0);
    host.minimized = true;
    Tick(200);
    EXPECT_EQ(host.caption, "00:00:05:30");
    host.minimized = false;
    host.maximized = true;
    Tick(200);
    Tick(200);
    EXPECT_EQ(host.Count("HideCursor"), 2);
    EXPECT_EQ(host.CountPrefix("Caption="), 1);
}

TEST_F(CountdownEngineTest, DotSeparatorReachesLabelsCaptionAndCompletion) {
    host.separator = ".";
    host.minimized = true;
    EndIn(5 * 3600 + 30 * 60 + 12.5);
    engine.Start();
    EXPECT_EQ(host.label1, "00.05.30");
    EXPECT_EQ(host.label2, "12");
    EXPECT_EQ(host.caption, "00.05.30.12");
    host.now = settings.EndTime + 0.1 / 86400;
    engine.ThreadedTimer1Timer();
    EXPECT_EQ(host.label1, "00.00.00");
}

TEST_F(CountdownEngineTest, CompletesOnTheFirstTickAfterTheEndTime) {
    EndIn(0.5);
    engine.Start();
    EXPECT_EQ(host.label2, "00");
    Tick(400); // 0.1 s left
    EXPECT_FALSE(engine.Finished());
    host.now = settings.EndTime; // exactly at the end: nothing remains, nothing is late
    engine.ThreadedTimer1Timer();
    EXPECT_FALSE(engine.Finished());
    Tick(200);
    EXPECT_TRUE(engine.Finished());
    EXPECT_EQ(engine.State(), CountdownState::Finished);
    // The ticker is off before the completion sequence runs.
    EXPECT_EQ(host.Count("Completion"), 1);
    for (int i = 0; i < 5; ++i) {
        Tick(200);
    }
    EXPECT_EQ(host.CountPrefix("Completion"), 1);
}

TEST_F(CountdownEngineTest, EndTimeInThePastCompletesDuringStart) {
    settings.EndTime = host.now - 1.0;
    host.label1 = "00:00:07";
    host.label2 = "41";
    engine.Start();
    EXPECT_EQ(host.label1, "00:00:00");
    EXPECT_EQ(host.label2, "00");
    EXPECT_EQ(host.Count("Completion"), 1);
    EXPECT_TRUE(engine.Finished());
}

TEST_F(CountdownEngineTest, StartRunsItsStepsInOrderOnce) {
    settings.HideTitleBar = true;
    EndIn(65.5);
    engine.Start();
    ASSERT_GE(host.log.size(), 6u);
    EXPECT_EQ(host.log[0], "RemoveIdleHook");
    EXPECT_EQ(host.log[1], "HideTitleBar");
    EXPECT_EQ(host.log[2], "StartUpdateCheck");
    EXPECT_EQ(host.log[3], "Label2=05");
    EXPECT_EQ(host.log[4], "Label1=00:00:01");
    EXPECT_EQ(host.log.back(), "Timer1:on");
    const auto before = host.log.size();
    engine.Start();
    EXPECT_EQ(host.log.size(), before);

    FakeHost plain;
    TimerSettings plainSettings;
    CountdownEngine other{plain, plainSettings, parse};
    other.Start();
    EXPECT_EQ(plain.Count("HideTitleBar"), 0);
    EXPECT_EQ(plain.Count("StartUpdateCheck"), 1);
}

TEST_F(CountdownEngineTest, ErrorInTheFirstTickLeavesStartAndTheTickerOff) {
    settings.EndTime = host.now - 0.5;
    host.failCompletion = true;
    EXPECT_THROW(engine.Start(), std::runtime_error);
    EXPECT_FALSE(host.timer1);
    EXPECT_TRUE(engine.Finished());
}

TEST_F(CountdownEngineTest, TickSoundPlaysAtMostOncePerSecondOfTickCount) {
    settings.TickSound = "TICK1";
    EndIn(10.05);
    engine.Start(); // "10"
    EXPECT_EQ(host.Count("TickSound"), 1);
    EXPECT_EQ(engine.LastTickSoundTick(), host.tick);
    Tick(1000); // "09", exactly 1000 ms later
    EXPECT_EQ(host.Count("TickSound"), 2);
    Tick(800); // "08" after only 800 ms: silent, but the time is taken
    EXPECT_EQ(host.Count("TickSound"), 2);
    EXPECT_EQ(engine.LastTickSoundTick(), host.tick);
    Tick(940); // "07", 940 ms after the silent change: silent too
    EXPECT_EQ(host.Count("TickSound"), 2);
    Tick(1000); // "06"
    EXPECT_EQ(host.Count("TickSound"), 3);
    Tick(998); // "05": ticks on the second may read a little under 1000 ms
    EXPECT_EQ(host.Count("TickSound"), 4);
    const auto last = engine.LastTickSoundTick();
    Tick(200); // still "05": no sound, time untouched
    EXPECT_EQ(host.Count("TickSound"), 4);
    EXPECT_EQ(engine.LastTickSoundTick(), last);
}

TEST_F(CountdownEngineTest, TickSoundGapIsMeasuredAcrossTheCounterWrap) {
    settings.TickSound = "BEEP1";
    host.tick = 0xFFFFFE0Cu; // 500 ms before the wrap
    EndIn(10.5);
    engine.Start();
    EXPECT_EQ(host.Count("TickSound"), 1);
    Tick(1000); // the counter now reads 500
    EXPECT_EQ(host.tick, 500u);
    EXPECT_EQ(host.Count("TickSound"), 2);
}

TEST_F(CountdownEngineTest, BlankOrUnsetTickSoundIsSilent) {
    for (const std::string& name : {std::string(), std::string("   "), std::string(3, '\0')}) {
        FakeHost quiet;
        TimerSettings quietSettings;
        quietSettings.TickSound = name;
        quietSettings.EndTime = quiet.now + 5.5 / 86400;
        CountdownEngine silent{quiet, quietSettings, parse};
        silent.Start();
        quiet.now += 1.0 / 86400;
        quiet.tick += 1000;
        silent.ThreadedTimer1Timer();
        EXPECT_EQ(quiet.label2, "04");
        EXPECT_EQ(quiet.Count("TickSound"), 0);
        EXPECT_EQ(silent.LastTickSoundTick(), 0u);
    }
}

TEST_F(CountdownEngineTest, PauseMovesTheEndTimeByWholeSeconds) {
    EndIn(60.5);
    engine.Start();
    const DateTime end = settings.EndTime;
    engine.PauseToggle();
    EXPECT_EQ(engine.State(), CountdownState::Paused);
    EXPECT_FALSE(host.timer1);
    EXPECT_TRUE(host.timer2);
    EXPECT_EQ(engine.PauseStartTick(), host.tick);
    Advance(2900);
    engine.PauseToggle();
    EXPECT_EQ(engine.State(), CountdownState::Running);
    EXPECT_TRUE(host.timer1);
    EXPECT_FALSE(host.timer2);
    EXPECT_NEAR((settings.EndTime - end) * 86400, 2.0, 1e-6);
    engine.ThreadedTimer1Timer();
    EXPECT_EQ(host.label2, "59"); // 60.5 - 2.9 + 2 = 59.6 s left
}

TEST_F(CountdownEngineTest, PauseAcrossTheCounterWrapUsesTheRealLength) {
    host.tick = 0xFFFFF830u; // 2000 ms before the wrap
    EndIn(600.5);
    engine.Start();
    const DateTime end = settings.EndTime;
    engine.PauseToggle();
    Advance(7400);
    EXPECT_EQ(host.tick, 5400u);
    engine.PauseToggle();
    EXPECT_NEAR((settings.EndTime - end) * 86400, 7.0, 1e-6);
}

TEST_F(CountdownEngineTest, BlinkTogglesBothLabelsAndResumeShowsThem) {
    EndIn(60.5);
    engine.Start();
    engine.PauseToggle();
    engine.ThreadedTimer2Timer();
    EXPECT_FALSE(host.visible);
    engine.ThreadedTimer2Timer();
    EXPECT_TRUE(host.visible);
    engine.ThreadedTimer2Timer();
    engine.PauseToggle(); // resumed mid-blink
    EXPECT_TRUE(host.visible);
    EXPECT_FALSE(host.timer2);
}

TEST_F(CountdownEngineTest, PauseDisabledIgnoresTheSpaceBar) {
    settings.PauseDisabled = true;
    EndIn(60.5);
    engine.Start();
    const DateTime end = settings.EndTime;
    host.log.clear();
    engine.PauseToggle();
    Advance(5000);
    engine.PauseToggle();
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(settings.EndTime, end);
    EXPECT_EQ(engine.State(), CountdownState::Running);
}

TEST_F(CountdownEngineTest, SpaceBeforeTheStartChangesNothing) {
    EndIn(60.5);
    const DateTime end = settings.EndTime;
    engine.PauseToggle();
    EXPECT_EQ(settings.EndTime, end);
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(engine.State(), CountdownState::NotStarted);
}

TEST_F(CountdownEngineTest, ParseErrorNeverCounts) {
    parse = ParseNoEndPoint;
    engine.Start();
    // The first tick stops the ticker; Start then enables it once more.
    EXPECT_EQ(host.log, (std::vector<std::string>{"RemoveIdleHook", "StartUpdateCheck",
                                                  "Timer1:off", "Timer1:on"}));
    EXPECT_EQ(engine.State(), CountdownState::NotCounting);
    engine.ThreadedTimer1Timer();
    EXPECT_FALSE(host.timer1);
    engine.PauseToggle(); // only toggles the timers
    EXPECT_TRUE(host.timer1);
    engine.ThreadedTimer1Timer();
    EXPECT_FALSE(host.timer1);
    EXPECT_EQ(host.label1, "00:00:00");
    EXPECT_EQ(host.label2, "00");
    EXPECT_EQ(host.CountPrefix("Label"), 0);
    EXPECT_EQ(host.CountPrefix("Completion"), 0);
    EXPECT_FALSE(engine.Finished());
}

TEST_F(CountdownEngineTest, MissingActionFileOrSilentErrorStopsEverything) {
    parse = ParseActionMissing;
    engine.Start();
    EXPECT_TRUE(host.log.empty());

    FakeHost silentHost;
    TimerSettings silentSettings;
    ParseResult badQ = ParseBadQ;
    CountdownEngine silent{silentHost, silentSettings, badQ};
    silent.SetFinished(true);
    silent.Start();
    silent.ThreadedTimer1Timer();
    EXPECT_EQ(silent.State(), CountdownState::Finished);
    EXPECT_EQ(silentHost.CountPrefix("Label"), 0);
    EXPECT_EQ(silentHost.CountPrefix("Completion"), 0);
}

TEST_F(CountdownEngineTest, ClockChangeNoResumesAgainstTheNewClock) {
    EndIn(30 * 60.0);
    engine.Start();
    const DateTime end = settings.EndTime;
    host.now += 1.0 / 24; // an hour forward
    engine.ClockChanged();
    EXPECT_EQ(host.question,
              "The system date time has been changed. This timer was created using a set length "
              "of time, which will be adversely effected by the change.\n\rWould you like to "
              "create a new timer? Click No to resume this timer or Cancel to close this timer.");
    EXPECT_EQ(host.Count("Foreground"), 1);
    EXPECT_EQ(host.Count("Restore"), 0);
    EXPECT_TRUE(host.timer1);
    EXPECT_EQ(settings.EndTime, end);
    EXPECT_FALSE(engine.Finished());
    engine.ThreadedTimer1Timer();
    EXPECT_EQ(host.Count("Completion"), 1);
}

TEST_F(CountdownEngineTest, ClockChangeYesClosesThenOpensTheFrontEnd) {
    settings.CloseMode = CloseMode::Refuse;
    host.minimized = true;
    host.answer = QuestionAnswer::Yes;
    EndIn(600.5);
    engine.Start();
    host.log.clear();
    engine.ClockChanged();
    EXPECT_EQ(host.log, (std::vector<std::string>{"Timer1:off", "Restore", "Foreground", "Ask",
                                                  "Close", "StartFrontEnd"}));
    EXPECT_TRUE(engine.Finished());
    EXPECT_EQ(settings.CloseMode, CloseMode::Ask);
}

TEST_F(CountdownEngineTest, ClockChangeCancelClosesWithoutFrontEnd) {
    settings.CloseMode = CloseMode::CloseWithoutAsking;
    host.answer = QuestionAnswer::Cancel;
    EndIn(600.5);
    engine.Start();
    engine.ClockChanged();
    EXPECT_EQ(host.Count("Close"), 1);
    EXPECT_EQ(host.Count("StartFrontEnd"), 0);
    EXPECT_FALSE(host.timer1);
    EXPECT_TRUE(engine.Finished());
    EXPECT_EQ(settings.CloseMode, CloseMode::Ask);
}

TEST_F(CountdownEngineTest, FailedFrontEndStartIsReportedAfterClosing) {
    host.answer = QuestionAnswer::Yes;
    host.failFrontEnd = true;
    EndIn(600.5);
    engine.Start();
    EXPECT_THROW(engine.ClockChanged(), std::runtime_error);
    EXPECT_EQ(host.Count("Close"), 1);
    EXPECT_TRUE(engine.Finished());
}

TEST_F(CountdownEngineTest, ClockChangeAsksOnlyARunningLengthTimer) {
    EndIn(600.5);
    engine.Start();
    engine.PauseToggle();
    engine.ClockChanged(); // paused
    EXPECT_EQ(host.Count("Ask"), 0);
    engine.PauseToggle();

    settings.IsRelative = false; // given as a date-time
    engine.ClockChanged();
    EXPECT_EQ(host.Count("Ask"), 0);
    EXPECT_TRUE(host.timer1);

    // Finished, with the ticker switched back on by the space bar.
    settings.IsRelative = true;
    host.now = settings.EndTime + 1.0 / 86400;
    engine.ThreadedTimer1Timer();
    engine.PauseToggle();
    ASSERT_TRUE(host.timer1);
    engine.ClockChanged();
    EXPECT_EQ(host.Count("Ask"), 0);

    parse = ParseBadT;
    FakeHost idle;
    TimerSettings idleSettings;
    idleSettings.IsRelative = true;
    CountdownEngine notCounting{idle, idleSettings, parse};
    notCounting.Start(); // leaves the ticker on until the next tick
    notCounting.ClockChanged();
    EXPECT_EQ(idle.Count("Ask"), 0);
}

} // namespace
