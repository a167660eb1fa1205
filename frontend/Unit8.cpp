#include "Unit8.h"

#include "Accessible.h"
#include "Application.h"
#include "DigitFont.h"
#include "Help.h"
#include "Settings.h"
#include "VendorSite.h"
#include "uVistaFuncs.h"

#include <oleacc.h>

namespace brevalo {

using namespace controls;

namespace {

constexpr TKWizardButtonSet WithFinish{TKWizardButtonKind::bkBack, TKWizardButtonKind::bkNext,
                                       TKWizardButtonKind::bkFinish, TKWizardButtonKind::bkCancel};
constexpr TKWizardButtonSet FinishedButtons{
    TKWizardButtonKind::bkBack, TKWizardButtonKind::bkFinish, TKWizardButtonKind::bkCancel};

const char* const ExplainEndPoint =
    "All timers must have a end-point. You need to specify when your timer will end. Choose the "
    "date and time the timer will end. This needs to be in the future. You cannot set a "
    "end-point that has already expired.";

} // namespace

TForm8::TForm8() : PopupMenu1(this), PopupMenu2(this) {}

TForm8::~TForm8() {
    if (idleHandler_)
        gui::Application::Instance().RemoveIdleHandler(idleHandler_);
    // The pages and their controls go before the wizard, the wizard before
    // the window.
    if (Handle())
        DestroyWindow(Handle());
}

gui::Label& TForm8::AddCaption(gui::Form& page, const std::string& text, int left, int top) {
    auto label = std::make_unique<gui::Label>(page);
    label->SetFont(FontDescription().name, FontDescription().size, FontDescription().charset);
    label->SetText(text);
    label->SetLeft(Scale(left));
    label->SetTop(Scale(top));
    Captions.push_back(std::move(label));
    return *Captions.back();
}

WrappedLabel& TForm8::AddText(gui::Form& page, const std::string& text, int left, int top,
                              int width, int height) {
    auto label = std::make_unique<WrappedLabel>(page, FontDescription());
    label->SetText(text);
    label->SetBounds(Scale(left), Scale(top), Scale(width), Scale(height));
    Texts.push_back(std::move(label));
    return *Texts.back();
}

void TForm8::AddTitle(TKWizardCustomPage& page, const std::string& text, int left, int top) {
    page.SetAccessibleName(text);
    auto label = std::make_unique<gui::Label>(page);
    label->SetFont(FontDescription().name, 16, FontDescription().charset);
    label->SetText(text);
    label->SetLeft(Scale(left));
    label->SetTop(Scale(top));
    Titles.push_back(std::move(label));
}

void TForm8::FormCreate() {
    gui::Application::Instance().SetTitle("Brevalo Wizard");
    DialogParams params;
    params.className = L"TForm8";
    params.caption = "Brevalo Wizard";
    params.clientWidth = 640;
    params.clientHeight = 380;
    CreateDialogWindow(params);

    DialogFont font{"MS Sans Serif", 8};
    AdjustSystemFont(font);
    fontSpec_ = DialogForm::FontDescription();
    fontSpec_.name = font.name;
    fontSpec_.size = font.size;
    font_ = CreateDialogFont(font, Dpi());

    KWizard1 = std::make_unique<TKWizard>(Handle());
    KWizard1->SetShowRouteMap(false);
    KWizard1->ButtonStart().SetCaption("To &Start Page");
    KWizard1->ButtonLast().SetCaption("To &Last Page");
    KWizard1->ButtonBack().SetCaption("< &Back");
    KWizard1->ButtonNext().SetCaption("&Next >");
    KWizard1->ButtonFinish().SetCaption("&Finish");
    KWizard1->ButtonCancel().SetCaption("Cancel");
    KWizard1->ButtonHelp().SetCaption("&Help");
    KWizard1->SetOnFinishButtonClick([this](PushButton&) { KWizard1FinishButtonClick(); });
    KWizard1->SetOnCancelButtonClick([this](PushButton&) { Close(); });

    State.TickSound = 0;
    State.DoneSound = 1;
    State.TimerName = "Timer";
    InstallDigitFont();

    const FrontEndColours colours = os::Settings().ReadFrontEndColours();
    State.ForeColor = colours.ForeColor;
    State.BackColor = colours.BackColor;
    ShowTips = os::Settings().ReadTips();

    KWizard1->BeginLoading();
    CreatePages();
    KWizard1->Loaded();
    BuildMenus();
    BuildTips();
    // The resizer is set up but never started: nothing is rescaled.
    FormResizer1 = std::make_unique<TFormResizer>(this);
    FormResizer1->SetResizeFonts(true);
    FormResizer1->SetMinFontSize(8);
    FormResizer1->SetMaxFontSize(48);
    FormResizer1->SetEnforceMinSize(true);

    Edit1->SetText(State.TimerName);
    ColorButton1->SetSelectedColor(State.ForeColor);
    ColorButton2->SetSelectedColor(State.BackColor);
    PaintColourPreview();
    WindowModeLayout();
    BorderLayout();

    idleHandler_ = gui::Application::Instance().AddIdleHandler([this] { ShowTipsNow(false); });
}

void TForm8::CreatePages() {
    // The pages in the wizard's order. Each keeps its number through its
    // build function and handlers (BuildPage8, Page8Enter and Page8Next are
    // KWizardInteriorPage8's), while the "position" sections of the controls
    // and the handlers count the wizard's order from 0. The two differ by one
    // up to position 4, then position 5 is page 7, 6 is page 8, 7 is page 6,
    // and position 8 is the welcome page.
    KWizardInteriorPage1 = std::make_unique<TKWizardInteriorPage>(*KWizard1);
    KWizardInteriorPage2 = std::make_unique<TKWizardInteriorPage>(*KWizard1);
    KWizardInteriorPage3 = std::make_unique<TKWizardInteriorPage>(*KWizard1);
    KWizardInteriorPage4 = std::make_unique<TKWizardInteriorPage>(*KWizard1);
    KWizardInteriorPage5 = std::make_unique<TKWizardInteriorPage>(*KWizard1);
    KWizardInteriorPage7 = std::make_unique<TKWizardInteriorPage>(*KWizard1);
    KWizardInteriorPage8 = std::make_unique<TKWizardInteriorPage>(*KWizard1);
    KWizardInteriorPage6 = std::make_unique<TKWizardInteriorPage>(*KWizard1);
    KWizardWelcomePage1 = std::make_unique<TKWizardWelcomePage>(*KWizard1);
    for (int i = 0; i < KWizard1->PageCount(); ++i) {
        TKWizardCustomPage& page = *KWizard1->Pages()[i];
        page.Header().SetColor(clWindow);
        page.Header().SetHeight(70);
        page.Header().Title().SetText("");
        page.Header().Subtitle().SetText("");
    }
    KWizardWelcomePage1->WaterMark().SetColor(clActiveCaption);
    KWizardWelcomePage1->WaterMark().SetWidth(164);
    KWizardWelcomePage1->WaterMark().SetBorderWidth(1);
    for (TKWizardCustomPage* page : {static_cast<TKWizardCustomPage*>(KWizardInteriorPage5.get()),
                                     static_cast<TKWizardCustomPage*>(KWizardInteriorPage7.get()),
                                     static_cast<TKWizardCustomPage*>(KWizardInteriorPage8.get()),
                                     static_cast<TKWizardCustomPage*>(KWizardInteriorPage6.get())})
        page->SetVisibleButtons(WithFinish);
    KWizardWelcomePage1->SetVisibleButtons(FinishedButtons);

    BuildPage1();
    BuildPage2();
    BuildPage3();
    BuildPage4();
    BuildPage5();
    BuildPage7();
    BuildPage8();
    BuildPage6();
    BuildWelcomePage1();
}

void TForm8::BuildPage1() {
    TKWizardInteriorPage& page = *KWizardInteriorPage1;
    const HINSTANCE instance = WindowInstance(Handle());
    Image1 = std::make_unique<TImage>(page);
    Image1->Picture().LoadJpegResource(instance, L"WIZARD_LOGO");
    Image1->SetBounds(Scale(11), Scale(5), Scale(60), Scale(60));
    Image1->SetStretch(true);
    Image1->OnClick = [this](gui::GraphicControl& image) {
        RECT r = image.Bounds();
        POINT p{r.left, r.bottom};
        ClientToScreen(image.Parent().Handle(), &p);
        PopupMenu1.Popup(p.x, p.y);
    };
    AddTitle(page, "Brevalo Wizard", 88, 16);
    AddText(page,
            "This wizard guides you through the process of creating a Brevalo. You can change "
            "previous settings at any time by pressing the Back button.",
            160, 88, 441, 40);
    Image2 = std::make_unique<TImage>(page);
    Image2->Picture().LoadJpegResource(instance, L"WIZARD_START");
    Image2->SetBounds(Scale(8), Scale(88), Scale(137), Scale(209));
    Image2->SetStretch(true);
    Image2->SetFramed(true);
    gui::Label& nameLabel =
        AddCaption(page, "&Timer name: (used to identify your timer)", 160, 144);
    Edit1 = std::make_unique<TEdit>(page.Handle(), ScaleRect(160, 160, 401, 21), Font());
    gui::LabelControl(nameLabel, Edit1->Handle());
    Edit1->SetMaxLength(100);
    Edit1->OnKeyPress = [this](TEdit&, wchar_t key) {
        bool refuse = false;
        Edit1KeyPress(key, refuse);
        return !refuse;
    };
    Label4 = std::make_unique<gui::Label>(page);
    Label4->SetFont(FontDescription().name, FontDescription().size, FontDescription().charset,
                    true);
    Label4->SetText("How do you &want to set when your timer ends?");
    Label4->SetLeft(Scale(160));
    Label4->SetTop(Scale(208));
    RadioButton1 =
        std::make_unique<TRadioButton>(page.Handle(), "By a specific &known date and time ",
                                       ScaleRect(184, 240, 300, 17), Font(), true);
    AddCaption(page, "e.g. on the 13th of May 2012 at 4:30 PM", 200, 256);
    RadioButton2 = std::make_unique<TRadioButton>(page.Handle(), "By len&gth of time",
                                                  ScaleRect(184, 280, 300, 17), Font());
    // The question is the label of the two choices.
    Label4->SetFocusControl(RadioButton1->Handle());
    for (TRadioButton* radio : {RadioButton1.get(), RadioButton2.get()})
        gui::DescribeByLabel(radio->Handle(), *Label4);
    AddCaption(page, "e.g. in 1 hour and 25 minutes time", 200, 296);
    Label7 = std::make_unique<TLinkLabel>(page, "Switch to Advanced mode", FontDescription());
    Label7->SetLeft(Scale(10));
    Label7->SetTop(Scale(312));
    Label7->OnClick = [this](gui::GraphicControl&) { SwitchToAdvancedMode(); };
    // The logo's menu comes last in the tab order: the name edit has the
    // focus when the page opens.
    Image1->EnableKeyboard("Wizard menu", ROLE_SYSTEM_BUTTONMENU);

    page.OnEnterPage = [this](TKWizardCustomPage&, TKWizardCustomPage*) {
        Edit1->SetText(State.TimerName);
    };
    page.OnNextButtonClick = [this](TKWizardCustomPage&, bool& stop) { Page1Next(stop); };
}

void TForm8::BuildPage2() {
    TKWizardInteriorPage& page = *KWizardInteriorPage2;
    AddTitle(page, "Date and time", 16, 16);
    AddText(page, ExplainEndPoint, 40, 88, 561, 42);
    gui::Label& endLabel = AddCaption(page, "When &will this timer end?", 40, 136);
    DateTimePicker1 = std::make_unique<TDateTimePicker>(page.Handle(), TDateTimePicker::Kind::Date,
                                                        ScaleRect(40, 152, 185, 21), Font());
    DateTimePicker2 = std::make_unique<TDateTimePicker>(page.Handle(), TDateTimePicker::Kind::Time,
                                                        ScaleRect(232, 152, 185, 21), Font());
    // One label for the two pickers: each is named for its part and
    // described by the question.
    endLabel.SetFocusControl(DateTimePicker1->Handle());
    gui::DescribeByLabel(DateTimePicker1->Handle(), endLabel, "Date");
    gui::DescribeByLabel(DateTimePicker2->Handle(), endLabel, "Time");
    page.OnEnterPage = [this](TKWizardCustomPage&, TKWizardCustomPage*) { Page2Enter(); };
    page.OnNextButtonClick = [this](TKWizardCustomPage&, bool& stop) { Page2Next(stop); };
    page.OnBackButtonClick = [this](TKWizardCustomPage&, bool& stop) {
        stop = true;
        KWizard1->SetActivePage(KWizardInteriorPage1.get());
    };
}

void TForm8::BuildPage3() {
    TKWizardInteriorPage& page = *KWizardInteriorPage3;
    AddTitle(page, "Date and time", 16, 16);
    AddText(page, ExplainEndPoint, 40, 88, 561, 42);
    const char* names[] = {"&Days:", "H&ours:", "&Minutes:", "S&econds:"};
    std::unique_ptr<TEdit>* edits[] = {&Edit2, &Edit3, &Edit4, &Edit5};
    for (int i = 0; i < 4; ++i) {
        const int top = 152 + 48 * i;
        gui::Label& label = AddCaption(page, names[i], 40, top - 16);
        *edits[i] =
            std::make_unique<TEdit>(page.Handle(), ScaleRect(40, top, 121, 21), Font(), "0");
        gui::LabelControl(label, (*edits[i])->Handle());
        (*edits[i])->OnKeyPress = [this](TEdit&, wchar_t key) {
            bool refuse = false;
            IntervalKeyPress(key, refuse);
            return !refuse;
        };
    }
    page.OnNextButtonClick = [this](TKWizardCustomPage&, bool& stop) { Page3Next(stop); };
    page.OnBackButtonClick = [this](TKWizardCustomPage&, bool& stop) {
        stop = true;
        KWizard1->SetActivePage(KWizardInteriorPage1.get());
    };
}

void TForm8::BuildPage4() {
    TKWizardInteriorPage& page = *KWizardInteriorPage4;
    AddTitle(page, "Actions", 16, 16);
    AddText(page,
            "You may optionally choose to run a program when your timer completes. Click the "
            "Browse button to locate the program you want to run. You can skip this page "
            "entirely if you don't want to run any programs.",
            40, 88, 561, 42);
    gui::Label& programLabel = AddCaption(page, "&Program file to run", 40, 136);
    Edit6 = std::make_unique<TEdit>(page.Handle(), ScaleRect(40, 152, 441, 21), Font());
    gui::LabelControl(programLabel, Edit6->Handle());
    Edit6->OnChange = [this](TEdit& edit) { Button2->SetEnabled(!edit.Text().empty()); };
    Button1 = std::make_unique<PushButton>(page.Handle(), "B&rowse..", ScaleRect(490, 149, 75, 25),
                                           Font(), WS_TABSTOP | WS_VISIBLE);
    Button1->OnClick = [this](PushButton&) { Button1Click(); };
    Label22 = std::make_unique<TLinkLabel>(page, "common program based tasks", FontDescription());
    Label22->SetLeft(Scale(40));
    Label22->SetTop(Scale(192));
    Label22->OnClick = [this](gui::GraphicControl& link) {
        RECT r = link.Bounds();
        POINT p{r.left, r.bottom};
        ClientToScreen(link.Parent().Handle(), &p);
        PopupMenu2.Popup(p.x, p.y);
    };
    AddText(page,
            "Command line parameters allow you to supply a program with information as it "
            "starts. You can specify any additional information in the box below. If you are "
            "unsure, leave this box empty.",
            40, 224, 561, 42);
    gui::Label& paramsLabel = AddCaption(page, "&Optional command line parameters", 40, 272);
    Edit7 = std::make_unique<TEdit>(page.Handle(), ScaleRect(40, 288, 441, 21), Font());
    gui::LabelControl(paramsLabel, Edit7->Handle());
    Button2 = std::make_unique<PushButton>(page.Handle(), "&Test..", ScaleRect(490, 284, 75, 25),
                                           Font(), WS_TABSTOP | WS_VISIBLE);
    Button2->SetEnabled(false);
    Button2->OnClick = [this](PushButton&) { Button2Click(); };
    page.OnNextButtonClick = [this](TKWizardCustomPage&, bool& stop) { Page4Next(stop); };
    page.OnBackButtonClick = [this](TKWizardCustomPage&, bool& stop) { Page4Back(stop); };
}

void TForm8::BuildPage5() {
    TKWizardInteriorPage& page = *KWizardInteriorPage5;
    AddTitle(page, "Sounds", 16, 16);
    AddText(page,
            "You can use sounds with your timer. Sounds can be setup to play when the seconds on "
            "your timer change (tick) and also when the timer is completed. Choose any sounds to "
            "use.",
            40, 88, 561, 42);
    ImageList1 = std::make_unique<ImageList>(16, 16);
    {
        base::Bitmap icons(
            static_cast<HBITMAP>(LoadImageW(WindowInstance(Handle()), L"WIZARD_SOUNDICONS",
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (icons)
            ImageList1->Add(icons.Get(), RGB(255, 0, 255));
    }
    gui::Label* soundLabels[] = {&AddCaption(page, "&Every second:", 48, 184),
                                 &AddCaption(page, "&On completion", 48, 240)};
    std::unique_ptr<TIconComboBox>* lists[] = {&ComboBox1, &ComboBox2};
    std::unique_ptr<PushButton>* previews[] = {&SpeedButton1, &SpeedButton2};
    for (int i = 0; i < 2; ++i) {
        const int top = i == 0 ? 200 : 256;
        auto& list = *lists[i];
        list = std::make_unique<TIconComboBox>(page.Handle(), ScaleRect(48, top, 161, 22), Font());
        list->SetImages(ImageList1->Handle());
        list->AddItem("None", 1);
        list->AddItem("Standard", 0);
        list->AddItem("Electronic", 0);
        list->AddItem("", 0);
        list->OnChange = [this](TIconComboBox&) { StoreSounds(); };
        // The list's edit part takes the focus; both answer to the label.
        gui::LabelControl(*soundLabels[i], list->Handle());
        gui::LabelControl(*soundLabels[i], list->FocusHandle());
        auto& preview = *previews[i];
        preview = std::make_unique<PushButton>(page.Handle(), ">", ScaleRect(232, top - 3, 32, 29),
                                               Font(), WS_TABSTOP | WS_VISIBLE);
        preview->OnClick = [this, i](PushButton&) { PreviewSound(i); };
        AddToolTip(ToolTip1, page.Handle(), preview->Handle(), "Preview the selected sound");
        gui::DescribeByLabel(preview->Handle(), *soundLabels[i], "Preview the selected sound");
    }
    page.OnEnterPage = [this](TKWizardCustomPage&, TKWizardCustomPage*) { Page5Enter(); };
    page.OnNextButtonClick = [this](TKWizardCustomPage&, bool&) { StoreSounds(); };
    page.OnBackButtonClick = [this](TKWizardCustomPage&, bool&) { StoreSounds(); };
}

void TForm8::BuildPage7() {
    TKWizardInteriorPage& page = *KWizardInteriorPage7;
    AddTitle(page, "Timer color scheme", 16, 16);
    std::unique_ptr<TColorButton>* buttons[] = {&ColorButton1, &ColorButton2};
    const char* names[] = {"Foreground", "Background"};
    for (int i = 0; i < 2; ++i) {
        auto& button = *buttons[i];
        button = std::make_unique<TColorButton>();
        button->Create(page.Handle(), 24, i == 0 ? 160 : 240, 32, 22);
        button->SetFlat(true);
        button->SetDropDownWidth(9);
        button->SetWordStyle(true);
        button->SetFont(Font());
        button->SetCaptionAutoColor("Automatic");
        button->SetCaptionOtherColor(names[i]);
        button->SetDropDownCaption(names[i]);
    }
    ColorButton1->OnUpdate = [this](TColorButton&) { ColorButton1Update(); };
    ColorButton2->OnUpdate = [this](TColorButton&) { ColorButton2Update(); };
    Image3 = std::make_unique<TImage>(page);
    Image3->Picture().LoadJpegResource(WindowInstance(Handle()), L"WIZARD_TIMERWINDOW");
    Image3->SetBounds(Scale(256), Scale(102), Scale(351), Scale(199));
    Image3->SetStretch(true);
    Shape1 = std::make_unique<TShape>(page);
    Label30 = std::make_unique<gui::Label>(page);
    Label30->SetFont(DigitFontFace, 36);
    Label30->SetText("00:16:45");
    Label31 = std::make_unique<gui::Label>(page);
    Label31->SetFont(DigitFontFace, 20);
    Label31->SetText("20");
    // The captions wrap in the room left of the preview, so a wider dialog
    // font never runs them into the picture.
    const char* captions[] = {"F&oreground (click down arrow to change)",
                              "Back&ground (click down arrow to change)"};
    for (int i = 0; i < 2; ++i) {
        AddText(page, captions[i], 24, i == 0 ? 112 : 192, 224, 34)
            .SetFocusControl((*buttons[i])->Handle());
        (*buttons[i])->SetAccessibleName(captions[i]);
    }
    page.OnEnterPage = [this](TKWizardCustomPage&, TKWizardCustomPage*) { Page7Enter(); };
    page.OnNextButtonClick = [this](TKWizardCustomPage&, bool& stop) { Page7Next(stop); };
    page.OnBackButtonClick = [this](TKWizardCustomPage&, bool&) {
        State.ForeColor = ColorButton1->SelectedColor();
        State.BackColor = ColorButton2->SelectedColor();
    };
}

void TForm8::BuildPage8() {
    TKWizardInteriorPage& page = *KWizardInteriorPage8;
    AddTitle(page, "Window mode", 16, 16);
    AddText(page,
            "The window mode determines how the countdown timer will be displayed. Normal mode "
            "is the default, it uses a portion of your monitor. Full-screen mode will "
            "exclusively use the entire screen.",
            40, 88, 561, 42);
    RadioButton3 = std::make_unique<TRadioButton>(page.Handle(), "N&ormal",
                                                  ScaleRect(42, 155, 150, 17), Font(), true);
    RadioButton3->SetChecked(true);
    RadioButton4 = std::make_unique<TRadioButton>(page.Handle(), "F&ull screen mode",
                                                  ScaleRect(40, 176, 150, 17), Font());
    RadioButton3->OnClick = [this](TRadioButton&) { WindowModeLayout(); };
    RadioButton4->OnClick = [this](TRadioButton&) { WindowModeLayout(); };
    Image4 = std::make_unique<TImage>(page);
    Image4->Picture().LoadBitmapResource(WindowInstance(Handle()), L"WIZARD_MONITOR");
    // The picture's corners around the stand are left out.
    Image4->Picture().SetTransparent(true);
    Image4->SetBounds(Scale(207), Scale(152), Scale(227), Scale(180));
    Panel1 = std::make_unique<TShape>(page);
    Panel1->SetSunken(true);
    Panel1->SetBrushColor(GetSysColor(COLOR_BTNFACE));
    Shape2 = std::make_unique<TShape>(page);
    Shape3 = std::make_unique<TShape>(page);
    Shape3->SetBrushColor(RGB(0, 0, 255));
    Label35 = std::make_unique<gui::Label>(page);
    Label35->SetFont(DigitFontFace, 10);
    Label35->SetText("00:04:22");
    Label36 = std::make_unique<gui::Label>(page);
    Label36->SetFont(DigitFontFace, 8);
    Label36->SetText("36");
    page.OnEnterPage = [this](TKWizardCustomPage&, TKWizardCustomPage*) { Page8Enter(); };
    page.OnNextButtonClick = [this](TKWizardCustomPage&, bool& stop) { Page8Next(stop); };
}

void TForm8::BuildPage6() {
    TKWizardInteriorPage& page = *KWizardInteriorPage6;
    AddTitle(page, "Border style", 16, 16);
    AddText(page,
            "You can set up your timer window to not show a standard border. Turning the border "
            "off makes your timer look different. The timer window can still be closed by "
            "pressing ALT + F4.",
            40, 88, 561, 42);
    RadioButton5 = std::make_unique<TRadioButton>(page.Handle(), "Sho&w a border",
                                                  ScaleRect(42, 155, 150, 17), Font(), true);
    RadioButton5->SetChecked(true);
    RadioButton6 = std::make_unique<TRadioButton>(page.Handle(), "&Don't show a border",
                                                  ScaleRect(42, 176, 150, 17), Font());
    RadioButton5->OnClick = [this](TRadioButton&) { BorderLayout(); };
    RadioButton6->OnClick = [this](TRadioButton&) { BorderLayout(); };
    Image5 = std::make_unique<TImage>(page);
    Image5->Picture().LoadBitmapResource(WindowInstance(Handle()), L"WITHBORDER");
    Image5->SetBounds(Scale(304), Scale(151), Scale(200), Scale(100));
    Shape4 = std::make_unique<TShape>(page);
    page.OnEnterPage = [this](TKWizardCustomPage&, TKWizardCustomPage*) {
        Shape4->SetBrushColor(PreviewColour(State.BackColor));
        BorderLayout();
    };
    page.OnNextButtonClick = [this](TKWizardCustomPage&, bool&) { BorderLayout(); };
    page.OnBackButtonClick = [this](TKWizardCustomPage&, bool&) { BorderLayout(); };
}

void TForm8::BuildWelcomePage1() {
    TKWizardWelcomePage& page = *KWizardWelcomePage1;
    AddTitle(page, "Finished", 176, 16);
    AddText(page,
            "The Brevalo Wizard now has enough information to start your timer. Click the Finish "
            "button to close this wizard and start your timer. Or choose an additional action to "
            "perform below.",
            184, 96, 425, 56);
    AddCaption(page, "command line:", 184, 168);
    Label40 = std::make_unique<WrappedLabel>(page, FontDescription());
    Label40->SetBounds(Scale(184), Scale(186), Scale(433), Scale(47));
    Button3 =
        std::make_unique<PushButton>(page.Handle(), "&Copy command line to clipboard",
                                     ScaleRect(184, 248, 193, 25), Font(), WS_TABSTOP | WS_VISIBLE);
    Button3->OnClick = [this](PushButton&) { Button3Click(); };
    Button4 =
        std::make_unique<PushButton>(page.Handle(), "Create a &desktop shortcut",
                                     ScaleRect(184, 280, 193, 25), Font(), WS_TABSTOP | WS_VISIBLE);
    Button4->OnClick = [this](PushButton&) { Button4Click(); };
    // The dialog font may be wider than the one the layout was drawn for: the
    // two buttons grow together until both captions fit.
    int width = Scale(193);
    for (PushButton* button : {Button3.get(), Button4.get()}) {
        SIZE ideal{};
        if (SendMessageW(button->Handle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)))
            width = std::max(width, int(ideal.cx) + Scale(8));
    }
    for (PushButton* button : {Button3.get(), Button4.get()}) {
        RECT r = button->Bounds();
        r.right = r.left + width;
        button->SetBounds(r);
    }
    page.OnEnterPage = [this](TKWizardCustomPage&, TKWizardCustomPage*) { WelcomeEnter(); };
    page.OnBackButtonClick = [this](TKWizardCustomPage&, bool& stop) {
        stop = true;
        KWizard1->SetActivePage(State.FullScreen ? KWizardInteriorPage8.get()
                                                 : KWizardInteriorPage6.get());
    };
}

void TForm8::BuildMenus() {
    Tipoftheday1 = &PopupMenu1.Add("Tip of the day", [this](gui::MenuItem&) { ShowTipsNow(true); });
    Help1 = &PopupMenu1.Add(os::HelpCaption(), [this](gui::MenuItem&) { HelpClick(); });
    PopupMenu1.AddSeparator();
    SwitchtoAdvancedmode1 = &PopupMenu1.Add("Switch to Advanced mode",
                                            [this](gui::MenuItem&) { SwitchToAdvancedMode(); });

    auto system = [this](const std::string& program, const std::string& params) {
        return [this, program, params](gui::MenuItem&) { FillAction(program, params); };
    };
    PopupMenu2.Add("Shutdown computer", system("shutdown.exe", "/p"));
    PopupMenu2.Add("Restart computer", system("shutdown.exe", "/r /t 1"));
    PopupMenu2.Add("Logoff", system("shutdown.exe", "/l"));
    PopupMenu2.AddSeparator();
    PopupMenu2.Add("Visit website", [this](gui::MenuItem&) { VisitWebsite(); });
    PopupMenu2.AddSeparator();
    PopupMenu2.Add("Defrag computer", system("defrag.exe", "-c"));
}

void TForm8::BuildTips() {
    TipDialog1.SetTitleAlignment(TAlignment::taLeftJustify);
    TipDialog1.SetTitleLayout(TTextLayout::tlTop);
    FontSpec title;
    title.name = "MS Sans Serif";
    title.size = 8;
    TipDialog1.SetTitleFont(title);
    TipDialog1.SetShowAtStart(false);
    TipDialog1.SetTips({
        "The Brevalo automatically checks for updates. If any updates are available you will be "
        "notified and be taken to the downloads page.",
        "Timer names can be upto 100 characters in length. The name helps the system and other "
        "programs indentify it.",
        "Visit the online help site at " + os::HelpPageUrl() +
            " for extensive documentation on how to take full advantage of the power of the "
            "Brevalo.",
        "Once you feel comfortable with how the Brevalo works switch to Advanced mode. Advanced "
        "mode makes creating a timer quicker and has more options.",
        "You can pause your timer by pressing the space-bar once. Pressing the button again will "
        "resume your timer.",
        "Full screen mode allows the timer to take up your entire screen and hide the mouse "
        "cursor. You can enter full screen mode by maximizing the timer window.",
        "You can exit full screen mode by pressing the ESC key.",
        "We welcome your suggestions on how we can make the Brevalo even better. Visit our "
        "website for contact details.",
        "You can change timer attributes while the timer is running by using your mouse to right "
        "click anywhere in the timer window. This will open the settings pop-up menu.",
        "You can download and install a copy of the online help on your computer. This means "
        "the Brevalo will never need to go on the Internet for help again, perfect for "
        "computers who aren't always connected.",
        "Advanced mode supports actions other than running programs. You can choose to open "
        "different files or perform a custom verb such as print. Consult help for more "
        "information.",
    });
}

} // namespace brevalo
