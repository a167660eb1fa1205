#include "Unit1.h"

#include "ActionParameters.h"
#include "Administrator.h"
#include "Application.h"
#include "BrevaloVersion.h"
#include "Clock.h"
#include "DateTimeText.h"
#include "DigitFont.h"
#include "DigitLayout.h"
#include "Files.h"
#include "Foreground.h"
#include "Help.h"
#include "InputBox.h"
#include "LaunchTimer.h"
#include "Locale.h"
#include "MessageBox.h"
#include "OsError.h"
#include "ScreenSaver.h"
#include "Settings.h"
#include "ShellOpen.h"
#include "SoundNames.h"
#include "Sounds.h"
#include "Strings.h"
#include "UpdateCheck.h"
#include "Win32Registry.h"

#include <stdexcept>
#include <utility>

namespace brevalo {

namespace {

// What the command-line parser asks of the system.
class SystemParserEnvironment : public ParserEnvironment {
public:
    SystemParserEnvironment(std::function<DateTime()> now, FormatSettings formats)
        : now_(std::move(now)), formats_(std::move(formats)) {}

    DateTime Now() override { return now_(); }
    const FormatSettings& Formats() override { return formats_; }
    bool FileExists(const std::string& path) override { return os::FileExists(path); }
    std::string FullPath(const std::string& path) override { return os::FullPath(path); }
    bool IsAdministrator() override { return os::IsAdministrator(); }
    bool MachineAutorunHolds(const std::string& line) override {
        return !os::RunValuesHolding(RegistryRoot::LocalMachine, line).empty();
    }

private:
    std::function<DateTime()> now_;
    FormatSettings formats_;
};

// Makes the item one of a radio group.
gui::MenuItem* Radio(gui::MenuItem& item, int group) {
    item.SetRadioItem(true);
    item.SetGroupIndex(group);
    return &item;
}

} // namespace

std::string AboutText() {
    return std::string("Brevalo") + "\n\r\n\r" + BREVALO_ABOUT_VERSION + "\n\r" +
           "Copyright (C) 2026 Orsenic Software. All rights reserved.";
}

TForm1::TForm1()
    : Label1(*this), Label2(*this), app_(gui::Application::Instance()),
      engine_(*this, settings_, parseResult_),
      completion_(
          std::make_unique<TCompletion>(static_cast<CompletionHost&>(*this), settings_, app_)) {
    ThreadedTimer1.SetInterval(200);
    ThreadedTimer1.SetThreadPriority(tpHighest);
    ThreadedTimer1.OnTimer = [this](TThreadedTimer&) { engine_.ThreadedTimer1Timer(); };
    ThreadedTimer2.SetInterval(750);
    ThreadedTimer2.OnTimer = [this](TThreadedTimer&) { engine_.ThreadedTimer2Timer(); };
    CreatePopupMenu();
}

TForm1::~TForm1() {
    ThreadedTimer1.SetEnabled(false);
    ThreadedTimer2.SetEnabled(false);
    UpdatePowerRequests();
    RemoveIdleHook();
    // Closed before the first idle moment: the font was still installed.
    AnnounceDigitFont();
}

void TForm1::AnnounceDigitFont() noexcept {
    if (!fontAnnouncement_)
        return;
    app_.RemoveIdleHandler(std::exchange(fontAnnouncement_, 0));
    AnnounceFontChange();
}

void TForm1::FormCreate(const CommandLine& commandLine) {
    // The screen saver stays off while the timer counts.
    screenSaver_.Hold();
    CreateTimerWindow();
    const WindowSettings preferences = ReadWindowSettings();
    timeUpMessage_ = RegisterWindowMessageW(L"WM_TIME_UP");
    timerStoppedMessage_ = RegisterWindowMessageW(L"WM_TIMER_STOPPED");
    SetUpDigits();
    PlaceOnScreen();
    // The user's conventions, read once for the display and the parser.
    FormatSettings formats = os::UserFormatSettings();
    timeSeparator_ = formats.timeSeparator;

    // The countdown starts at the first idle moment; parsing removes the
    // hook again when the action file is missing.
    idleHook_ = app_.AddIdleHandler([this] { engine_.Start(); });
    ParseArguments(commandLine, preferences, std::move(formats));
    if (!settings_.SilentErrors) {
        if (parseResult_ == ParseActionMissing)
            return;
        if (parseResult_ != ParseOk)
            throw std::runtime_error(ParseErrorMessage(parseResult_));
    }
    if (parseResult_ != ParseOk)
        engine_.SetFinished(true);

    if (settings_.StartMaximized)
        ShowWindow(Handle(), SW_SHOWMAXIMIZED);

    closeQueryAttached_ = true;
    if (settings_.AllowScreenSaver && !screenSaver_.Release())
        base::RaiseLastOsError();

    lastMouseMoveTick_ = TickSource();
}

// The window itself, its About item, and the texts it starts with.
void TForm1::CreateTimerWindow() {
    CreateParams params;
    params.className = L"TForm1";
    params.caption = L"Timer";
    params.style = WS_OVERLAPPEDWINDOW;
    // Its own taskbar button, labelled with the caption.
    params.exStyle = WS_EX_APPWINDOW;
    params.icon = LoadIconW(app_.Instance_(), L"MAINICON");
    CreateHandle(params);
    PopupMenu1.SetOwner(this);
    taskbarButtonMessage_ = TaskbarButtonCreatedMessage(Handle());

    engine_.SetFinished(false);
    if (HMENU system = GetSystemMenu(Handle(), FALSE)) {
        AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(system, MF_STRING, AboutCommand, L"About");
    }

    Label1.SetText(CountdownEngine::InitialMainText);
    Label2.SetText(CountdownEngine::InitialSecondsText);
    SetText("Timer");
    // Nothing during creation may ask before closing.
    closeQueryAttached_ = false;
}

// The digits' font, installed from the program itself when missing, and
// the labels' behaviour.
void TForm1::SetUpDigits() {
    try {
        // A new font is announced at the first idle moment, once the window
        // shows its digits: every top-level window takes the notice in turn.
        if (RegisterDigitFont())
            fontAnnouncement_ = app_.AddIdleHandler([this] { AnnounceDigitFont(); });
    } catch (...) {
        app_.HandleException(std::current_exception());
    }
    Label1.SetFont(DigitFontFace, 48, ANSI_CHARSET, true, true);
    Label2.SetFont(DigitFontFace, 24, ANSI_CHARSET, true, true);
    SetDoubleBuffered(true);
    SetKeyPreview(true);

    Label1.OnClick = [this](gui::GraphicControl&) { LeaveFullScreen(false); };
    Label2.OnClick = [this](gui::GraphicControl&) { LeaveFullScreen(false); };
}

void TForm1::ParseArguments(const CommandLine& commandLine, const WindowSettings& preferences,
                            FormatSettings formats) {
    rawCommandLine_ = commandLine.Raw();
    SystemParserEnvironment environment(NowSource, std::move(formats));
    ParsedTimer parsed =
        ParseCommandLine(commandLine, os::ProgramPath(), preferences, environment);
    parseResult_ = parsed.result;
    settings_ = std::move(parsed.settings);
    ApplyParseEffects(parsed.effects);
    Label1.SetColor(COLORREF(settings_.ForeColor));
    Label2.SetColor(COLORREF(settings_.ForeColor));
    SetColor(COLORREF(settings_.BackColor));
}

// What parsing asked of the window, in order.
void TForm1::ApplyParseEffects(const ParseEffects& effects) {
    if (effects.keepOnTop)
        Keepontop1Click();
    ActionItem1->SetCaption(effects.actionItem.caption);
    ActionItem1->SetChecked(effects.actionItem.checked);
    ActionItem1->SetEnabled(effects.actionItem.enabled);
    if (effects.cancelCountdown) {
        RemoveIdleHook();
        engine_.SetFinished(true);
    }
    for (const std::string& error : effects.errors)
        gui::ErrorBox(error, Handle());
    for (int i = 0; i < effects.autorunWrites; ++i) {
        // A refused registry write must not stop the timer: report it and go
        // on. The name is chosen once; a second /r writes the same value.
        try {
            if (!runValue_)
                runValue_.emplace(effects.autorunRoot, effects.autorunName, effects.autorunData);
            runValue_->Write();
        } catch (...) {
            app_.HandleException(std::current_exception());
        }
    }
}

void TForm1::ForgetUnparsableLine() noexcept {
    if (parseResult_ == ParseOk || rawCommandLine_.empty())
        return;
    // A Run value that holds this very line started this timer: the line no
    // longer parses (its action file has gone, say), so the value would only
    // bring the error back at every log-on.
    for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
        try {
            std::vector<std::string> left;
            for (const std::string& name : os::RunValuesHolding(root, rawCommandLine_))
                if (os::DeleteAutorunValue(root, os::AutorunList::Run, name, Handle()) ==
                    os::Removal::Left)
                    left.push_back(name);
            TellRunValuesLeft(root, left);
        } catch (...) {
            // The error has been shown; the values stay as they were.
        }
    }
}

void TForm1::TellRunValuesLeft(RegistryRoot root, const std::vector<std::string>& names) {
    if (names.empty())
        return;
    std::string text = names.size() == 1 ? "The Run value " : "The Run values ";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? ", \"" : "\"") + names[i] + "\"";
    text += " could not be removed from " + os::AutorunKeyPath(root, os::AutorunList::Run) +
            (names.size() == 1 ? ". It starts" : ". They start") +
            " this timer again at every log-on until an administrator deletes " +
            (names.size() == 1 ? "it." : "them.");
    gui::WarningBox(text, Handle());
}

WindowSettings TForm1::ReadWindowSettings() {
    WindowSettings window;
    try {
        window = os::Settings().ReadWindowSettings();
    } catch (...) {
        // A damaged settings file is reported; the timer runs on with the
        // default colours.
        app_.HandleException(std::current_exception());
    }
    return window;
}

void TForm1::WriteWindowSettings() noexcept {
    try {
        os::Settings().WriteWindowSettings(
            {TColor(Label1.Color()), TColor(Color()), settings_.CheckForUpdates});
    } catch (...) {
        // Preferences are written on the way out; a failure must not keep
        // the window from closing.
    }
}

void TForm1::CreatePopupMenu() {
    using gui::MenuItem;

    MenuItem& color = PopupMenu1.Add("Color");
    color.Add("Foreground", [this](MenuItem&) { Foreground1Click(); });
    color.Add("Background", [this](MenuItem&) { Background1Click(); });
    color.AddSeparator();
    color.Add("Invert", [this](MenuItem&) { Invert1Click(); });

    MenuItem& titleBar = PopupMenu1.Add("Title-bar");
    Show1 = Radio(titleBar.Add("Show",
                               [this](MenuItem&) {
                                   Titlebar1.SetVisible(true);
                                   Show1->SetChecked(true);
                               }),
                  1);
    Hide1 = Radio(titleBar.Add("Hide",
                               [this](MenuItem&) {
                                   Titlebar1.SetVisible(false);
                                   Hide1->SetChecked(true);
                               }),
                  1);

    CreateSoundMenu(PopupMenu1.Add("Sound"));

    PopupMenu1.AddSeparator();
    Keepontop1 = &PopupMenu1.Add("Keep on top", [this](MenuItem&) { Keepontop1Click(); });
    MenuItem& preferences = PopupMenu1.Add("Preferences");
    Checkforupdates1 = &preferences.Add("Check for updates at start", [this](MenuItem&) {
        settings_.CheckForUpdates = !settings_.CheckForUpdates;
        Checkforupdates1->SetChecked(settings_.CheckForUpdates);
    });
    PopupMenu1.AddSeparator();
    PopupMenu1.Add("Timer name", [this](MenuItem&) { Timername1Click(); });
    MenuItem& action = PopupMenu1.Add("Action");
    ActionItem1 = &action.Add("None", [this](MenuItem& item) {
        item.SetChecked(!item.Checked());
        if (item.Checked())
            settings_.ActionFile = item.Caption();
        else
            settings_.ActionFile.clear();
        UpdatePowerRequests();
    });
    ActionItem1->SetEnabled(false);
    PopupMenu1.AddSeparator();
    Help1 = &PopupMenu1.Add("Online help", [this](MenuItem&) { os::OpenHelp(Handle()); });

    PopupMenu1.OnPopup = [this](gui::PopupMenu&) { PopupMenu1Popup(); };
}

// The sound submenu: a radio group each for the tick and the completion.
void TForm1::CreateSoundMenu(gui::MenuItem& sound) {
    AddSoundChoices(sound.Add("Countdown"), settings_.TickSound, TickSoundNames, 2, cdStandard,
                    cdElectronic, cdOff);
    AddSoundChoices(sound.Add("Complete"), settings_.DoneSound, DoneSoundNames, 3, comStandard,
                    comElectronic, comOff);
}

// "Standard", "Electronic", a separator and "Off" as one radio group, each
// setting `sound` to its name in `names` (off: none).
void TForm1::AddSoundChoices(gui::MenuItem& list, std::string& sound, const char* const (&names)[3],
                             int group, gui::MenuItem*& standard, gui::MenuItem*& electronic,
                             gui::MenuItem*& off) {
    using gui::MenuItem;
    standard =
        Radio(list.Add("Standard", [&sound, &names](MenuItem&) { sound = names[1]; }), group);
    electronic =
        Radio(list.Add("Electronic", [&sound, &names](MenuItem&) { sound = names[2]; }), group);
    list.AddSeparator();
    off = Radio(list.Add("Off", [&sound](MenuItem&) { sound.clear(); }), group);
}

void TForm1::PopupMenu1Popup() {
    if (cursorCounter_ < 0)
        cursorCounter_ = ShowCursor(TRUE);
    (Titlebar1.Visible() ? Show1 : Hide1)->SetChecked(true);
    const auto mark = [](const std::string& name, const char* standard, const char* electronic,
                         gui::MenuItem* s, gui::MenuItem* e, gui::MenuItem* off) {
        if (name == standard)
            s->SetChecked(true);
        else if (name == electronic)
            e->SetChecked(true);
        else if (name.find_first_not_of(' ') == std::string::npos)
            off->SetChecked(true);
    };
    mark(settings_.TickSound, TickSoundNames[1], TickSoundNames[2], cdStandard, cdElectronic,
         cdOff);
    mark(settings_.DoneSound, DoneSoundNames[1], DoneSoundNames[2], comStandard, comElectronic,
         comOff);
    Checkforupdates1->SetChecked(settings_.CheckForUpdates);
    Help1->SetCaption(os::HelpCaption());
}

void TForm1::Foreground1Click() {
    ColorDialog1.SetColor(Label1.Color());
    if (ColorDialog1.Execute(Handle())) {
        Label1.SetColor(ColorDialog1.Color());
        Label2.SetColor(ColorDialog1.Color());
    }
    WriteWindowSettings();
}

void TForm1::Background1Click() {
    ColorDialog1.SetColor(Color());
    if (ColorDialog1.Execute(Handle()))
        SetColor(ColorDialog1.Color());
    WriteWindowSettings();
}

void TForm1::Keepontop1Click() {
    Keepontop1->SetChecked(!Keepontop1->Checked());
    settings_.KeepOnTop = Keepontop1->Checked();
    SetWindowPos(Handle(), Keepontop1->Checked() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void TForm1::Timername1Click() {
    if (auto name = gui::InputBox(Handle(), "Timer name", "Change the timer name:", Text())) {
        settings_.TimerName = *name;
        SetText(*name);
    }
}

bool TForm1::PopupSuppressed() {
    return IsZoomed(Handle()) || !settings_.PopupMenuEnabled;
}

bool TForm1::CloseQuery() {
    if (!closeQueryAttached_)
        return true;
    // A timer that never counted (a command-line error) has nothing to
    // protect: it may always be closed.
    if (settings_.CloseMode == CloseMode::Refuse)
        return parseResult_ != ParseOk;
    if (engine_.Finished())
        return true;
    if (settings_.CloseMode == CloseMode::CloseWithoutAsking) {
        Broadcast(timerStoppedMessage_);
        return true;
    }
    if (gui::ConfirmBox("By closing the countdown window the timer will be aborted.\n\r"
                        "Do you want to continue to exit the timer?",
                        MB_YESNO, Handle()) != IDYES)
        return false;
    Broadcast(timerStoppedMessage_);
    return true;
}

void TForm1::Broadcast(UINT message) {
    // The atom is left for the receivers, which read the timer's name from
    // it: the name, not the caption, which shows the time while the window
    // is minimized. An atom holds at most 255 characters; a longer name is
    // cut there (never between the two halves of a surrogate pair) rather
    // than sent as no atom at all.
    std::wstring name = base::Widen(settings_.TimerName);
    if (name.size() > 255) {
        name.resize(255);
        if (IS_HIGH_SURROGATE(name.back()))
            name.pop_back();
    }
    const ATOM atom = GlobalAddAtomW(name.c_str());
    PostMessageW(HWND_BROADCAST, message, atom, 0);
}

void TForm1::RemoveRunValue() {
    if (!runValue_)
        return;
    try {
        // A machine-wide value that this timer may not delete is asked of
        // Windows with administrator rights; if it stays, the user is told
        // once which value is left and where.
        if (runValue_->Remove(Handle()) == os::Removal::Left)
            TellRunValuesLeft(runValue_->Root(), {runValue_->Name()});
    } catch (...) {
        app_.HandleException(std::current_exception());
    }
}

void TForm1::WriteRunOnce() {
    // Named as Run values are, so that timers ending in the same second keep
    // a value each; the claim on the name lasts as long as the process.
    if (runOnce_)
        return;
    runOnce_.emplace(RegistryRoot::CurrentUser,
                     DateTimeToText(settings_.EndTime, os::UserFormatSettings()),
                     settings_.RestartCommandLine, os::AutorunList::RunOnce);
    runOnce_->Write();
}

void TForm1::StartAction() {
    os::ShellOpen(Handle(), settings_.ActionVerb, settings_.ActionFile,
                  ActionParameterText(settings_.ActionFile, settings_.ActionParams,
                                      os::SystemFolder()));
}

void TForm1::ShowAbout() {
    gui::InformationBox(AboutText(), Handle());
}

void TForm1::PlaceOnScreen() {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const int width = (sw / 4) * 3;
    const int height = (sh / 3) * 2;
    SetBoundsPixels(sw / 2 - width / 2, sh / 3 - height / 3, width, height);
}

void TForm1::FormResize() {
    if (!Handle())
        return;
    const RECT window = BoundsPixels();
    const RECT client = ClientRectPixels();
    const int windowWidth = window.right - window.left;
    const int windowHeight = window.bottom - window.top;
    const auto measure = [](gui::Label& label) {
        return [&label](int points) {
            label.SetFontSize(points);
            return TextExtent{label.Width(), label.Height()};
        };
    };
    // Font sizes are points, which grow with the DPI: the height that sizes
    // them is taken at 96 DPI, so the digits fill the same share of the
    // window at any DPI.
    const int clientHeight96 = MulDiv(client.bottom, 96, int(Dpi()));
    const DigitLayout layout = LayoutDigits(windowWidth, windowHeight, clientHeight96,
                                            Label2.Width(), measure(Label1), measure(Label2));
    Label1.SetFontSize(layout.label1Size);
    Label2.SetFontSize(layout.label2Size);
    Label1.SetBounds(layout.label1Left, layout.label1Top, Label1.Width(), Label1.Height());
    Label2.SetBounds(layout.label2Left, layout.label2Top, Label2.Width(), Label2.Height());
}

void TForm1::Invert1Click() {
    const COLORREF digits = Label1.Color();
    Label2.SetColor(Color());
    SetColor(digits);
    Label1.SetColor(Label2.Color());
}

void TForm1::EnterFullScreen() {
    const TFormBorderStyle border = BorderStyleOf(Handle());
    const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    // Borderless and tool windows, and a window whose caption is already
    // gone (the title bar hidden), are simply maximized.
    if (border != bsNone && border != bsToolWindow && border != bsSizeToolWin &&
        (style & WS_CAPTION) == WS_CAPTION) {
        const LONG next = border == bsDialog ? (style & ~WS_CAPTION) | WS_DLGFRAME | DS_MODALFRAME
                                             : (style & ~WS_CAPTION) | WS_BORDER;
        SetWindowLongW(Handle(), GWL_STYLE, next);
        SetWindowPos(Handle(), nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN), SWP_NOZORDER | SWP_FRAMECHANGED);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    FormResize();
}

void TForm1::LeaveFullScreen(bool fromEscape) {
    if (!IsZoomed(Handle()) && !IsIconic(Handle()))
        return;
    ShowWindow(Handle(), SW_RESTORE);
    // Hidden and shown again, the title bar gives the window its caption back.
    Titlebar1.SetVisible(false);
    Titlebar1.SetVisible(true);
    if (fromEscape && cursorCounter_ < 0)
        cursorCounter_ = ShowCursor(TRUE);
}

void TForm1::MouseMoved() {
    const std::uint32_t now = TickCount();
    if (now - lastMouseMoveTick_ < 1000 && cursorCounter_ < 0)
        cursorCounter_ = ShowCursor(TRUE);
    lastMouseMoveTick_ = now;
}

void TForm1::SizeChanged(WPARAM kind) {
    if (kind == SIZE_MAXIMIZED) {
        EnterFullScreen();
        return;
    }
    if (kind == SIZE_RESTORED) {
        // Back to (or resized in) the normal state: the name is the caption,
        // and a hidden title bar comes back.
        SetText(settings_.TimerName);
        Titlebar1.SetVisible(true);
    }
    if (kind != SIZE_MINIMIZED)
        FormResize();
}

bool TForm1::KeyUp(WORD key) {
    switch (key) {
    case VK_ESCAPE:
        LeaveFullScreen(true);
        return true;
    case VK_SPACE: {
        const CountdownState before = engine_.State();
        engine_.PauseToggle();
        PauseToggled(before);
        return true;
    }
    }
    return false;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarButtonMessage_ && message) {
        TaskbarButtonCreated();
        return 0;
    }
    switch (message) {
    case WM_SIZE:
        SizeChanged(wParam);
        break;
    case WM_MOUSEMOVE:
        MouseMoved();
        break;
    case WM_CONTEXTMENU:
        if (!PopupSuppressed()) {
            const POINT at = gui::PopupMenu::ContextMenuPosition(Handle(), lParam);
            PopupMenu1.Popup(at.x, at.y);
        }
        return 0;
    case WM_COMMAND:
        if (PopupMenu1.DispatchCommand(wParam, lParam))
            return 0;
        break;
    case WM_CLOSE:
        if (!CloseQuery())
            return 0;
        // A timer that ends without completing, closed by the user or by the
        // clock-change question, must not come back at the next log-on. At
        // the end of the session its value is what brings it back.
        if (!sessionEnding_)
            RemoveRunValue();
        break;
    case WM_QUERYENDSESSION:
        SessionEndQueried();
        break;
    case WM_ENDSESSION:
        SessionEnded(wParam != FALSE);
        break;
    case WM_SYSCOMMAND:
        if (SystemCommand(wParam))
            return 0;
        break;
    case WM_GETOBJECT:
        if (const auto answer = accessibility_.AnswerGetObject(Handle(), wParam, lParam))
            return *answer;
        break;
    case WM_TIMECHANGE:
        engine_.ClockChanged();
        return 0;
    case WM_DESTROY:
        ThreadedTimer1.SetEnabled(false);
        ThreadedTimer2.SetEnabled(false);
        screenSaver_.Release();
        WriteWindowSettings();
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void TForm1::SessionEndQueried() {
    // Log-off and shutdown are never held up by the close handling; if the
    // session goes on after all, the handling comes back.
    if (!sessionQueried_) {
        sessionQueried_ = true;
        closeQueryBeforeSession_ = closeQueryAttached_;
    }
    closeQueryAttached_ = false;
}

void TForm1::SessionEnded(bool ending) {
    if (ending) {
        sessionEnding_ = true;
        closeQueryAttached_ = false;
        // Only a timer that counts comes back: a line that could not be
        // parsed would bring its error back at every log-on.
        if (settings_.ResumeOnceAfterLogoff && parseResult_ == ParseOk && !engine_.Finished())
            WriteRunOnce();
    } else if (sessionQueried_) {
        closeQueryAttached_ = closeQueryBeforeSession_;
    }
    sessionQueried_ = false;
}

bool TForm1::SystemCommand(WPARAM command) {
    if (command == AboutCommand) {
        ShowAbout();
        return false;
    }
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
        ShowWindow(Handle(), SW_MINIMIZE);
        return true;
    case SC_RESTORE:
        ShowWindow(Handle(), SW_RESTORE);
        SetText(settings_.TimerName);
        return true;
    }
    return false;
}

// CountdownHost

DateTime TForm1::Now() {
    return NowSource();
}
std::uint32_t TForm1::TickCount() {
    return TickSource();
}
std::string TForm1::TimeSeparator() {
    return timeSeparator_;
}
void TForm1::SetThreadedTimer1Enabled(bool enabled) {
    ThreadedTimer1.SetEnabled(enabled);
    if (enabled)
        CountingStarted();
    UpdatePowerRequests();
}

void TForm1::UpdatePowerRequests() {
    // The ticker runs exactly while the countdown counts.
    const bool wanted = ThreadedTimer1.Enabled() && !settings_.ActionFile.empty();
    if (!wanted && !keepingAwake_)
        return;
    if (!power_)
        power_ = PowerSource();
    if (wanted) {
        if (!keepingAwake_)
            power_->KeepSystemAwake(true);
        // Set again on every resume: a pause moves the end.
        power_->WakeAt(settings_.EndTime);
    } else {
        power_->KeepSystemAwake(false);
        power_->WakeAt(std::nullopt);
    }
    keepingAwake_ = wanted;
}
void TForm1::SetThreadedTimer2Enabled(bool enabled) {
    ThreadedTimer2.SetEnabled(enabled);
}
void TForm1::SetNextTickDelay(std::uint32_t milliseconds) {
    ThreadedTimer1.SetNextDelay(milliseconds);
}
void TForm1::SetLabel1Text(const std::string& text) {
    Label1.SetText(text);
}
void TForm1::SetLabel2Text(const std::string& text) {
    Label2.SetText(text);
}
void TForm1::SetLabelsVisible(bool visible) {
    Label1.SetVisible(visible);
    Label2.SetVisible(visible);
}
bool TForm1::LabelsNeedLayout() {
    return Label1.Left() + Label1.Width() + DigitGap != Label2.Left();
}
bool TForm1::IsMinimized() {
    return IsIconic(Handle());
}
bool TForm1::IsMaximized() {
    return IsZoomed(Handle());
}
void TForm1::SetCaption(const std::string& caption) {
    SetText(caption);
}
void TForm1::RestoreWindow() {
    ShowWindow(Handle(), SW_RESTORE);
}
bool TForm1::ForceForeground() {
    return gui::ForceForeground(Handle());
}

void TForm1::HideIdleCursor() {
    if (TickCount() - lastMouseMoveTick_ > 3000 && cursorCounter_ >= 0)
        cursorCounter_ = ShowCursor(FALSE);
}

void TForm1::CloseWindow() {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::RemoveIdleHook() {
    if (idleHook_) {
        app_.RemoveIdleHandler(idleHook_);
        idleHook_ = 0;
    }
}

void TForm1::HideTitleBar() {
    Titlebar1.SetVisible(false);
}

void TForm1::StartUpdateCheck() {
    brevalo::StartUpdateCheck(Handle(), settings_.CheckForUpdates);
}

void TForm1::PlayTickSound() {
    PlayResourceSound(settings_.TickSound);
}

void TForm1::RunCompletion() {
    completion_->Run();
}

QuestionAnswer TForm1::AskInformationYesNoCancel(const std::string& message) {
    switch (gui::ShowMessageBox(Handle(), message, "Information",
                                MB_YESNOCANCEL | MB_ICONINFORMATION)) {
    case IDYES:
        return QuestionAnswer::Yes;
    case IDNO:
        return QuestionAnswer::No;
    default:
        return QuestionAnswer::Cancel;
    }
}

void TForm1::StartFrontEnd() {
    os::LaunchTimer(Handle(), "", "open");
}

} // namespace brevalo
