#include "Unit4.h"

#include "Accessible.h"
#include "Application.h"
#include "Clock.h"
#include "Files.h"
#include "Help.h"
#include "LaunchTimer.h"
#include "Locale.h"
#include "Mnemonic.h"
#include "MessageBox.h"
#include "OsError.h"
#include "Settings.h"
#include "Strings.h"
#include "Unit1.h"
#include "Unit5.h"
#include "Unit6.h"
#include "uVistaFuncs.h"

#include <mmsystem.h>

#include <array>
#include <cmath>
#include <utility>

namespace brevalo {

namespace {

// Puts `text` on the clipboard as Unicode text; throws OsError.
void CopyToClipboard(HWND owner, const std::string& text) {
    const std::wstring wide = base::Widen(text);
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        base::RaiseLastOsError();
    void* data = GlobalLock(memory);
    memcpy(data, wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        base::RaiseLastOsError();
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed) {
        GlobalFree(memory);
        base::RaiseLastOsError();
    }
}

// Shows a control that was created hidden, without activating it.
void ShowQuietly(controls::ChildControl& control) {
    ShowWindow(control.Handle(), SW_SHOWNA);
}

} // namespace

AdvancedEnvironment AdvancedEnvironment::System() {
    AdvancedEnvironment environment;
    environment.waveDevices = waveOutGetNumDevs();
    const controls::WindowsVersion version = controls::ReportedWindowsVersion();
    environment.majorVersion = version.major;
    environment.minorVersion = version.minor;
    return environment;
}

bool UsesLayoutIcons(unsigned major, unsigned minor) {
    return (major == 5 && minor == 1) || major == 6;
}

TForm4::TForm4() {
    Launch = [](HWND owner, const std::string& switches, const std::string& verb) {
        os::LaunchTimer(owner, switches, verb);
    };
}

TForm4::~TForm4() = default;

void TForm4::SetCompanions(TForm5* options, TForm6* action) noexcept {
    options_ = options;
    action_ = action;
}

void TForm4::FormCreate(const AdvancedEnvironment& environment) {
    CreateWindowWithIcon();
    // The controls with their captions, created in tab order. Positions
    // inside a group are the group's own plus the control's.
    CreateEndPointGroups();
    CreateNameAndColours();
    CreateSoundGroup();
    CreateWindowGroups();
    CreateButtons();
    SetUpControls();
    NameControls();
    ConnectHandlers();
    // The resizer is there but never started, so nothing is rescaled.
    resizer_ = std::make_unique<controls::TFormResizer>(this);
    resizer_->SetMinFontSize(8);
    resizer_->SetMaxFontSize(48);

    PlaceWindow();
    AddSystemMenuItems();
    ApplyEnvironment(environment);
    ShowInitialValues();

    // The size is fixed.
    const RECT fixed = BoundsPixels();
    fixedSize_ = SIZE{fixed.right - fixed.left, fixed.bottom - fixed.top};
    fixedDpi_ = Dpi();
}

void TForm4::CreateWindowWithIcon() {
    // The window's font is the system's dialog font.
    CreateDialogWindow({L"TBrevaloForm4", "", 593, 428, false, nullptr});
    // A main window: on the taskbar, with a minimise box.
    SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) | WS_MINIMIZEBOX);
    SetWindowLongW(Handle(), GWL_EXSTYLE,
                   (GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_APPWINDOW));
    const HICON mainIcon = LoadIconW(controls::WindowInstance(Handle()), L"MAINICON");
    if (mainIcon) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainIcon));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(mainIcon));
    }
}

std::unique_ptr<controls::RadioButton> TForm4::AddRadio(const char* caption, int left, int top,
                                                        int width, bool first) {
    auto control = std::make_unique<controls::RadioButton>(
        Handle(), caption, ScaleRect(left, top, width, 17), Font(), first);
    ShowQuietly(*control);
    return control;
}

void TForm4::CreateEndPointGroups() {
    const HWND h = Handle();
    const HFONT font = Font();
    GroupBox1 = std::make_unique<controls::GroupBox>(h, "Timer by tar&get date time",
                                                     ScaleRect(18, 16, 273, 81), font);
    Label1 =
        std::make_unique<controls::StaticText>(h, "Target &date", ScaleRect(34, 48, 100, 13), font);
    DateTimePicker1 = std::make_unique<controls::DateTimePicker>(h, controls::PickerKind::Date,
                                                                 ScaleRect(34, 64, 113, 21), font);
    Label2 =
        std::make_unique<controls::StaticText>(h, "&Target time", ScaleRect(162, 48, 100, 13), font);
    DateTimePicker2 = std::make_unique<controls::DateTimePicker>(h, controls::PickerKind::Time,
                                                                 ScaleRect(162, 64, 113, 21), font);

    GroupBox2 = std::make_unique<controls::GroupBox>(h, "Timer by interva&l",
                                                     ScaleRect(306, 16, 273, 81), font);
    Label3 =
        std::make_unique<controls::StaticText>(h, "&Interval", ScaleRect(322, 48, 100, 13), font);
    SpinEdit1.Create(h, 322, 64, 113, 22);
    SendMessageW(SpinEdit1.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SpinEdit1.SetMinValue(0);
    SpinEdit1.SetMaxValue(0);
    SpinEdit1.SetValue(0);
    RadioSeconds = AddRadio("&Seconds", 458, 40, 89, true);
    RadioMinutes = AddRadio("&Minutes", 458, 64, 89, false);
}

void TForm4::CreateNameAndColours() {
    const HWND h = Handle();
    const HFONT font = Font();
    Image1 = std::make_unique<controls::StaticIcon>(h, ScaleRect(20, 117, 32, 32));
    LabeledEdit1 = std::make_unique<controls::LabeledEdit>(
        h, "Timer &name", "Timer", ScaleRect(66, 128, 217, 21), font, Scale(16));
    LabeledEdit1->EditBox.SetMaxLength(100);

    Label4 =
        std::make_unique<controls::StaticText>(h, "&Foreground", ScaleRect(306, 128, 72, 13), font);
    ColorButton1.Create(h, 380, 120, 49, 25);
    ColorButton1.SetFont(font);
    ColorButton1.SetWordStyle(false);
    ColorButton1.SetCaptionAutoColor("Foreground");
    ColorButton1.SetCaptionOtherColor("Other Colors...");
    ColorButton1.SetDropDownCaption("Foreground");
    ColorButton1.SetFlat(true);
    ColorButton1.SetDropDownWidth(9);
    Label5 =
        std::make_unique<controls::StaticText>(h, "&Background", ScaleRect(455, 128, 72, 13), font);
    ColorButton2.Create(h, 530, 120, 49, 25);
    ColorButton2.SetFont(font);
    ColorButton2.SetWordStyle(true);
    ColorButton2.SetCaptionAutoColor("Automatic");
    ColorButton2.SetCaptionOtherColor("Background");
    ColorButton2.SetDropDownCaption("Background");
    ColorButton2.SetFlat(true);
    ColorButton2.SetDropDownWidth(9);
}

void TForm4::NameControls() {
    // Each control is named after its label; a radio button in a row of its
    // own is described by the row's label.
    for (const auto& [label, control] : {std::pair{Label1.get(), DateTimePicker1->Handle()},
                                        std::pair{Label2.get(), DateTimePicker2->Handle()},
                                        std::pair{Label3.get(), SpinEdit1.Handle()}})
        gui::NameAfterLabel(control, label->Text());
    ColorButton1.SetAccessibleName(Label4->Text());
    ColorButton2.SetAccessibleName(Label5->Text());
    for (const auto& [label, row] :
         {std::pair{Label6.get(), std::array{TickNone.get(), TickStandard.get(),
                                             TickElectronic.get()}},
          std::pair{Label7.get(),
                    std::array{DoneNone.get(), DoneStandard.get(), DoneElectronic.get()}}}) {
        for (controls::RadioButton* radio : row) {
            gui::AccessibleInfo info;
            info.description = [text = gui::WithoutMnemonic(label->Text())] { return text; };
            gui::SetAccessible(radio->Handle(), std::move(info));
        }
    }
}

void TForm4::CreateSoundGroup() {
    const HWND h = Handle();
    const HFONT font = Font();
    GroupBox3 = std::make_unique<controls::GroupBox>(h, "So&und", ScaleRect(18, 168, 561, 89), font);
    Image2 = std::make_unique<controls::StaticIcon>(h, ScaleRect(35, 197, 48, 48));
    Label6 = std::make_unique<controls::StaticText>(h, "&Every second", ScaleRect(106, 200, 84, 13),
                                                    font);
    TickNone = AddRadio("None", 210, 200, 70, true);
    TickStandard = AddRadio("Standard", 288, 200, 90, false);
    TickElectronic = AddRadio("Electronic", 389, 200, 90, false);
    Label7 = std::make_unique<controls::StaticText>(h, "&On completion", ScaleRect(106, 232, 84, 13),
                                                    font);
    DoneNone = AddRadio("None", 210, 232, 70, true);
    DoneStandard = AddRadio("Standard", 288, 232, 90, false);
    DoneElectronic = AddRadio("Electronic", 389, 232, 90, false);
}

void TForm4::CreateWindowGroups() {
    const HWND h = Handle();
    const HFONT font = Font();
    GroupBox4 = std::make_unique<controls::GroupBox>(h, "Close &prompting",
                                                     ScaleRect(18, 272, 209, 97), font);
    CloseActive = AddRadio("When timer is active", 42, 296, 177, true);
    CloseNever = AddRadio("Never", 42, 320, 177, false);
    CloseStop = AddRadio("Stop close while active", 42, 344, 177, false);

    GroupBox5 =
        std::make_unique<controls::GroupBox>(h, "Bo&rder", ScaleRect(242, 272, 149, 97), font);
    BorderShow = AddRadio("Show", 266, 304, 113, true);
    BorderHide = AddRadio("Hide", 266, 328, 113, false);

    GroupBox6 =
        std::make_unique<controls::GroupBox>(h, "S&creen mode", ScaleRect(402, 272, 177, 97), font);
    Image3 = std::make_unique<controls::StaticIcon>(h, ScaleRect(418, 304, 48, 48));
    ScreenNormal = AddRadio("Normal", 482, 304, 89, true);
    ScreenFull = AddRadio("Full screen", 482, 328, 89, false);
}

void TForm4::CreateButtons() {
    const HWND h = Handle();
    const HFONT font = Font();
    const DWORD button = WS_TABSTOP | WS_VISIBLE;
    ButtonOK = std::make_unique<controls::PushButton>(h, "OK", ScaleRect(264, 392, 70, 25), font,
                                                      button | WS_GROUP);
    ButtonCancel = std::make_unique<controls::PushButton>(h, "Cancel", ScaleRect(340, 392, 70, 25),
                                                          font, button);
    ButtonAction = std::make_unique<controls::PushButton>(h, "&Action", ScaleRect(419, 392, 70, 25),
                                                          font, button);
    ButtonAdvanced = std::make_unique<controls::PushButton>(
        h, "Ad&vanced", ScaleRect(498, 392, 78, 25), font, button);
    ButtonHelp =
        std::make_unique<controls::PushButton>(h, "&Help", ScaleRect(16, 392, 70, 25), font, button);
}

void TForm4::SetUpControls() {
    for (controls::ChildControl* c : std::initializer_list<controls::ChildControl*>{
             Label1.get(), Label2.get(), Label3.get(), DateTimePicker1.get(),
             DateTimePicker2.get()})
        ShowQuietly(*c);
    // Labels are as wide as their text, whatever the font and the DPI.
    for (controls::StaticText* label : {Label1.get(), Label2.get(), Label3.get(), Label4.get(),
                                        Label5.get(), Label6.get(), Label7.get()})
        label->FitToText();

    ButtonOK->SetDefault(true);
    SetDefaultButton(ButtonOK.get());
    SetCancelButton(ButtonCancel.get());
    RadioMinutes->SetChecked(true);
    TickNone->SetChecked(true);
    DoneStandard->SetChecked(true);
    CloseActive->SetChecked(true);
    BorderShow->SetChecked(true);
    ScreenNormal->SetChecked(true);
}

void TForm4::ConnectHandlers() {
    using controls::RadioButton;
    ButtonOK->OnClick = [this](controls::PushButton&) { OKClick(); };
    ButtonCancel->OnClick = [this](controls::PushButton&) { CancelClick(); };
    ButtonAction->OnClick = [this](controls::PushButton&) { ActionClick(); };
    ButtonAdvanced->OnClick = [this](controls::PushButton&) { AdvancedClick(); };
    ButtonHelp->OnClick = [this](controls::PushButton&) { HelpClick(); };
    DateTimePicker1->OnChange = [this](controls::DateTimePicker&) { DatePickerChange(); };
    DateTimePicker2->OnChange = [this](controls::DateTimePicker&) { DatePickerChange(); };
    SpinEdit1.OnChange = [this](controls::TSpinEdit&) { SpinEdit1Change(); };
    ScreenNormal->OnClick = [this](RadioButton&) { ScreenModeClick(); };
    ScreenFull->OnClick = [this](RadioButton&) { ScreenModeClick(); };
}

void TForm4::PlaceWindow() {
    // The window's size from the button row, centred on the screen.
    const int width = Scale(498 + 78 + 2 * 16), height = Scale(392 + 25 + 55);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetBoundsPixels(left, top, width, height);
}

void TForm4::AddSystemMenuItems() {
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    InsertMenuW(menu, 0xFFFF, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(menu, 0xFFFF, MF_BYPOSITION | MF_STRING, CopyCommandLineCommand,
                L"Copy command line");
    InsertMenuW(menu, 0xFFFF, MF_BYPOSITION | MF_STRING, AboutCommand, L"About");
}

void TForm4::ApplyEnvironment(const AdvancedEnvironment& environment) {
    // No sound device: no sounds to choose.
    if (environment.waveDevices == 0) {
        TickNone->SetChecked(true);
        DoneNone->SetChecked(true);
        for (controls::RadioButton* r : {TickNone.get(), TickStandard.get(), TickElectronic.get(),
                                         DoneNone.get(), DoneStandard.get(), DoneElectronic.get()})
            r->SetEnabled(false);
        GroupBox3->SetEnabled(false);
        Label6->SetEnabled(false);
        Label7->SetEnabled(false);
    }

    // The icons for this version of Windows.
    layoutIcons_ = UsesLayoutIcons(environment.majorVersion, environment.minorVersion);
    Image1->SetIcon(layoutIcons_ ? L"TIMERICON" : L"OLDTIMER", 32);
    Image2->SetIcon(layoutIcons_ ? L"SOUNDICON" : L"OLDSOUND", 48);
    Image3->SetIcon(layoutIcons_ ? L"SCREENICON" : L"OLDSCREEN", 48);
}

void TForm4::ShowInitialValues() {
    // Today and an hour from now.
    const DateTime now = os::LocalNow();
    DateTimePicker1->SetValue(now);
    DateTimePicker2->SetValue(AddMinutes(now, 60));

    // The colours of the settings file.
    const FrontEndColours colours = os::Settings().ReadFrontEndColours();
    ColorButton1.SetSelectedColor(colours.ForeColor);
    ColorButton2.SetSelectedColor(colours.BackColor);

    // Name and caption.
    LabeledEdit1->SetText("Timer");
    SetText("Create a timer");
}

AdvancedChoices TForm4::Choices() const {
    AdvancedChoices choices;
    choices.IntervalValue = SpinEdit1.Value();
    choices.IntervalInSeconds = RadioSeconds->Checked();
    choices.TargetDate = DateTimePicker1->Value();
    choices.TargetTime = DateTimePicker2->Value();
    choices.TimerName = LabeledEdit1->Text();
    choices.ForeColor = ColorButton1.SelectedColor();
    choices.BackColor = ColorButton2.SelectedColor();
    choices.TickSound = TickStandard->Checked()     ? SoundChoice::Standard
                        : TickElectronic->Checked() ? SoundChoice::Electronic
                                                    : SoundChoice::None;
    choices.DoneSound = DoneNone->Checked()         ? SoundChoice::None
                        : DoneElectronic->Checked() ? SoundChoice::Electronic
                                                    : SoundChoice::Standard;
    choices.Prompting = CloseNever->Checked()  ? ClosePrompting::Never
                        : CloseStop->Checked() ? ClosePrompting::StopCloseWhileActive
                                               : ClosePrompting::WhenTimerIsActive;
    choices.HideBorder = BorderHide->Checked();
    choices.FullScreen = ScreenFull->Checked();
    if (options_)
        choices.Options = options_->Options();
    if (action_) {
        choices.ActionFile = action_->ActionFile();
        choices.ActionParams = action_->ActionParams();
        choices.ActionVerb = action_->ActionVerb();
    }
    return choices;
}

std::string TForm4::BuildSwitches(AdvancedVariant variant) const {
    return BuildAdvancedSwitches(Choices(), variant, os::UserFormatSettings());
}

void TForm4::OKClick() {
    if (options_)
        options_->LoadFromSettings();
    const std::string switches = BuildSwitches(AdvancedVariant::Launch);
    Launch(Handle(), switches, AdvancedLaunchVerb);
    Close();
}

void TForm4::CancelClick() {
    Close();
}

void TForm4::ActionClick() {
    if (action_)
        action_->ShowModal();
}

void TForm4::AdvancedClick() {
    if (!options_)
        return;
    options_->LoadFromSettings();
    options_->ShowModal();
    options_->SaveToSettings();
}

void TForm4::HelpClick() {
    os::OpenHelp(Handle());
}

void TForm4::CopyCommandLine() {
    const std::string switches = BuildSwitches(AdvancedVariant::Clipboard);
    CopyToClipboard(Handle(), CommandLineDisplayText(os::ProgramPath(), switches));
    gui::InformationBox("Command line copied to the clipboard.", Handle());
}

void TForm4::ShowAbout() {
    gui::InformationBox(AboutText(), Handle());
}

void TForm4::DatePickerChange() {
    SpinEdit1.SetValue(0);
}

void TForm4::SpinEdit1Change() {
    if (SpinEdit1.Value() < 0)
        SpinEdit1.SetValue(0);
}

void TForm4::ScreenModeClick() {
    const bool normal = !ScreenFull->Checked();
    BorderShow->SetEnabled(normal);
    BorderHide->SetEnabled(normal);
}

bool TForm4::SystemCommand(UINT command) {
    try {
        if (command == CopyCommandLineCommand)
            CopyCommandLine();
        else if (command == AboutCommand)
            ShowAbout();
        else
            return false;
    } catch (...) {
        gui::Application::Instance().HandleException(std::current_exception());
    }
    return true;
}

LRESULT TForm4::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The controls' own colours first, then the dialog's face colour.
    LRESULT colour = 0;
    if (controls::ChildControl::Reflect(message, wParam, lParam, colour) ||
        controls::DialogFaceColor(message, wParam, colour))
        return colour;
    switch (message) {
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (controls::NotifyControl::ReflectNotify(lParam, result))
            return result;
        break;
    }
    case WM_SYSCOMMAND:
        // Handled, then passed on to the default handling as well.
        SystemCommand(UINT(wParam));
        break;
    case WM_GETMINMAXINFO:
        if (fixedSize_.cx > 0) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            // The fixed size grows and shrinks with the window's DPI.
            const int dpi = int(Dpi()), fixedDpi = int(fixedDpi_);
            info->ptMinTrackSize = info->ptMaxTrackSize =
                POINT{MulDiv(fixedSize_.cx, dpi, fixedDpi), MulDiv(fixedSize_.cy, dpi, fixedDpi)};
        }
        return 0;
    }
    return controls::DialogForm::HandleMessage(message, wParam, lParam);
}

} // namespace brevalo
