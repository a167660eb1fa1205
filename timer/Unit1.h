// The timer window: one running timer, configured from the command line,
// showing the remaining time in two seven-segment labels.
#pragma once

#include "Clock.h"
#include "ColorDialog.h"
#include "CommandLine.h"
#include "Completion.h"
#include "CountdownEngine.h"
#include "CountdownHost.h"
#include "Foreground.h"
#include "Form.h"
#include "Label.h"
#include "PopupMenu.h"
#include "Power.h"
#include "RunValue.h"
#include "ScreenSaver.h"
#include "TaskbarProgress.h"
#include "ThdTimer.h"
#include "TimerAccessible.h"
#include "TimerSettings.h"
#include "TitleBar.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// <windowsx.h> turns these two names of the countdown host into IsIconic and
// IsZoomed.
#undef IsMinimized
#undef IsMaximized

namespace brevalo {

namespace gui {
class Application;
}

// The timer window. It creates itself from the command line, handles its
// messages and its pop-up menu, and hands the countdown to the engine and
// the end to the completion sequence.
class TForm1 : public gui::Form,
               private CountdownHost,
               private CompletionHost,
               private TimerAccessibleSource {
public:
    TForm1();
    ~TForm1() override;

    // Creates the window and runs its creation sequence on the timer's
    // command line. A command-line error (codes 1, 3 and 4, unless /m) is
    // thrown after the window exists; the window then stays, shows
    // "00:00:00" and never counts.
    void FormCreate(const CommandLine& commandLine);
    // Once a parse error has been shown: removes the Run values (the current
    // user's and the machine's) whose data is this timer's
    // own command line, so a line that stopped parsing does not come back.
    void ForgetUnparsableLine() noexcept;

    // The clock the window counts with; the system's unless replaced before
    // FormCreate (tests count with a clock of their own).
    std::function<DateTime()> NowSource = os::LocalNow;
    std::function<std::uint32_t()> TickSource = os::TickCount;
    // Makes the progress on the taskbar button once the shell has announced
    // the button; the shell's unless replaced (tests record the calls).
    std::function<std::unique_ptr<TaskbarProgress>(HWND)> TaskbarSource =
        CreateShellTaskbarProgress;
    // Whether the user must not be interrupted at the end; the shell's
    // answer unless replaced.
    std::function<bool()> BusySource = gui::UserIsBusy;
    // What keeps the system awake for a timer with an action; the system's
    // unless replaced (tests record the calls).
    std::function<std::unique_ptr<os::PowerRequests>()> PowerSource =
        os::CreateSystemPowerRequests;

    // Lays out and scales the two labels to the window.
    void FormResize();
    // Swaps the digit and background colours.
    void Invert1Click();

    const TimerSettings& Settings() const noexcept { return settings_; }
    ParseResult Result() const noexcept { return parseResult_; }
    bool Finished() const noexcept { return engine_.Finished(); }
    CountdownEngine& Engine() noexcept { return engine_; }
    std::int32_t CursorCounter() const noexcept { return cursorCounter_; }

    gui::Label Label1;
    gui::Label Label2;
    TTitlebar Titlebar1{this};
    gui::PopupMenu PopupMenu1;
    gui::ColorDialog ColorDialog1;

    // The pop-up menu's items that change while the timer runs.
    gui::MenuItem* Show1 = nullptr;
    gui::MenuItem* Hide1 = nullptr;
    gui::MenuItem* cdStandard = nullptr;
    gui::MenuItem* cdElectronic = nullptr;
    gui::MenuItem* cdOff = nullptr;
    gui::MenuItem* comStandard = nullptr;
    gui::MenuItem* comElectronic = nullptr;
    gui::MenuItem* comOff = nullptr;
    gui::MenuItem* Keepontop1 = nullptr;
    gui::MenuItem* Checkforupdates1 = nullptr;
    gui::MenuItem* ActionItem1 = nullptr;
    gui::MenuItem* Help1 = nullptr;

    // Builds the pop-up menu (done by the constructor).
    void CreatePopupMenu();
    void CreateSoundMenu(gui::MenuItem& sound);
    void AddSoundChoices(gui::MenuItem& list, std::string& sound, const char* const (&names)[3],
                         int group, gui::MenuItem*& standard, gui::MenuItem*& electronic,
                         gui::MenuItem*& off);
    // Sets the menu's marks from the current state, as when it opens.
    void PopupMenu1Popup();
    void Foreground1Click();
    void Background1Click();
    void Keepontop1Click();
    void Timername1Click();
    // True when a context-menu request is handled without a menu: in full
    // screen and with /n.
    bool PopupSuppressed();

    // Declared last: the timers stop (their threads join) before the members
    // their handlers use go away.
    TThreadedTimer ThreadedTimer1;
    TThreadedTimer ThreadedTimer2;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool KeyUp(WORD key) override;

private:
    void CreateTimerWindow();
    void SetUpDigits();
    // Announces the digit font this timer installed, once.
    void AnnounceDigitFont() noexcept;
    void ParseArguments(const CommandLine& commandLine, const WindowSettings& preferences,
                        FormatSettings formats);
    void ApplyParseEffects(const ParseEffects& effects);
    void PlaceOnScreen();
    WindowSettings ReadWindowSettings();
    void WriteWindowSettings() noexcept;
    void EnterFullScreen();
    void LeaveFullScreen(bool fromEscape);
    void MouseMoved();
    void SizeChanged(WPARAM kind);
    bool CloseQuery();
    void SessionEndQueried();
    void SessionEnded(bool ending);
    // True when the command was handled in full.
    bool SystemCommand(WPARAM command);
    void Broadcast(UINT message);
    void WriteRunOnce();
    // Tells the user that these Run values of `root` could not be removed.
    void TellRunValuesLeft(RegistryRoot root, const std::vector<std::string>& names);
    void ShowAbout();
    // While a timer with an action counts, the system may not sleep on idle
    // and is woken at the end; paused, finished, without an action or
    // closed, it is let go.
    void UpdatePowerRequests();

    // The taskbar button's progress and the screen readers' view
    // (Unit1Shell.cpp).
    void CountingStarted();
    void PauseToggled(CountdownState before);
    void TaskbarButtonCreated();
    // Shows the countdown's state on the button, with the passed share of
    // the length when `withValue`.
    void ShowProgress(bool withValue);
    TaskbarState ProgressState();

    // TimerAccessibleSource
    std::string AccessibleName() override { return settings_.TimerName; }
    std::int64_t AccessibleRemainingSeconds() override { return shownRemaining_; }
    TimerActivity AccessibleActivity() override;

    // CountdownHost
    DateTime Now() override;
    std::uint32_t TickCount() override;
    std::string TimeSeparator() override;
    void SetThreadedTimer1Enabled(bool enabled) override;
    void SetNextTickDelay(std::uint32_t milliseconds) override;
    void RemainingShown(std::int64_t remainingSeconds) override;
    void SetThreadedTimer2Enabled(bool enabled) override;
    void SetLabel1Text(const std::string& text) override;
    void SetLabel2Text(const std::string& text) override;
    void SetLabelsVisible(bool visible) override;
    bool LabelsNeedLayout() override;
    bool IsMinimized() override;
    bool IsMaximized() override;
    void SetCaption(const std::string& caption) override;
    void RestoreWindow() override;
    bool ForceForeground() override;
    void HideIdleCursor() override;
    // Both hosts': through the close handling, by a posted WM_CLOSE.
    void CloseWindow() override;
    void RemoveIdleHook() override;
    void HideTitleBar() override;
    void StartUpdateCheck() override;
    void PlayTickSound() override;
    void RunCompletion() override;
    QuestionAnswer AskInformationYesNoCancel(const std::string& message) override;
    void StartFrontEnd() override;

    // CompletionHost
    HWND Window() override { return Handle(); }
    bool UserIsBusy() override { return BusySource(); }
    void TakeForeground() override { ForceForeground(); }
    void FlashTaskbarButton() override { gui::FlashTaskbarButton(Handle()); }
    void RemoveRunValue() override;
    void BroadcastTimeUp() override { Broadcast(timeUpMessage_); }
    void InvertColours() override { Invert1Click(); }
    void StartAction() override;
    void ReleaseScreenSaver() override { screenSaver_.Release(); }

    gui::Application& app_;
    // Taken at creation, given back at the end or with /d.
    os::ScreenSaverHold screenSaver_;
    TimerSettings settings_;
    ParseResult parseResult_ = ParseNoEndPoint;
    CountdownEngine engine_;
    int idleHook_ = 0;
    // The idle handler that announces the digit font this timer installed.
    int fontAnnouncement_ = 0;
    std::string timeSeparator_ = ":";
    // The command line as parsed.
    std::string rawCommandLine_;
    std::uint32_t lastMouseMoveTick_ = 0;
    std::int32_t cursorCounter_ = 0;
    bool closeQueryAttached_ = false;
    UINT timeUpMessage_ = 0;
    UINT timerStoppedMessage_ = 0;
    // The Run value /r wrote, under the name chosen for this timer, so that
    // completion and closing remove that value (and no other timer's) even
    // after a pause has moved the end time.
    std::optional<os::RunValue> runValue_;
    // The RunOnce value written when a log-off interrupts the count.
    std::optional<os::RunValue> runOnce_;
    // Log-off and shutdown: a query was answered and its outcome is not yet
    // known; the close handling as it was before the query; the session ends.
    bool sessionQueried_ = false;
    bool closeQueryBeforeSession_ = false;
    bool sessionEnding_ = false;
    std::unique_ptr<TCompletion> completion_;

    // The whole seconds last shown, and the length in whole seconds fixed
    // when counting started (the first seconds shown and the one under way).
    // A pause moves the end time, not the length.
    std::int64_t shownRemaining_ = 0;
    std::int64_t lengthSeconds_ = 0;
    bool countingStarted_ = false;
    bool timeUp_ = false;
    UINT taskbarButtonMessage_ = 0;
    std::unique_ptr<TaskbarProgress> taskbar_;
    std::unique_ptr<os::PowerRequests> power_;
    bool keepingAwake_ = false;
    // What the button shows now.
    TaskbarState taskbarState_ = TaskbarState::None;
    TimerAccessibility accessibility_{*this};
};

// The system command of the "About" item of the window menu.
inline constexpr UINT AboutCommand = 4858;
// The text of the About box.
std::string AboutText();

} // namespace brevalo
