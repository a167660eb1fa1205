// The wizard's reactions: page entry, the Next and Back checks, the page
// buttons, the menus, Finish and the switch to advanced mode.
#include "Unit8.h"

#include "Application.h"
#include "Clock.h"
#include "CommandLine.h"
#include "DigitFont.h"
#include "Files.h"
#include "Help.h"
#include "InputBox.h"
#include "LaunchTimer.h"
#include "Locale.h"
#include "MessageBox.h"
#include "OsError.h"
#include "Settings.h"
#include "ShellOpen.h"
#include "SoundNames.h"
#include "Strings.h"
#include "Unit7.h"

#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace brevalo {

using namespace controls;

COLORREF PreviewColour(TColor colour) {
    if ((std::uint32_t(colour) & 0xFF000000u) == 0xFF000000u)
        return ResolveColor(colour);
    return COLORREF(std::uint32_t(colour) & 0x00FFFFFFu);
}

namespace {

// The sound value of a list row: 0 "None", 1 "Standard", 2 "Electronic",
// anything else 0.
int SoundOfRow(int row) {
    return row == 1 || row == 2 ? row : 0;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void PutOnClipboard(HWND owner, const std::string& text) {
    const std::wstring wide = base::Widen(text);
    if (!OpenClipboard(owner))
        base::RaiseLastOsError();
    EmptyClipboard();
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            memcpy(target, wide.c_str(), bytes);
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_UNICODETEXT, memory))
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

// One interval edit as a whole number; the standard conversion error when it
// is not one.
std::int64_t IntervalPart(const std::string& text) {
    const auto value = ParseInteger(text);
    if (!value)
        throw std::runtime_error("'" + text + "' is not a valid integer value");
    return *value;
}

} // namespace

std::string TForm8::Switches(WizardVariant variant) const {
    return BuildWizardSwitches(State, os::Settings().ReadAdvancedOptions(), variant);
}

// ---- outside effects

void TForm8::Inform(const std::string& text) {
    gui::InformationBox(text, Handle());
}

void TForm8::Fail(const std::string& text) {
    gui::ErrorBox(text, Handle());
}

bool TForm8::AskYesNo(const std::string& text) {
    return gui::ShowMessageBox(Handle(), text, "Information", MB_ICONINFORMATION | MB_YESNO) ==
           IDYES;
}

void TForm8::StartTimer(const std::string& switches) {
    os::LaunchTimer(Handle(), switches, WizardLaunchVerb);
}

void TForm8::StartProgramAgain() {
    os::ShellOpen(Handle(), "open", os::ProgramPath());
}

void TForm8::ExecuteTips() {
    TipDialog1.Execute(Handle());
}

// ---- tips

void TForm8::ShowTipsNow(bool always) {
    if (idleHandler_) {
        gui::Application::Instance().RemoveIdleHandler(idleHandler_);
        idleHandler_ = 0;
    }
    TipDialog1.SetShowAtStart(ShowTips);
    if (always || ShowTips)
        ExecuteTips();
    ShowTips = TipDialog1.ShowAtStart();
    os::Settings().WriteTips(ShowTips);
}

// ---- position 0

void TForm8::Edit1KeyPress(wchar_t& key, bool& refuse) {
    static const std::wstring forbidden = L"\\/:*?\"<>|";
    if (forbidden.find(key) != std::wstring::npos) {
        Inform("The character " + base::Narrow(std::wstring(1, key)) + " is not allowed");
        refuse = true;
    }
}

void TForm8::Page1Next(bool& stop) {
    if (!RadioButton1->Checked() && !RadioButton2->Checked()) {
        Inform("Please choose how you want to setup your timer.");
        stop = true;
        return;
    }
    State.TimerName = Edit1->Text();
    stop = true;
    KWizard1->SetActivePage(RadioButton1->Checked() ? KWizardInteriorPage2.get()
                                                    : KWizardInteriorPage3.get());
}

// ---- position 1

void TForm8::Page2Enter() {
    const DateTime now = os::LocalNow();
    const DateTime inAnHour = AddSeconds(now, 3600);
    DateTimePicker1->SetMinDate(now);
    DateTimePicker1->SetValue(inAnHour);
    DateTimePicker2->SetValue(inAnHour);
}

void TForm8::Page2Next(bool& stop) {
    const DateTime date = std::floor(DateTimePicker1->Value());
    const DateTime time = DateTimePicker2->Value();
    const DateTime timeOfDay = time - std::floor(time);
    if (date + timeOfDay <= os::LocalNow()) {
        Fail("The proposed date and time has already expired. Change the settings to continue.");
        stop = true;
        return;
    }
    State.TargetText = TargetDateText(date, timeOfDay, os::UserFormatSettings());
    State.IntervalSeconds = 0;
    stop = true;
    KWizard1->SetActivePage(KWizardInteriorPage4.get());
}

// ---- position 2

void TForm8::IntervalKeyPress(wchar_t key, bool& refuse) {
    if ((key >= L'0' && key <= L'9') || key == VK_BACK)
        return;
    Inform("You can only enter numbers in this box");
    refuse = true;
}

void TForm8::Page3Next(bool& stop) {
    TEdit* edits[] = {Edit2.get(), Edit3.get(), Edit4.get(), Edit5.get()};
    for (TEdit* edit : edits)
        if (edit->Text().empty())
            edit->SetText("0");
    const std::int64_t total = IntervalPart(Edit2->Text()) * 86400 +
                               IntervalPart(Edit3->Text()) * 3600 +
                               IntervalPart(Edit4->Text()) * 60 + IntervalPart(Edit5->Text());
    State.TargetText.clear();
    if (total <= 0) {
        // A pasted negative number counts as no time at all.
        State.IntervalSeconds = 0;
        Inform("Your must enter the amount of time you want to put on your timer.");
        stop = true;
        return;
    }
    if (total > INT32_MAX) {
        // The timer reads its length as a 32-bit number of seconds.
        Inform("The length of time is too long. Enter less than 24855 days.");
        stop = true;
        return;
    }
    State.IntervalSeconds = total;
}

// ---- position 3

void TForm8::ActionUpdate(bool leaving, bool& stop) {
    const std::string program = Edit6->Text();
    if (program.empty()) {
        State.ActionText.clear();
    } else if (os::FileExists(program)) {
        // In full: the timer may start, or come back at log-on, in another
        // current folder.
        const std::string full = os::FullPath(program);
        if (full != program)
            Edit6->SetText(full);
        State.ActionText = WizardActionText(full, Edit7->Text());
    } else if (!leaving) {
        Fail("Action file " + program + " cannot be found.");
        stop = true;
    }
}

void TForm8::Page4Next(bool& stop) {
    ActionUpdate(false, stop);
}

void TForm8::Page4Back(bool& stop) {
    ActionUpdate(true, stop);
    stop = true;
    KWizard1->SetActivePage(RadioButton1->Checked() ? KWizardInteriorPage2.get()
                                                    : KWizardInteriorPage3.get());
}

void TForm8::Button1Click() {
    wchar_t file[MAX_PATH]{};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = L"Program files\0*.exe;*.com;*.bat;*.pif\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = L"Select action";
    ofn.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&ofn))
        Edit6->SetText(base::Narrow(file));
}

void TForm8::Button2Click() {
    if (!AskYesNo("This will test your action by trying to perform the action now.\n\rWould you "
                  "like to continue?"))
        return;
    os::ShellOpen(Handle(), "open", Edit6->Text(), Edit7->Text());
}

void TForm8::FillAction(const std::string& program, const std::string& params) {
    Edit6->SetText(os::SystemFolder() + program);
    Edit7->SetText(params);
}

std::optional<std::string> TForm8::AskAddress() {
    return gui::InputBox(Handle(), "Open website", "Enter the url of the website to open", "");
}

void TForm8::VisitWebsite() {
    // The shell is asked which program opens an empty page file. The file
    // is one of our own: CREATE_NEW never opens, and so never empties or
    // deletes, a file that another program keeps in the temporary folder.
    std::string browser;
    const std::string folder = os::TempFolder();
    const std::string stem = "tmp-brevalo-" + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring page = base::Widen(folder + stem + std::to_string(attempt) + ".html");
        HANDLE file = CreateFileW(page.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            break;
        }
        wchar_t found[MAX_PATH]{};
        if (reinterpret_cast<INT_PTR>(FindExecutableW(page.c_str(), nullptr, found)) > 32)
            browser = base::Narrow(found);
        CloseHandle(file);
        DeleteFileW(page.c_str());
        break;
    }
    const auto address = AskAddress();
    if (!address)
        return;
    Edit6->SetText(browser);
    Edit7->SetText("\"" + *address + "\"");
}

// ---- position 4

void TForm8::Page5Enter() {
    const bool device = waveOutGetNumDevs() != 0;
    SpeedButton1->SetEnabled(device);
    SpeedButton2->SetEnabled(device);
    ComboBox1->SetItemIndex(State.TickSound);
    ComboBox2->SetItemIndex(State.DoneSound);
}

void TForm8::StoreSounds() {
    State.TickSound = SoundOfRow(ComboBox1->ItemIndex());
    State.DoneSound = SoundOfRow(ComboBox2->ItemIndex());
}

void TForm8::PreviewSound(int list) {
    const int row = (list == 0 ? ComboBox1 : ComboBox2)->ItemIndex();
    if (row != 1 && row != 2) {
        Inform("Please select a sound to preview first.");
        return;
    }
    // A list's rows 1 and 2 are the sound choices of the same number.
    const char* sound = (list == 0 ? TickSoundNames : DoneSoundNames)[row];
    PlaySoundW(base::Widen(sound).c_str(), WindowInstance(Handle()), SND_RESOURCE | SND_ASYNC);
}

// ---- position 5

void TForm8::PaintColourPreview() {
    const RECT picture = Image3->Bounds();
    const int left = picture.left + Scale(8);
    const int top = picture.top + Scale(28);
    const int width = (picture.right - picture.left) - Scale(15);
    const int height = (picture.bottom - picture.top) - Scale(36);
    Shape1->SetBounds(left, top, width, height);
    Shape1->SetBrushColor(PreviewColour(State.BackColor));
    Label30->SetLeft(left + (width - Label30->Width()) / 2);
    Label30->SetTop(top + (height - Label30->Height()) / 2);
    Label31->SetLeft(Label30->Left() + Label30->Width() + Scale(4));
    Label31->SetTop(Label30->Top() - Label31->Height() / 2);
    Label30->SetColor(PreviewColour(State.ForeColor));
    Label31->SetColor(PreviewColour(State.ForeColor));
}

void TForm8::Page7Enter() {
    PaintColourPreview();
    ColorButton1->SetSelectedColor(State.ForeColor);
    ColorButton2->SetSelectedColor(State.BackColor);
}

void TForm8::ColorButton1Update() {
    State.ForeColor = ColorButton1->SelectedColor();
    State.BackColor = ColorButton2->SelectedColor();
    Label30->SetColor(PreviewColour(State.ForeColor));
    Label31->SetColor(PreviewColour(State.ForeColor));
}

void TForm8::ColorButton2Update() {
    State.ForeColor = ColorButton1->SelectedColor();
    State.BackColor = ColorButton2->SelectedColor();
    Shape1->SetBrushColor(PreviewColour(State.BackColor));
}

void TForm8::Page7Next(bool& stop) {
    if (ColorButton2->SelectedColor() == ColorButton1->SelectedColor()) {
        Inform("The background color cannot be set to the same color as the foreground color.");
        stop = true;
        return;
    }
    State.ForeColor = ColorButton1->SelectedColor();
    State.BackColor = ColorButton2->SelectedColor();
}

// ---- position 6

void TForm8::Page8Enter() {
    Shape2->SetBrushColor(PreviewColour(State.BackColor));
    Label35->SetFontName(DigitFontFace);
    Label36->SetFontName(DigitFontFace);
    Label35->SetColor(PreviewColour(State.ForeColor));
    Label36->SetColor(PreviewColour(State.ForeColor));
    WindowModeLayout();
}

void TForm8::WindowModeLayout() {
    State.FullScreen = RadioButton4->Checked();
    const RECT picture = Image4->Bounds();
    const int pictureWidth = picture.right - picture.left;
    const int pictureHeight = picture.bottom - picture.top;
    RECT window{};
    if (State.FullScreen) {
        window = {picture.left + Scale(7), picture.top + Scale(7), 0, 0};
        window.right = window.left + Scale(213);
        window.bottom = window.top + Scale(122);
        Label35->SetFontSize(12);
        Label36->SetFontSize(10);
    } else {
        const int width = pictureWidth / 2;
        const int height = width * 2 / 3;
        window.left = picture.left + (pictureWidth - width) / 2;
        window.top = picture.top + pictureHeight / 3 - height / 2;
        window.right = window.left + width;
        window.bottom = window.top + height;
        Label35->SetFontSize(10);
        Label36->SetFontSize(8);
    }
    Panel1->SetBounds(window.left, window.top, window.right - window.left,
                      window.bottom - window.top);
    // Inside the panel's sunken edge: the title strip (normal mode only) and
    // the display rectangle below it.
    const int edge = GetSystemMetrics(SM_CXEDGE);
    const int strip = State.FullScreen ? 0 : Scale(5);
    RECT inner{window.left + edge, window.top + edge, window.right - edge, window.bottom - edge};
    Shape3->SetVisible(!State.FullScreen);
    Shape3->SetBounds(inner.left, inner.top, inner.right - inner.left, strip);
    Shape2->SetBounds(inner.left, inner.top + strip, inner.right - inner.left,
                      inner.bottom - inner.top - strip);
    const RECT r = Shape2->Bounds();
    Label35->SetLeft(r.left + (r.right - r.left - Label35->Width()) / 2);
    Label35->SetTop(r.top + (r.bottom - r.top - Label35->Height()) / 2);
    Label36->SetLeft(Label35->Left() + Label35->Width() + Scale(2));
    Label36->SetTop(Label35->Top() - Scale(4));
}

void TForm8::Page8Next(bool& stop) {
    State.FullScreen = RadioButton4->Checked();
    if (State.FullScreen) {
        stop = true;
        KWizard1->SetActivePage(KWizardWelcomePage1.get());
    }
}

// ---- position 7

void TForm8::BorderLayout() {
    const bool border = RadioButton5->Checked();
    State.BorderValue = border ? WizardChoices::Border::Show : WizardChoices::Border::DontShow;
    Image5->Picture().LoadBitmapResource(WindowInstance(Handle()),
                                         border ? L"WITHBORDER" : L"WITHOUTBORDER");
    Image5->Invalidate();
    const RECT picture = Image5->Bounds();
    const int width = picture.right - picture.left;
    const int height = picture.bottom - picture.top;
    const int left = picture.left + Scale(8);
    const int top = picture.top + Scale(border ? 28 : 8);
    // The rectangle covers the client area; it never reaches past the picture.
    const int right = std::min<int>(left + width - Scale(7), picture.right - Scale(8));
    const int bottom =
        std::min<int>(top + height - Scale(border ? 28 : 7), picture.bottom - Scale(8));
    Shape4->SetBounds(left, top, right - left, bottom - top);
    Shape4->SetBrushColor(PreviewColour(State.BackColor));
}

// ---- position 8

void TForm8::WelcomeEnter() {
    Label40->SetText(CommandLineDisplayText(os::ProgramPath(), Switches(WizardVariant::Summary)));
}

void TForm8::Button3Click() {
    PutOnClipboard(Handle(),
                   CommandLineCopyText(os::ProgramPath(), Switches(WizardVariant::Clipboard)));
    Inform("Command line copied to the clipboard.");
}

void TForm8::Button4Click() {
    const std::string program = os::ProgramPath();
    CreateShortcutFile(program, ShortcutLocation::Desktop, "", "Brevalo (" + State.TimerName + ")",
                       Switches(WizardVariant::Shortcut), FolderOf(program), State.TimerName);
}

// ---- the whole wizard

void TForm8::KWizard1FinishButtonClick() {
    StartTimer(Switches(WizardVariant::Launch));
    Close();
}

void TForm8::SwitchToAdvancedMode() {
    os::Settings().WriteWizardMode(false);
    // The wizard closes whether or not the new copy starts. A failed start is
    // reported first, while the wizard is still there to own the error box;
    // left to the window procedure, the error would skip the close.
    try {
        StartProgramAgain();
    } catch (...) {
        gui::Application::Instance().HandleException(std::current_exception());
    }
    Close();
}

void TForm8::HelpClick() {
    os::OpenHelp(Handle());
}

LRESULT TForm8::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (PopupMenu1.DispatchCommand(wParam, lParam) ||
            PopupMenu2.DispatchCommand(wParam, lParam))
            return 0;
        break;
    case WM_CONTEXTMENU:
        // The logo on the first page carries the first menu as its context
        // menu (the page passes the message up).
        if (KWizard1 && KWizard1->ActivePage() == KWizardInteriorPage1.get()) {
            POINT p = gui::PopupMenu::ContextMenuPosition(Handle(), lParam);
            POINT client = p;
            ScreenToClient(KWizardInteriorPage1->Handle(), &client);
            const RECT logo = Image1->Bounds();
            if (PtInRect(&logo, client)) {
                PopupMenu1.Popup(p.x, p.y);
                return 0;
            }
        }
        break;
    }
    return DialogForm::HandleMessage(message, wParam, lParam);
}

} // namespace brevalo
