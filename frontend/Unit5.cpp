#include "Unit5.h"

#include "MessageBox.h"
#include "Settings.h"

namespace brevalo {

namespace {

struct BoxPlace {
    int number; // the box's own number: its key "ChkN", or 11
    const char* caption;
};

// From top to bottom, which is also the tab order but for the last box.
constexpr BoxPlace Places[] = {
    {2, "&Auto run timer at Windows start"},
    {3, "Auto run for all &users"},
    {5, "Disable &screensaver suppression"},
    {1, "Disable ability to &change running timer settings"},
    {6, "&Keep timer window on top"},
    {4, "Disable command line &error messages"},
    {7, "Disable c&heck for updates"},
    {8, "Don't &bring timer to top on completion"},
    {9, "Disable auto c&lose of timer window"},
    {10, "Disable timer window &pause"},
    {11, "Use &Wizard mode"},
};

} // namespace

TForm5::TForm5(HWND owner) : owner_(owner) {
    CreateDialogWindow({L"TBrevaloForm5", "Advanced", 330, 331, false, owner});
    const HFONT font = Font();
    // Created in tab order: the ten options, "OK", then "Use Wizard mode".
    for (int row = 0; row < 10; ++row) {
        auto& box = boxes_[std::size_t(Places[row].number - 1)];
        box = std::make_unique<controls::NotifyingCheckBox>(
            Handle(), Places[row].caption, ScaleRect(16, 16 + 24 * row, 300, 17), font);
        ShowWindow(box->Handle(), SW_SHOWNA);
    }
    Button1 = std::make_unique<controls::PushButton>(Handle(), "OK", ScaleRect(248, 292, 67, 25),
                                                     font, WS_TABSTOP | WS_VISIBLE);
    boxes_[10] = std::make_unique<controls::NotifyingCheckBox>(Handle(), Places[10].caption,
                                                               ScaleRect(16, 256, 300, 17), font);
    ShowWindow(boxes_[10]->Handle(), SW_SHOWNA);

    Button1->SetDefault(true);
    SetDefaultButton(Button1.get());
    Button1->OnClick = [this](controls::PushButton&) { Button1Click(); };
    CheckBox(2).OnChange = [this](controls::NotifyingCheckBox&) { CheckBox2Change(); };
    CheckBox(3).SetEnabled(false);
}

TForm5::~TForm5() = default;

void TForm5::CheckBox2Change() {
    const bool autorun = CheckBox(2).Checked();
    CheckBox(3).SetEnabled(autorun);
    if (!autorun)
        CheckBox(3).SetState(false);
}

void TForm5::LoadOptions(const AdvancedOptions& options) {
    for (int n = 1; n <= AdvancedOptionCount; ++n)
        CheckBox(n).SetState(options.Chk(n));
}

AdvancedOptions TForm5::Options() const {
    AdvancedOptions options;
    for (int n = 1; n <= AdvancedOptionCount; ++n)
        options.SetChk(n, boxes_[std::size_t(n - 1)]->Checked());
    return options;
}

void TForm5::LoadFromSettings() {
    // The store fills what it could read and leaves the rest as given.
    AdvancedOptions options = Options();
    os::Settings().LoadAdvancedOptions(options);
    LoadOptions(options);
}

void TForm5::SaveToSettings() const {
    os::Settings().WriteAdvancedOptions(Options());
}

void TForm5::Button1Click() {
    if (CheckBox(11).Checked()) {
        os::Settings().WriteWizardMode(true);
        gui::InformationBox("You must restart this program to switch to Wizard mode.", Handle());
    }
    SetModalResult(controls::mrOk);
}

void TForm5::DoShow() {
    // Centred on the program's main window.
    CenterOn(owner_);
}

LRESULT TForm5::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The controls' own colours first, then the dialog's face colour.
    LRESULT colour = 0;
    if (controls::ChildControl::Reflect(message, wParam, lParam, colour) ||
        controls::DialogFaceColor(message, wParam, colour))
        return colour;
    return controls::DialogForm::HandleMessage(message, wParam, lParam);
}

} // namespace brevalo
