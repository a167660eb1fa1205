// The advanced-mode dialog "Create a timer": every choice of a timer on one
// screen, with the options dialog and the action dialog as companions. "OK"
// builds the switch string, starts a timer with it and ends the program.
#pragma once

#include "ColorButtons.h"
#include "CommandLineBuilder.h"
#include "DialogForm.h"
#include "Easysize.h"
#include "Spin.h"
#include "StdControls.h"

#include <functional>
#include <memory>
#include <string>

namespace brevalo {

class TForm5;
class TForm6;

// System-menu commands.
inline constexpr UINT CopyCommandLineCommand = 4856;

// What the dialog asks of the system at creation; tests substitute it.
struct AdvancedEnvironment {
    unsigned waveDevices = 0;
    unsigned majorVersion = 0;
    unsigned minorVersion = 0;
    static AdvancedEnvironment System();
};

// Windows XP (5.1) and version 6 show the icons of the dialog's own layout;
// every other version the older ones.
bool UsesLayoutIcons(unsigned major, unsigned minor);

class TForm4 : public controls::DialogForm {
public:
    TForm4();
    ~TForm4() override;

    // Creates the window (hidden) and sets it up as the program starts it.
    void FormCreate(const AdvancedEnvironment& environment = AdvancedEnvironment::System());
    // The companions, created after this dialog; not owned.
    void SetCompanions(TForm5* options, TForm6* action) noexcept;

    // The builder's input as the controls stand.
    AdvancedChoices Choices() const;
    // Switch strings of both variants as the controls stand.
    std::string BuildSwitches(AdvancedVariant variant) const;
    bool UsingLayoutIcons() const noexcept { return layoutIcons_; }

    // Event handlers.
    void OKClick();
    void CancelClick();
    void ActionClick();
    void AdvancedClick();
    void HelpClick();
    void CopyCommandLine();
    void ShowAbout();
    void DatePickerChange();
    void SpinEdit1Change();
    void ScreenModeClick();

    // Starts the timer process; tests replace it to see the string.
    std::function<void(HWND, const std::string&, const std::string&)> Launch;

    // Controls, in tab order.
    std::unique_ptr<controls::GroupBox> GroupBox1;
    std::unique_ptr<controls::StaticText> Label1, Label2;
    std::unique_ptr<controls::DateTimePicker> DateTimePicker1, DateTimePicker2;
    std::unique_ptr<controls::GroupBox> GroupBox2;
    std::unique_ptr<controls::StaticText> Label3;
    controls::TSpinEdit SpinEdit1;
    std::unique_ptr<controls::RadioButton> RadioSeconds, RadioMinutes;
    std::unique_ptr<controls::StaticIcon> Image1; // timer
    std::unique_ptr<controls::LabeledEdit> LabeledEdit1;
    std::unique_ptr<controls::StaticText> Label4, Label5;
    controls::TColorButton ColorButton1, ColorButton2;
    std::unique_ptr<controls::GroupBox> GroupBox3;
    std::unique_ptr<controls::StaticIcon> Image2; // sound
    std::unique_ptr<controls::StaticText> Label6, Label7;
    std::unique_ptr<controls::RadioButton> TickNone, TickStandard, TickElectronic;
    std::unique_ptr<controls::RadioButton> DoneNone, DoneStandard, DoneElectronic;
    std::unique_ptr<controls::GroupBox> GroupBox4;
    std::unique_ptr<controls::RadioButton> CloseActive, CloseNever, CloseStop;
    std::unique_ptr<controls::GroupBox> GroupBox5;
    std::unique_ptr<controls::RadioButton> BorderShow, BorderHide;
    std::unique_ptr<controls::GroupBox> GroupBox6;
    std::unique_ptr<controls::StaticIcon> Image3; // screen
    std::unique_ptr<controls::RadioButton> ScreenNormal, ScreenFull;
    std::unique_ptr<controls::PushButton> ButtonOK, ButtonCancel, ButtonAction, ButtonAdvanced,
        ButtonHelp;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The steps of FormCreate. The controls are created group by group in
    // tab order, which is also their z-order.
    void CreateWindowWithIcon();
    void CreateEndPointGroups();
    void CreateNameAndColours();
    void CreateSoundGroup();
    void CreateWindowGroups();
    void CreateButtons();
    void SetUpControls();
    void NameControls();
    void ConnectHandlers();
    void PlaceWindow();
    void AddSystemMenuItems();
    void ApplyEnvironment(const AdvancedEnvironment& environment);
    void ShowInitialValues();
    // A radio button, shown, 17 pixels high; `first` starts a group.
    std::unique_ptr<controls::RadioButton> AddRadio(const char* caption, int left, int top,
                                                    int width, bool first);
    bool SystemCommand(UINT command);

    TForm5* options_ = nullptr;
    TForm6* action_ = nullptr;
    std::unique_ptr<controls::TFormResizer> resizer_;
    bool layoutIcons_ = true;
    SIZE fixedSize_{}; // at fixedDpi_
    UINT fixedDpi_ = 96;
};

} // namespace brevalo
