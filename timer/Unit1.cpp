#include "Unit1.h"

#include "Administrator.h"
#include "Application.h"
#include "Clock.h"
#include "Files.h"
#include "Locale.h"
#include "MessageBox.h"
#include "OsError.h"
#include "SettingsStore.h"
#include "Strings.h"
#include "Win32Registry.h"

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
        form_.startCancelled_ = true;
        form_.finished_ = true;
    }

private:
    TForm1& form_;
    FormatSettings formats_;
};

TForm1::TForm1() : Label1(*this), Label2(*this) {}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    CreateParams params;
    params.className = L"TForm1";
    params.caption = L"Timer";
    params.style = WS_OVERLAPPEDWINDOW;
    // Its own taskbar button, labelled with the caption.
    params.exStyle = WS_EX_APPWINDOW;
    params.icon = LoadIconW(gui::Application::Instance().Instance_(), L"MAINICON");
    CreateHandle(params);

    finished_ = false;
    Label1.SetText("00:00:00");
    Label2.SetText("00");
    SetText("Timer");
    settings_.TimerName = "Timer";

    settings_.ForeColor = DefaultForeColor;
    settings_.BackColor = DefaultBackColor;
    SetColor(COLORREF(settings_.BackColor));
    Label1.SetFont("DS-DIGITAL", 48, ANSI_CHARSET, true, true);
    Label2.SetFont("DS-DIGITAL", 24, ANSI_CHARSET, true, true);
    Label1.SetColor(COLORREF(settings_.ForeColor));
    Label2.SetColor(COLORREF(settings_.ForeColor));
    SetDoubleBuffered(true);
    SetKeyPreview(true);

    PlaceOnScreen();

    std::string raw = gui::Narrow(GetCommandLineW());
    std::vector<std::string> args = SplitCommandLine(raw);
    if (!args.empty())
        args[0] = os::ProgramPath();
    Parser parser(*this);
    parseResult_ = ParseCommandLine(args, raw, settings_, parser);
    if (parseResult_ != ParseOk)
        finished_ = true;
    if (!settings_.SilentErrors) {
        if (parseResult_ == ParseActionMissing)
            return;
        if (parseResult_ != ParseOk)
            throw std::runtime_error(ParseErrorMessage(parseResult_));
    }

    lastMouseMoveTick_ = os::TickCount();
}

void TForm1::PlaceOnScreen() {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const int width = (sw / 4) * 3;
    const int height = (sh / 3) * 2;
    SetBoundsPixels(sw / 2 - width / 2, sh / 3 - height / 3, width, height);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        // Keep the two labels centred until the full layout arrives.
        const RECT client = ClientRectPixels();
        const int width = Label1.Width() + 15 + Label2.Width();
        Label1.SetBounds((client.right - width) / 2, (client.bottom - Label1.Height()) / 2,
                         Label1.Width(), Label1.Height());
        Label2.SetBounds(Label1.Left() + Label1.Width() + 15,
                         Label1.Top() + Label1.Height() / 2 - Label2.Height(), Label2.Width(),
                         Label2.Height());
        break;
    }
    }
    return Form::HandleMessage(message, wParam, lParam);
}

} // namespace brevalo
