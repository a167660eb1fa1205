// Unit8: the wizard front end. Nine pages lead the user through the timer's
// name and end point, an optional program to run at the end, sounds,
// colours, window mode and border, and finish on a page that shows the
// command line; "Finish" starts the timer and closes the wizard, which ends
// the program.
#pragma once

#include "ColorButtons.h"
#include "CommandLineBuilder.h"
#include "DialogForm.h"
#include "Easysize.h"
#include "ImageList.h"
#include "KWizard.h"
#include "Label.h"
#include "PopupMenu.h"
#include "TipDialog.h"
#include "WizardControls.h"
#include "WrappedLabel.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brevalo {

// The colour a preview paints for a colour value: system colours looked up,
// others without their high byte ("Automatic" paints black).
COLORREF PreviewColour(TColor colour);

class TForm8 : public controls::DialogForm {
public:
    TForm8();
    ~TForm8() override;

    // Builds the window and its pages (hidden); throws OsError.
    void FormCreate();

    // The wizard's state, the input of the switch-string builder.
    WizardChoices State;
    bool ShowTips = true;

    // The switch string of the current state.
    std::string Switches(WizardVariant variant) const;

    // The tip dialog and "Tip of the day": runs the tips once (the first idle
    // moment) or on request.
    void ShowTipsNow(bool always);

    // ---- the form's components
    std::unique_ptr<controls::TKWizard> KWizard1;
    std::unique_ptr<controls::TKWizardInteriorPage> KWizardInteriorPage1, KWizardInteriorPage2,
        KWizardInteriorPage3, KWizardInteriorPage4, KWizardInteriorPage5, KWizardInteriorPage7,
        KWizardInteriorPage8, KWizardInteriorPage6;
    std::unique_ptr<controls::TKWizardWelcomePage> KWizardWelcomePage1;
    controls::TTipDialog TipDialog1;
    gui::PopupMenu PopupMenu1; // the logo's menu
    gui::PopupMenu PopupMenu2; // common program based tasks
    gui::MenuItem* Tipoftheday1 = nullptr;
    gui::MenuItem* Help1 = nullptr;
    gui::MenuItem* SwitchtoAdvancedmode1 = nullptr;
    std::unique_ptr<controls::ImageList> ImageList1;
    std::unique_ptr<controls::TFormResizer> FormResizer1;
    HWND ToolTip1 = nullptr;

    // Titles of the nine pages, in page order.
    std::vector<std::unique_ptr<gui::Label>> Titles;
    std::vector<std::unique_ptr<controls::WrappedLabel>> Texts;
    std::vector<std::unique_ptr<gui::Label>> Captions;

    // Position 0.
    std::unique_ptr<controls::TImage> Image1, Image2;
    std::unique_ptr<controls::TEdit> Edit1;
    std::unique_ptr<gui::Label> Label4; // the bold question
    std::unique_ptr<controls::TRadioButton> RadioButton1, RadioButton2;
    std::unique_ptr<controls::TLinkLabel> Label7;
    // Position 1.
    std::unique_ptr<controls::TDateTimePicker> DateTimePicker1, DateTimePicker2;
    // Position 2: days, hours, minutes, seconds.
    std::unique_ptr<controls::TEdit> Edit2, Edit3, Edit4, Edit5;
    // Position 3.
    std::unique_ptr<controls::TEdit> Edit6, Edit7;
    std::unique_ptr<controls::PushButton> Button1, Button2; // "Browse..", "Test.."
    std::unique_ptr<controls::TLinkLabel> Label22;
    // Position 4.
    std::unique_ptr<controls::TIconComboBox> ComboBox1, ComboBox2;
    std::unique_ptr<controls::PushButton> SpeedButton1, SpeedButton2;
    // Position 5.
    std::unique_ptr<controls::TColorButton> ColorButton1, ColorButton2;
    std::unique_ptr<controls::TImage> Image3;
    std::unique_ptr<controls::TShape> Shape1;
    std::unique_ptr<gui::Label> Label30, Label31;
    // Position 6.
    std::unique_ptr<controls::TRadioButton> RadioButton3, RadioButton4;
    std::unique_ptr<controls::TImage> Image4;
    std::unique_ptr<controls::TShape> Panel1, Shape2, Shape3;
    std::unique_ptr<gui::Label> Label35, Label36;
    // Position 7.
    std::unique_ptr<controls::TRadioButton> RadioButton5, RadioButton6;
    std::unique_ptr<controls::TImage> Image5;
    std::unique_ptr<controls::TShape> Shape4;
    // Position 8.
    std::unique_ptr<controls::WrappedLabel> Label40; // the command line
    std::unique_ptr<controls::PushButton> Button3, Button4;

    // ---- event handlers
    void Edit1KeyPress(wchar_t& key, bool& refuse);
    void IntervalKeyPress(wchar_t key, bool& refuse);
    void Page1Next(bool& stop);
    void Page2Enter();
    void Page2Next(bool& stop);
    void Page3Next(bool& stop);
    void Page4Next(bool& stop);
    void Page4Back(bool& stop);
    void Page5Enter();
    void StoreSounds();
    void PreviewSound(int list);
    void Page7Enter();
    void Page7Next(bool& stop);
    void ColorButton1Update();
    void ColorButton2Update();
    void Page8Enter();
    void Page8Next(bool& stop);
    void WindowModeLayout();
    void BorderLayout();
    void WelcomeEnter();
    void Button1Click(); // Browse..
    void Button2Click(); // Test..
    void Button3Click(); // copy
    void Button4Click(); // shortcut
    void FillAction(const std::string& program, const std::string& params);
    void VisitWebsite();
    void KWizard1FinishButtonClick();
    void SwitchToAdvancedMode();
    void HelpClick();

protected:
    // What the wizard does outside its window; tests replace these.
    virtual void Inform(const std::string& text);
    virtual void Fail(const std::string& text);
    virtual bool AskYesNo(const std::string& text);
    // The input box of "Visit website": the address, or nothing on Cancel.
    virtual std::optional<std::string> AskAddress();
    virtual void StartTimer(const std::string& switches);
    virtual void StartProgramAgain();
    virtual void ExecuteTips();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreatePages();
    void BuildPage1();
    void BuildPage2();
    void BuildPage3();
    void BuildPage4();
    void BuildPage5();
    void BuildPage7();
    void BuildPage8();
    void BuildPage6();
    void BuildWelcomePage1();
    void BuildMenus();
    void BuildTips();
    gui::Label& AddCaption(gui::Form& page, const std::string& text, int left, int top);
    controls::WrappedLabel& AddText(gui::Form& page, const std::string& text, int left, int top,
                                    int width, int height);
    void AddTitle(controls::TKWizardCustomPage& page, const std::string& text, int left, int top);
    void ActionUpdate(bool leaving, bool& stop);
    void PaintColourPreview();

    // The pages' font: "MS Sans Serif" 8 point as the system adjusts it.
    HFONT Font() const noexcept { return font_.Get(); }
    const controls::FontSpec& FontDescription() const noexcept { return fontSpec_; }

    controls::FontSpec fontSpec_;
    base::Font font_;
    int idleHandler_ = 0;
};

} // namespace brevalo
