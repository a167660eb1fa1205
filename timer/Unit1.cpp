#include "Unit1.h"

#include "Administrator.h"
#include "Application.h"
#include "Clock.h"
#include "DigitFont.h"
#include "DigitLayout.h"
#include "Files.h"
#include "Foreground.h"
#include "LaunchTimer.h"
#include "Locale.h"
#include "MessageBox.h"
#include "OsError.h"
#include "Settings.h"
#include "Strings.h"
#include "Win32Registry.h"

#include <mmsystem.h>

#include <stdexcept>

namespace brevalo {

// What the command-line parser needs from the window and the system.
class TForm1::Parser : public ParserEnvironment {
public:
    explicit Parser(TForm1& form) : form_(form), formats_(os::UserFormatSettings()) {}

    DateTime Now() override { return os::LocalNow(); }
    const FormatSettings& Formats() override { return formats_; }
    bool FileExists(const std::string& path) override { return os::FileExists(path); }
    bool IsAdministrator() override { return os::IsAdministrator(); }
    void ShowError(const std::string& message) override { gui::ErrorBox(message, form_.Handle()); }
    void ToggleKeepOnTop() override {
        form_.settings_.KeepOnTop = !form_.settings_.KeepOnTop;
        SetWindowPos(form_.Handle(), form_.settings_.KeepOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                     0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void WriteAutorun(RegistryRoot root, const std::string& name,
                      const std::string& data) override {
        // A refused registry write must not stop the parsing: report it and
        // go on with the next switch.
        try {
            os::WriteRunValue(root, name, data);
        } catch (...) {
            gui::Application::Instance().HandleException(std::current_exception());
        }
    }
    void SetActionMenuItem(const std::string& caption, bool checked, bool enabled) override {
        form_.actionItemCaption_ = caption;
        form_.actionItemChecked_ = checked;
        form_.actionItemEnabled_ = enabled;
    }
    void CancelCountdown() override {
        form_.RemoveIdleHook();
        form_.engine_.SetFinished(true);
    }

private:
    TForm1& form_;
    FormatSettings formats_;
};

TForm1::TForm1() : Label1(*this), Label2(*this), engine_(*this, settings_, parseResult_) {
    ThreadedTimer1.SetInterval(200);
    ThreadedTimer1.SetThreadPriority(tpHighest);
    ThreadedTimer1.OnTimer = [this](TThreadedTimer&) { engine_.ThreadedTimer1Timer(); };
    ThreadedTimer2.SetInterval(750);
    ThreadedTimer2.OnTimer = [this](TThreadedTimer&) { engine_.ThreadedTimer2Timer(); };
}

TForm1::~TForm1() {
    RemoveIdleHook();
}

void TForm1::FormCreate() {
    CreateParams params;
    params.className = L"TForm1";
    params.caption = L"Timer";
    params.style = WS_OVERLAPPEDWINDOW;
    // Its own taskbar button, labelled with the caption.
    params.exStyle = WS_EX_APPWINDOW;
    params.icon = LoadIconW(gui::Application::Instance().Instance_(), L"MAINICON");
    CreateHandle(params);

    engine_.SetFinished(false);
    Label1.SetText("00:00:00");
    Label2.SetText("00");
    SetText("Timer");
    settings_.TimerName = "Timer";

    ReadWindowSettings();

    // The digits' font: installed from the program itself when missing.
    try {
        InstallDigitFont();
    } catch (...) {
        gui::Application::Instance().HandleException(std::current_exception());
    }
    Label1.SetFont(DigitFontFace, 48, ANSI_CHARSET, true, true);
    Label2.SetFont(DigitFontFace, 24, ANSI_CHARSET, true, true);
    SetDoubleBuffered(true);
    SetKeyPreview(true);

    Label1.OnClick = [this](gui::GraphicControl&) { LeaveFullScreen(false); };
    Label2.OnClick = [this](gui::GraphicControl&) { LeaveFullScreen(false); };

    PlaceOnScreen();
    timeSeparator_ = os::UserFormatSettings().timeSeparator;

    // The countdown starts at the first idle moment; parsing removes the
    // hook again when the action file is missing.
    idleHook_ = gui::Application::Instance().AddIdleHandler([this] { engine_.Start(); });

    std::string raw = gui::Narrow(GetCommandLineW());
    std::vector<std::string> args = SplitCommandLine(raw);
    if (!args.empty())
        args[0] = os::ProgramPath();
    Parser parser(*this);
    parseResult_ = ParseCommandLine(args, raw, settings_, parser);
    Label1.SetColor(COLORREF(settings_.ForeColor));
    Label2.SetColor(COLORREF(settings_.ForeColor));
    SetColor(COLORREF(settings_.BackColor));
    if (!settings_.SilentErrors) {
        if (parseResult_ == ParseActionMissing)
            return;
        if (parseResult_ != ParseOk && parseResult_ != ParseActionMissing)
            throw std::runtime_error(ParseErrorMessage(parseResult_));
    }
    if (parseResult_ != ParseOk)
        engine_.SetFinished(true);

    if (settings_.StartMaximized)
        ShowWindow(Handle(), SW_SHOWMAXIMIZED);

    lastMouseMoveTick_ = os::TickCount();
}

void TForm1::ReadWindowSettings() {
    WindowSettings window;
    try {
        window = os::Settings().ReadWindowSettings();
    } catch (...) {
        // A damaged settings file is reported; the timer runs on with the
        // default colours.
        gui::Application::Instance().HandleException(std::current_exception());
    }
    settings_.ForeColor = window.ForeColor;
    settings_.BackColor = window.BackColor;
    settings_.CheckForUpdates = window.CheckForUpdates;
    Label1.SetColor(COLORREF(window.ForeColor));
    Label2.SetColor(COLORREF(window.ForeColor));
    SetColor(COLORREF(window.BackColor));
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
    const DigitLayout layout = LayoutDigits(windowWidth, windowHeight, client.bottom,
                                            Label2.Width(), measure(Label1), measure(Label2));
    Label1.SetFontSize(layout.label1Size);
    Label2.SetFontSize(layout.label2Size);
    Label1.SetBounds(layout.label1Left, layout.label1Top, Label1.Width(), Label1.Height());
    Label2.SetBounds(layout.label2Left, layout.label2Top, Label2.Width(), Label2.Height());
    laidOut_ = true;
}

void TForm1::Invert1Click() {
    const COLORREF digits = Label1.Color();
    Label2.SetColor(Color());
    SetColor(digits);
    Label1.SetColor(Label2.Color());
}

void TForm1::EnterFullScreen() {
    const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    const LONG exStyle = GetWindowLongW(Handle(), GWL_EXSTYLE);
    // Borderless and tool windows, and a window whose caption is already
    // gone, are simply maximized.
    const bool hasBorder = (style & (WS_BORDER | WS_THICKFRAME | WS_DLGFRAME)) != 0;
    if (hasBorder && !(exStyle & WS_EX_TOOLWINDOW) && (style & WS_CAPTION) == WS_CAPTION) {
        LONG next = style & ~WS_CAPTION;
        if ((style & WS_DLGFRAME) && !(style & WS_THICKFRAME))
            next |= WS_DLGFRAME | DS_MODALFRAME;
        else
            next |= WS_BORDER;
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
    // Give the caption back: the window may have lost it when it went full
    // screen.
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION) {
        SetWindowLongW(Handle(), GWL_STYLE, (style | WS_CAPTION));
        RECT r = BoundsPixels();
        SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left,
                     r.bottom - r.top + GetSystemMetrics(SM_CYCAPTION),
                     SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    if (fromEscape && cursorCounter_ < 0)
        cursorCounter_ = ShowCursor(TRUE);
}

void TForm1::MouseMoved() {
    const std::uint32_t now = os::TickCount();
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
        // Back to (or resized in) the normal state: the name is the caption.
        SetText(settings_.TimerName);
    }
    if (kind != SIZE_MINIMIZED)
        FormResize();
}

bool TForm1::KeyUp(WORD key) {
    switch (key) {
    case VK_ESCAPE:
        LeaveFullScreen(true);
        return true;
    case VK_SPACE:
        engine_.PauseToggle();
        return true;
    }
    return false;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        SizeChanged(wParam);
        break;
    case WM_MOUSEMOVE:
        MouseMoved();
        break;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            ShowWindow(Handle(), SW_MINIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindow(Handle(), SW_RESTORE);
            SetText(settings_.TimerName);
            return 0;
        }
        break;
    case WM_TIMECHANGE:
        engine_.ClockChanged();
        return 0;
    case WM_DESTROY:
        ThreadedTimer1.SetEnabled(false);
        ThreadedTimer2.SetEnabled(false);
        WriteWindowSettings();
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

// CountdownHost

DateTime TForm1::Now() {
    return os::LocalNow();
}
std::uint32_t TForm1::TickCount() {
    return os::TickCount();
}
std::string TForm1::TimeSeparator() {
    return timeSeparator_;
}
bool TForm1::ThreadedTimer1Enabled() {
    return ThreadedTimer1.Enabled();
}
void TForm1::SetThreadedTimer1Enabled(bool enabled) {
    ThreadedTimer1.SetEnabled(enabled);
}
void TForm1::SetThreadedTimer2Enabled(bool enabled) {
    ThreadedTimer2.SetEnabled(enabled);
}
std::string TForm1::Label1Text() {
    return Label1.Text();
}
void TForm1::SetLabel1Text(const std::string& text) {
    Label1.SetText(text);
}
std::string TForm1::Label2Text() {
    return Label2.Text();
}
void TForm1::SetLabel2Text(const std::string& text) {
    Label2.SetText(text);
}
bool TForm1::Label1Visible() {
    return Label1.Visible();
}
void TForm1::SetLabel1Visible(bool visible) {
    Label1.SetVisible(visible);
}
void TForm1::SetLabel2Visible(bool visible) {
    Label2.SetVisible(visible);
}
int TForm1::Label1Left() {
    return Label1.Left();
}
int TForm1::Label1Width() {
    return Label1.Width();
}
int TForm1::Label2Left() {
    return Label2.Left();
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
    if (os::TickCount() - lastMouseMoveTick_ > 3000 && cursorCounter_ >= 0)
        cursorCounter_ = ShowCursor(FALSE);
}

void TForm1::CloseWindow() {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::RemoveIdleHook() {
    if (idleHook_) {
        gui::Application::Instance().RemoveIdleHandler(idleHook_);
        idleHook_ = 0;
    }
}

void TForm1::HideTitleBar() {}

void TForm1::StartUpdateCheck() {}

void TForm1::PlayTickSound() {
    if (settings_.TickSound.empty() || waveOutGetNumDevs() == 0)
        return;
    PlaySoundW(gui::Widen(settings_.TickSound).c_str(), GetModuleHandleW(nullptr),
               SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

void TForm1::RunCompletion() {
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    if (!settings_.NoBringToFront)
        gui::ForceForeground(Handle());
    settings_.CloseMode = 0;
    if (!settings_.KeepOpenWhenDone)
        CloseWindow();
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
