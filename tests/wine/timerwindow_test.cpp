// The timer window on a real window: the labels and caption the ticks write
// under a controlled clock, pause and resume, full screen, and the colours.
#include "DigitFont.h"
#include "FontChangeListener.h"
#include "DateTimeText.h"
#include "Files.h"
#include "Locale.h"
#include "Strings.h"
#include "TimerWindowFixture.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

namespace brevalo {
namespace {

class TimerWindowTest : public testsupport::TimerWindowFixture {
protected:
    std::string Caption(TForm1& form) { return form.Text(); }

    // The digits and the seconds as a user sees them: the seconds just right
    // of the digits without touching them and level with their upper half,
    // the pair inside the client area and about centred in it.
    static void ExpectDigitsLaidOut(TForm1& form) {
        const RECT client = form.ClientRectPixels();
        const RECT digits = form.Label1.Bounds(), seconds = form.Label2.Bounds();
        const int width = client.right - client.left, height = client.bottom - client.top;
        ASSERT_GT(digits.right - digits.left, 0);
        ASSERT_GT(seconds.right - seconds.left, 0);
        const int gap = seconds.left - digits.right;
        EXPECT_GT(gap, 0) << "the seconds touch the digits";
        EXPECT_LE(gap, width / 25) << "the seconds stand apart from the digits";
        // The seconds fill the upper half of the digits' height.
        const int digitsHeight = digits.bottom - digits.top;
        EXPECT_NEAR(seconds.top, digits.top, digitsHeight / 10);
        EXPECT_NEAR(seconds.bottom, (digits.top + digits.bottom) / 2, digitsHeight / 10);
        for (const RECT& r : {digits, seconds}) {
            EXPECT_GE(r.left, client.left);
            EXPECT_LE(r.right, client.right);
            EXPECT_GE(r.top, client.top);
            EXPECT_LE(r.bottom, client.bottom);
        }
        EXPECT_NEAR((digits.left + seconds.right) / 2, (client.left + client.right) / 2, width / 25);
        EXPECT_NEAR((digits.top + digits.bottom) / 2, (client.top + client.bottom) / 2, height / 10);
    }
};

TEST_F(TimerWindowTest, TicksWriteTheRemainingTimeAndTheNameBecomesTheCaption) {
    auto form = Open("/q90 /cTea");
    EXPECT_EQ(form->Label1.Text(), "00:00:00");
    EXPECT_EQ(form->Label2.Text(), "00");
    form->Engine().Start();
    EXPECT_EQ(form->Label1.Text(), "00:00:01");
    EXPECT_EQ(form->Label2.Text(), "30");
    EXPECT_TRUE(form->ThreadedTimer1.Enabled());
    Advance(15.3);
    form->Engine().ThreadedTimer1Timer();
    EXPECT_EQ(form->Label1.Text(), "00:00:01");
    EXPECT_EQ(form->Label2.Text(), "14");
    // The normal window carries the timer's name.
    EXPECT_EQ(Caption(*form), "Tea");
    {
        SCOPED_TRACE("normal window");
        ExpectDigitsLaidOut(*form);
    }
    form->ThreadedTimer1.SetEnabled(false);
}

TEST_F(TimerWindowTest, ANewDigitFontIsAnnouncedOnceTheWindowIdlesOrWhenItClosesBefore) {
    testsupport::FontChangeListener listener;
    ASSERT_NE(listener.Handle(), nullptr);
    auto form = Open("/q90");
    EXPECT_EQ(listener.Count(), 0) << "the notice holds up the first paint";
    // The first idle moment of the message loop (and the countdown's start).
    gui::Application& app = gui::Application::Instance();
    const int quit = app.AddIdleHandler([] { PostQuitMessage(0); });
    app.Run();
    app.RemoveIdleHandler(quit);
    Pump();
    EXPECT_EQ(listener.Count(), 2) << "one notice sent, one posted";
    form->ThreadedTimer1.SetEnabled(false);
    form.reset();
    Pump();
    EXPECT_EQ(listener.Count(), 2) << "announced once";

    // A window that closes before its first idle moment still announces the
    // font it installed.
    while (RemoveFontResourceW(DigitFontPath().c_str())) {
    }
    form = Open("/q90");
    EXPECT_EQ(listener.Count(), 2);
    form.reset();
    Pump();
    EXPECT_EQ(listener.Count(), 4);
}

TEST_F(TimerWindowTest, AMinimizedTimerShowsTheRemainingTimeInItsCaption) {
    auto form = Open("/q3725 /cTea");
    form->Engine().Start();
    ShowWindow(form->Handle(), SW_MINIMIZE);
    Pump();
    form->Engine().ThreadedTimer1Timer();
    EXPECT_EQ(Caption(*form), "00:01:02:05");
    ShowWindow(form->Handle(), SW_RESTORE);
    Pump();
    EXPECT_EQ(Caption(*form), "Tea");
    form->ThreadedTimer1.SetEnabled(false);
}

TEST_F(TimerWindowTest, SpacePausesWithBlinkingAndResumesWithBothLabelsVisible) {
    auto form = Open("/q300 /cTea");
    form->Engine().Start();
    KeyUp(*form, VK_SPACE);
    EXPECT_EQ(form->Engine().State(), CountdownState::Paused);
    EXPECT_FALSE(form->ThreadedTimer1.Enabled());
    EXPECT_TRUE(form->ThreadedTimer2.Enabled());
    // The blink toggles the digits, the seconds follow.
    const bool before = form->Label1.Visible();
    form->Engine().ThreadedTimer2Timer();
    EXPECT_NE(form->Label1.Visible(), before);
    EXPECT_EQ(form->Label2.Visible(), form->Label1.Visible());
    // Ten paused seconds move the end time: the display is unchanged after.
    Advance(10);
    KeyUp(*form, VK_SPACE);
    EXPECT_EQ(form->Engine().State(), CountdownState::Running);
    EXPECT_TRUE(form->ThreadedTimer1.Enabled());
    EXPECT_FALSE(form->ThreadedTimer2.Enabled());
    EXPECT_TRUE(form->Label1.Visible());
    EXPECT_TRUE(form->Label2.Visible());
    form->Engine().ThreadedTimer1Timer();
    EXPECT_EQ(form->Label1.Text(), "00:00:05");
    EXPECT_EQ(form->Label2.Text(), "00");
    form->ThreadedTimer1.SetEnabled(false);
}

TEST_F(TimerWindowTest, PauseDisabledIgnoresTheSpaceBar) {
    auto form = Open("/q300 /y");
    form->Engine().Start();
    KeyUp(*form, VK_SPACE);
    EXPECT_EQ(form->Engine().State(), CountdownState::Running);
    EXPECT_TRUE(form->ThreadedTimer1.Enabled());
    EXPECT_FALSE(form->ThreadedTimer2.Enabled());
    form->ThreadedTimer1.SetEnabled(false);
}

TEST_F(TimerWindowTest, MaximizingGoesFullScreenWithoutCaptionAndEscapeComesBack) {
    auto form = Open("/q300 /cTea");
    const RECT normal = form->BoundsPixels();
    const int normalDigits = form->Label1.Height();
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    Pump();
    LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
    EXPECT_NE(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_BORDER);
    const RECT full = form->BoundsPixels();
    EXPECT_EQ(full.left, 0);
    EXPECT_EQ(full.top, 0);
    EXPECT_EQ(full.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(full.bottom, GetSystemMetrics(SM_CYSCREEN));
    // The digits grow with the window and keep their layout.
    EXPECT_GT(form->Label1.Height(), normalDigits);
    {
        SCOPED_TRACE("full screen");
        ExpectDigitsLaidOut(*form);
    }

    KeyUp(*form, VK_ESCAPE);
    style = GetWindowLongW(form->Handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(IsZoomed(form->Handle()));
    EXPECT_EQ(Caption(*form), "Tea");
    const RECT back = form->BoundsPixels();
    EXPECT_EQ(back.left, normal.left);
    EXPECT_EQ(back.top, normal.top);
}

TEST_F(TimerWindowTest, TheCursorHidesAfterThreeStillSecondsInFullScreen) {
    auto form = Open("/q300");
    form->Engine().Start();
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    Pump();
    Advance(2.9);
    form->Engine().ThreadedTimer1Timer();
    EXPECT_GE(form->CursorCounter(), 0);
    Advance(0.2);
    form->Engine().ThreadedTimer1Timer();
    EXPECT_LT(form->CursorCounter(), 0);
    // One move after a long rest only records the time; a second within a
    // second shows the cursor.
    Advance(5);
    SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_LT(form->CursorCounter(), 0);
    Advance(0.5);
    SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
    EXPECT_GE(form->CursorCounter(), 0);
    form->ThreadedTimer1.SetEnabled(false);
}

TEST_F(TimerWindowTest, InvertSwapsTheColoursAndTwiceRestoresThem) {
    auto form = Open("/q300 /f00FF00 /b101010");
    EXPECT_EQ(form->Label1.Color(), RGB(0, 0xFF, 0));
    EXPECT_EQ(form->Color(), RGB(0x10, 0x10, 0x10));
    form->Invert1Click();
    EXPECT_EQ(form->Label1.Color(), RGB(0x10, 0x10, 0x10));
    EXPECT_EQ(form->Label2.Color(), RGB(0x10, 0x10, 0x10));
    EXPECT_EQ(form->Color(), RGB(0, 0xFF, 0));
    form->Invert1Click();
    EXPECT_EQ(form->Label1.Color(), RGB(0, 0xFF, 0));
    EXPECT_EQ(form->Label2.Color(), RGB(0, 0xFF, 0));
    EXPECT_EQ(form->Color(), RGB(0x10, 0x10, 0x10));
}

TEST_F(TimerWindowTest, TheWindowOpensLargeCentredAndInTheUpperPartOfTheScreen) {
    auto form = Open("/q300");
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const RECT r = form->BoundsPixels();
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, sw);
    EXPECT_LE(r.bottom, sh);
    // Three quarters of the screen wide and two thirds high, within a percent.
    EXPECT_NEAR(r.right - r.left, sw * 3 / 4.0, sw / 100.0);
    EXPECT_NEAR(r.bottom - r.top, sh * 2 / 3.0, sh / 100.0);
    EXPECT_NEAR((r.left + r.right) / 2.0, sw / 2.0, sw / 100.0) << "not centred across";
    // Nearer the top than the bottom, with room above it.
    EXPECT_GT(r.top, sh / 20);
    EXPECT_LT(r.top, (sh - r.bottom) * 3 / 4);
}

// Whether a context-menu request on the window opens the pop-up menu: the
// menu's opening event records it, and a timer inside the menu's own loop
// closes the menu again.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

bool OpensMenu(TForm1& form) {
    bool opened = false;
    form.PopupMenu1.OnPopup = [&](gui::PopupMenu&) {
        opened = true;
        form.PopupMenu1Popup();
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, CloseMenu);
    SendMessageW(form.Handle(), WM_CONTEXTMENU, WPARAM(form.Handle()), MAKELPARAM(100, 100));
    KillTimer(nullptr, timer);
    return opened;
}

TEST_F(TimerWindowTest, ThePopupMenuOpensOnlyInTheNormalWindowWithoutSlashN) {
    auto form = Open("/q300");
    EXPECT_TRUE(OpensMenu(*form));
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    Pump();
    EXPECT_FALSE(OpensMenu(*form));
    auto silent = Open("/q300 /n");
    EXPECT_FALSE(OpensMenu(*silent));
}

TEST_F(TimerWindowTest, TheMenuMarksFollowTheSettingsWhenItOpens) {
    auto form = Open("/q300 /e2 /s0");
    form->PopupMenu1Popup();
    EXPECT_TRUE(form->Show1->Checked());
    EXPECT_FALSE(form->Hide1->Checked());
    EXPECT_TRUE(form->cdElectronic->Checked());
    EXPECT_FALSE(form->cdStandard->Checked());
    EXPECT_TRUE(form->comOff->Checked());
    EXPECT_TRUE(form->Checkforupdates1->Checked());
    EXPECT_EQ(form->Help1->Caption(), "Online help");
    // Choosing a sound takes effect at once.
    form->comElectronic->Click();
    EXPECT_EQ(form->Settings().DoneSound, "DONE2");
    form->cdOff->Click();
    EXPECT_EQ(form->Settings().TickSound, "");
    form->PopupMenu1Popup();
    EXPECT_TRUE(form->comElectronic->Checked());
    EXPECT_TRUE(form->cdOff->Checked());
    // Without an action the action item reads "None" and is disabled.
    EXPECT_EQ(form->ActionItem1->Caption(), "None");
    EXPECT_FALSE(form->ActionItem1->Enabled());
}

TEST_F(TimerWindowTest, UntickingTheActionItemClearsTheAction) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::string path = base::Narrow(self);
    auto form = Open("/q300 \"/a" + path + "\"");
    EXPECT_EQ(form->ActionItem1->Caption(), path);
    EXPECT_TRUE(form->ActionItem1->Checked());
    EXPECT_TRUE(form->ActionItem1->Enabled());
    form->ActionItem1->Click();
    EXPECT_FALSE(form->ActionItem1->Checked());
    EXPECT_EQ(form->Settings().ActionFile, "");
    form->ActionItem1->Click();
    EXPECT_EQ(form->Settings().ActionFile, path);
}

// The power calls of one timer window, in order.
class RecordingPower : public os::PowerRequests {
public:
    explicit RecordingPower(std::vector<std::string>& log) : log_(log) {}
    void KeepSystemAwake(bool awake) override { log_.push_back(awake ? "awake" : "may sleep"); }
    void WakeAt(std::optional<DateTime> time) override {
        log_.push_back(time ? "wake " + DateTimeToText(*time, os::UserFormatSettings()) : "no wake");
    }

private:
    std::vector<std::string>& log_;
};

// A timer with an action keeps the system from sleeping while it counts and
// asks to be woken at its end; pausing, turning the action off, the end and
// the close let go. A timer without an action asks nothing.
TEST_F(TimerWindowTest, ATimerWithAnActionKeepsTheSystemAwakeOnlyWhileItCounts) {
    std::vector<std::string> power;
    const auto recorded = [&power] { return std::make_unique<RecordingPower>(power); };
    // The action is a file of the test's own, gone before the end, so that
    // the end reports it instead of starting anything.
    const std::string action = os::TempFolder() + "brevalo-power-action.txt";
    std::ofstream(action) << "x";
    std::vector<std::string> errors;
    gui::Application::Instance().SetExceptionHandler(
        [&errors](std::exception_ptr e) { errors.push_back(gui::Application::ExceptionMessage(e)); });
    const std::string end = DateTimeToText(AddSeconds(now, 300), os::UserFormatSettings());
    const std::string later = DateTimeToText(AddSeconds(now, 310), os::UserFormatSettings());
    {
        auto form = std::make_unique<TForm1>();
        form->NowSource = [this] { return now; };
        form->TickSource = [this] { return tick; };
        form->PowerSource = recorded;
        form->FormCreate(CommandLine("\"Brevalo.exe\" /q300 /s0 /u \"/a" + action + "\""));
        form->Engine().Start();
        EXPECT_EQ(power, (std::vector<std::string>{"awake", "wake " + end}));
        KeyUp(*form, VK_SPACE);
        Advance(10);
        KeyUp(*form, VK_SPACE); // the pause moved the end
        form->ActionItem1->Click();
        form->ActionItem1->Click();
        Advance(301);
        DeleteFileW(base::Widen(action).c_str());
        form->Engine().ThreadedTimer1Timer(); // the end
        EXPECT_EQ(errors.size(), 1u);
        EXPECT_EQ(power, (std::vector<std::string>{"awake", "wake " + end, "may sleep", "no wake",
                                                   "awake", "wake " + later, "may sleep",
                                                   "no wake", "awake", "wake " + later,
                                                   "may sleep", "no wake"}));
        power.clear();
        form->Engine().Start();
    }
    EXPECT_TRUE(power.empty()) << "a finished timer let go already";
    {
        auto form = std::make_unique<TForm1>();
        form->PowerSource = recorded;
        form->FormCreate(CommandLine("\"Brevalo.exe\" /q300 /u"));
        form->Engine().Start();
        KeyUp(*form, VK_SPACE);
    }
    EXPECT_TRUE(power.empty()) << "a timer without an action asked";
    {
        auto form = std::make_unique<TForm1>();
        form->PowerSource = recorded;
        form->FormCreate(CommandLine("\"Brevalo.exe\" /q300 /u \"/a" + os::ProgramPath() + "\""));
        form->Engine().Start();
    }
    EXPECT_EQ(power.back(), "no wake") << "a closed timer kept the system awake";
    gui::Application::Instance().SetExceptionHandler(nullptr);
}

TEST_F(TimerWindowTest, TheTitleBarHidesFromTheMenuAndComesBackOnResize) {
    auto form = Open("/q300");
    const RECT before = form->BoundsPixels();
    form->Hide1->Click();
    EXPECT_FALSE(form->Titlebar1.Visible());
    EXPECT_NE(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    const RECT hidden = form->BoundsPixels();
    EXPECT_EQ(hidden.bottom - hidden.top,
              before.bottom - before.top - GetSystemMetrics(SM_CYCAPTION));
    // The user resizes the window: the title bar returns.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_TRUE(form->Titlebar1.Visible());
    EXPECT_EQ(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

TEST_F(TimerWindowTest, TheHideTitleBarSwitchActsAtTheStart) {
    auto form = Open("/q300 /w1");
    EXPECT_EQ(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    form->Engine().Start();
    EXPECT_FALSE(form->Titlebar1.Visible());
    EXPECT_NE(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    form->ThreadedTimer1.SetEnabled(false);
}

TEST_F(TimerWindowTest, KeepOnTopFromTheSwitchTicksTheItemAndMakesTheWindowTopmost) {
    auto form = Open("/q300 /z1");
    EXPECT_TRUE(form->Keepontop1->Checked());
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    form->Keepontop1->Click();
    EXPECT_FALSE(form->Keepontop1->Checked());
    EXPECT_FALSE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// The real clock and the real ticker. Each tick should land just after a
// point of the grid on which the remaining time's whole seconds lie (every
// 200 ms), so the seconds change just after each whole second; one tick held
// up by a busy window thread must shift none after it. The bounds are wide:
// a loaded machine wakes threads tens of milliseconds late.
TEST_F(TimerWindowTest, RealTicksLandJustAfterTheSecondsGridAndALateOneShiftsNoneAfterIt) {
    auto form = std::make_unique<TForm1>();
    std::vector<long long> offsets; // ms past the last grid point, per reading
    std::size_t heldAt = 0;
    form->NowSource = [&] {
        // The tenth reading comes 150 ms late, as after a slow paint.
        if (offsets.size() == 10 && !heldAt) {
            heldAt = offsets.size();
            Sleep(150);
        }
        const DateTime now = os::LocalNow();
        if (form->Settings().EndTime > 0) {
            const long long left = RemainingMilliseconds(form->Settings().EndTime - now);
            offsets.push_back((200 - left % 200) % 200);
        }
        return now;
    };
    form->FormCreate(CommandLine("\"Brevalo.exe\" /q60 /u /s0"));
    ShowWindow(form->Handle(), SW_SHOWNORMAL);
    form->Engine().Start();
    const DWORD until = GetTickCount() + 4200;
    while (GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    form->ThreadedTimer1.SetEnabled(false);
    ASSERT_GT(heldAt, 0u);
    ASSERT_GT(offsets.size(), heldAt + 10) << "the ticker ran about five times a second";
    EXPECT_LT(offsets.size(), 4200u / 200 + 10) << "no more ticks than the period gives";

    const auto median = [](std::vector<long long> values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    // The readings of Start come before the grid is set; the ticks after
    // them are planned for 2 ms past a grid point.
    const std::vector<long long> before(offsets.begin() + 3, offsets.begin() + heldAt);
    const std::vector<long long> after(offsets.begin() + heldAt + 1, offsets.end());
    EXPECT_GE(offsets[heldAt], 120) << "the held-up tick was late";
    EXPECT_LE(median(before), 40);
    EXPECT_LE(median(after), 40) << "the late tick moved the ticks after it";
    const auto onGrid = std::count_if(after.begin(), after.end(), [](long long o) { return o <= 60; });
    EXPECT_GE(onGrid * 10, long(after.size()) * 7);
}

} // namespace
} // namespace brevalo
