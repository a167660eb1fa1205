// The wizard form driven in-process: the page order and buttons, every
// page's Next and Back rules with their messages, the previews' layout,
// Finish, the clipboard copy, the tips at the first idle moment and the
// switch to advanced mode. Message boxes and process starts are recorded
// instead of shown.
#include "Application.h"
#include "Clock.h"
#include "Files.h"
#include "OsError.h"
#include "Settings.h"
#include "Strings.h"
#include "Unit8.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brevalo {
namespace {

class RecordingWizard : public TForm8 {
public:
    std::vector<std::string> informed, failed, launched;
    int restarts = 0;
    bool restartFails = false;
    int tipRuns = 0;
    bool answerYes = false;
    bool uncheckTipsWhenShown = false;
    std::optional<std::string> address;
    int addressAsks = 0;

protected:
    void Inform(const std::string& text) override { informed.push_back(text); }
    void Fail(const std::string& text) override { failed.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        informed.push_back(text);
        return answerYes;
    }
    std::optional<std::string> AskAddress() override {
        ++addressAsks;
        return address;
    }
    void StartTimer(const std::string& switches) override { launched.push_back(switches); }
    void StartProgramAgain() override {
        ++restarts;
        if (restartFails)
            throw base::OsError(ERROR_FILE_NOT_FOUND);
    }
    void ExecuteTips() override {
        ++tipRuns;
        if (uncheckTipsWhenShown)
            TipDialog1.SetShowAtStart(false);
        if (gui::Application::Instance().MainWindow() == this)
            Close();
    }
};

class WizardForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }

    void SetUp() override {
        form = std::make_unique<RecordingWizard>();
        form->FormCreate();
        form->Show(SW_SHOW);
        gui::Application::Instance().ProcessMessages();
    }
    void TearDown() override {
        form.reset();
        gui::Application::Instance().ProcessMessages();
    }

    int Page() const { return form->KWizard1->ActivePageIndex(); }
    void Next() { form->KWizard1->ButtonNext().Control().Click(); }
    void Back() { form->KWizard1->ButtonBack().Control().Click(); }
    void Finish() { form->KWizard1->ButtonFinish().Control().Click(); }
    bool Shows(int page, TKWizardButtonKind kind) const {
        return form->KWizard1->Pages()[page]->VisibleButtons().Contains(kind);
    }

    // Position 0 with the name and the "By length of time" radio, then the
    // length page with `minutes`, on to the actions page.
    void ByLength(const std::string& name, const std::string& minutes) {
        form->Edit1->SetText(name);
        form->RadioButton2->Click();
        Next();
        ASSERT_EQ(Page(), 2);
        form->Edit4->SetText(minutes);
        Next();
        ASSERT_EQ(Page(), 3);
    }

    std::unique_ptr<RecordingWizard> form;
};

TEST_F(WizardForm, PagesButtonsAndInitialStateFollowTheLayout) {
    ASSERT_EQ(form->KWizard1->PageCount(), 9);
    const controls::TKWizardCustomPage* order[] = {
        form->KWizardInteriorPage1.get(), form->KWizardInteriorPage2.get(),
        form->KWizardInteriorPage3.get(), form->KWizardInteriorPage4.get(),
        form->KWizardInteriorPage5.get(), form->KWizardInteriorPage7.get(),
        form->KWizardInteriorPage8.get(), form->KWizardInteriorPage6.get(),
        form->KWizardWelcomePage1.get()};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(form->KWizard1->Pages()[i], order[i]) << "position " << i;
    const char* titles[] = {"Brevalo Wizard", "Date and time", "Date and time",
                            "Actions",        "Sounds",        "Timer color scheme",
                            "Window mode",    "Border style",  "Finished"};
    ASSERT_EQ(form->Titles.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(form->Titles[i]->Text(), titles[i]);
        EXPECT_EQ(form->Titles[i]->FontSize(), 16);
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(Shows(i, TKWizardButtonKind::bkFinish)) << i;
    for (int i = 4; i < 8; ++i)
        EXPECT_TRUE(Shows(i, TKWizardButtonKind::bkFinish)) << i;
    EXPECT_FALSE(Shows(8, TKWizardButtonKind::bkNext));
    EXPECT_TRUE(Shows(8, TKWizardButtonKind::bkFinish));
    EXPECT_EQ(form->KWizard1->ButtonNext().Caption(), "&Next >");
    EXPECT_EQ(form->KWizard1->ButtonBack().Caption(), "< &Back");
    EXPECT_EQ(form->Text(), "Brevalo Wizard");
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(form->Edit1->Text(), "Timer");
    EXPECT_FALSE(form->RadioButton1->Checked());
    EXPECT_FALSE(form->RadioButton2->Checked());
    EXPECT_FALSE(form->Button2->Enabled());
    EXPECT_EQ(form->State.TickSound, 0);
    EXPECT_EQ(form->State.DoneSound, 1);
    EXPECT_EQ(form->Help1->Caption(), "Online help");
    EXPECT_EQ(form->TipDialog1.Tips().size(), 11u);
}

TEST_F(WizardForm, ColoursComeFromTheSettingsFile) {
    form.reset();
    WindowSettings settings;
    settings.ForeColor = Rgb(0x12, 0x34, 0x56);
    settings.BackColor = Rgb(0xAB, 0xCD, 0xEF);
    os::Settings().WriteWindowSettings(settings);
    form = std::make_unique<RecordingWizard>();
    form->FormCreate();
    EXPECT_EQ(form->State.ForeColor, settings.ForeColor);
    EXPECT_EQ(form->State.BackColor, settings.BackColor);
    EXPECT_EQ(form->Shape1->BrushColor(), RGB(0xAB, 0xCD, 0xEF));
}

TEST_F(WizardForm, FirstPageRefusesNoChoiceAndForbiddenNameCharacters) {
    Next();
    EXPECT_EQ(Page(), 0);
    ASSERT_EQ(form->informed.size(), 1u);
    EXPECT_EQ(form->informed[0], "Please choose how you want to setup your timer.");

    form->Edit1->SetText("");
    for (wchar_t c : std::wstring(L"a.b:c|"))
        SendMessageW(form->Edit1->Handle(), WM_CHAR, c, 0);
    EXPECT_EQ(form->Edit1->Text(), "a.bc");
    ASSERT_EQ(form->informed.size(), 3u);
    EXPECT_EQ(form->informed[1], "The character : is not allowed");
    EXPECT_EQ(form->informed[2], "The character | is not allowed");

    form->RadioButton1->Click();
    Next();
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(form->State.TimerName, "a.bc");
    Back();
    EXPECT_EQ(Page(), 0);
    form->RadioButton2->Click();
    Next();
    EXPECT_EQ(Page(), 2);
}

TEST_F(WizardForm, LengthPageChecksAndAddsUpTheFourEdits) {
    form->RadioButton2->Click();
    Next();
    for (auto* edit : {form->Edit2.get(), form->Edit3.get(), form->Edit4.get(), form->Edit5.get()})
        edit->SetText("");
    Next();
    EXPECT_EQ(Page(), 2);
    EXPECT_EQ(form->Edit2->Text(), "0");
    EXPECT_EQ(form->Edit5->Text(), "0");
    ASSERT_EQ(form->informed.size(), 1u);
    EXPECT_EQ(form->informed[0],
              "Your must enter the amount of time you want to put on your timer.");

    // Only digits and Backspace may be typed.
    SendMessageW(form->Edit5->Handle(), WM_CHAR, L'x', 0);
    SendMessageW(form->Edit5->Handle(), WM_CHAR, L'5', 0);
    EXPECT_EQ(form->informed.back(), "You can only enter numbers in this box");

    form->Edit2->SetText("1");
    form->Edit5->SetText("5");
    Next();
    EXPECT_EQ(Page(), 3);
    EXPECT_EQ(form->State.IntervalSeconds, 86405);
    EXPECT_TRUE(form->State.TargetText.empty());
    EXPECT_EQ(form->Switches(WizardVariant::Launch).rfind("/q86405 ", 0), 0u);
}

TEST_F(WizardForm, LengthPageReportsPastedTextAndTooLongTotals) {
    form->RadioButton2->Click();
    Next();
    form->Edit3->SetText("1x");
    try {
        Next();
        ADD_FAILURE() << "no conversion error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "'1x' is not a valid integer value");
    }
    EXPECT_EQ(Page(), 2);
    form->Edit3->SetText("0");
    form->Edit2->SetText("24856"); // more than 2^31 - 1 seconds
    Next();
    EXPECT_EQ(Page(), 2);
    EXPECT_EQ(form->State.IntervalSeconds, 0);
}

TEST_F(WizardForm, DatePageRefusesThePastAndAcceptsTomorrowEarlier) {
    form->RadioButton1->Click();
    Next();
    ASSERT_EQ(Page(), 1);
    const DateTime now = os::LocalNow();
    // Both pickers start an hour ahead.
    EXPECT_NEAR(form->DateTimePicker2->Value(), AddSeconds(now, 3600), 5.0 / 86400);

    const DateTime today = std::floor(now);
    const DateTime past = AddSeconds(now, -120);
    form->DateTimePicker1->SetValue(past);
    form->DateTimePicker2->SetValue(past);
    Next();
    EXPECT_EQ(Page(), 1);
    ASSERT_EQ(form->failed.size(), 1u);
    EXPECT_EQ(form->failed[0],
              "The proposed date and time has already expired. Change the settings to continue.");

    // Tomorrow, at a time of day earlier than now.
    form->DateTimePicker1->SetValue(today + 1 + (now - today) / 2);
    form->DateTimePicker2->SetValue(today + (now - today) / 2);
    form->State.IntervalSeconds = 99;
    Next();
    EXPECT_EQ(Page(), 3);
    EXPECT_EQ(form->State.IntervalSeconds, 0);
    EXPECT_FALSE(form->State.TargetText.empty());
    EXPECT_EQ(form->State.TargetText.front(), '"');
    // Back from the actions page returns to the date page, which resets the
    // pickers.
    Back();
    EXPECT_EQ(Page(), 1);
    EXPECT_NEAR(form->DateTimePicker1->Value(), AddSeconds(os::LocalNow(), 3600), 5.0 / 86400);
}

TEST_F(WizardForm, ActionsPageQuotesAnExistingProgramAndRefusesAMissingOne) {
    ByLength("Tea", "5");
    form->Edit6->SetText("C:\\no\\such.exe");
    EXPECT_TRUE(form->Button2->Enabled());
    Next();
    EXPECT_EQ(Page(), 3);
    ASSERT_EQ(form->failed.size(), 1u);
    EXPECT_EQ(form->failed[0], "Action file C:\\no\\such.exe cannot be found.");

    const std::string program = os::ProgramPath();
    form->Edit6->SetText(program);
    form->Edit7->SetText("-x 1");
    Next();
    EXPECT_EQ(Page(), 4);
    EXPECT_EQ(form->State.ActionText, "\"" + program + "\"|\"-x 1\"");
    // Named from the current folder, it is kept in full.
    const std::size_t slash = program.rfind('\\');
    SetCurrentDirectoryW(base::Widen(program.substr(0, slash)).c_str());
    Back();
    form->Edit6->SetText(program.substr(slash + 1));
    Next();
    EXPECT_EQ(Page(), 4);
    EXPECT_EQ(form->Edit6->Text(), program);
    EXPECT_EQ(form->State.ActionText, "\"" + program + "\"|\"-x 1\"");

    // Back with a missing file keeps the action and says nothing.
    Back();
    form->Edit6->SetText("C:\\no\\such.exe");
    Back();
    EXPECT_EQ(Page(), 2);
    EXPECT_EQ(form->failed.size(), 1u);
    EXPECT_EQ(form->State.ActionText, "\"" + program + "\"|\"-x 1\"");

    form->Edit6->SetText("");
    EXPECT_FALSE(form->Button2->Enabled());
}

TEST_F(WizardForm, ProgramMenuFillsTheSystemCommands) {
    wchar_t system[MAX_PATH]{};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::string folder = base::Narrow(system) + "\\";
    form->PopupMenu2.Items().Item(1).Click(); // "Restart computer"
    EXPECT_EQ(form->Edit6->Text(), folder + "shutdown.exe");
    EXPECT_EQ(form->Edit7->Text(), "/r /t 1");
    form->PopupMenu2.Items().Item(6).Click(); // "Defrag computer"
    EXPECT_EQ(form->Edit6->Text(), folder + "defrag.exe");
    EXPECT_EQ(form->Edit7->Text(), "-c");
    EXPECT_TRUE(form->PopupMenu2.Items().Item(3).IsSeparator());
    EXPECT_EQ(form->PopupMenu2.Items().Item(4).Caption(), "Visit website");
}

// The file "Visit website" makes to ask the shell for the browser is its own:
// a page another program keeps under the obvious name survives, and nothing
// of ours is left behind.
TEST_F(WizardForm, VisitWebsiteLeavesTheTemporaryFolderAsItWas) {
    const std::wstring folder = base::Widen(os::TempFolder());
    const std::wstring other = folder + L"tmp.html";
    const std::string content = "<p>another program's page</p>";
    FILE* file = _wfopen(other.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    fwrite(content.data(), 1, content.size(), file);
    fclose(file);

    form->Edit6->SetText("C:\\keep.exe");
    form->PopupMenu2.Items().Item(4).Click(); // "Visit website", then Cancel
    EXPECT_EQ(form->addressAsks, 1);
    EXPECT_EQ(form->Edit6->Text(), "C:\\keep.exe");
    form->address = "www.example.com";
    form->PopupMenu2.Items().Item(4).Click();
    EXPECT_EQ(form->Edit7->Text(), "\"www.example.com\"");

    std::string kept(256, '\0');
    file = _wfopen(other.c_str(), L"rb");
    ASSERT_NE(file, nullptr);
    kept.resize(fread(kept.data(), 1, kept.size(), file));
    fclose(file);
    DeleteFileW(other.c_str());
    EXPECT_EQ(kept, content);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"tmp-brevalo-*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << base::Narrow(found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(WizardForm, SoundsPageMapsRowsAndAsksForASoundToPreview) {
    ByLength("Tea", "5");
    Next();
    ASSERT_EQ(Page(), 4);
    EXPECT_EQ(form->ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(form->ComboBox2->ItemIndex(), 1);
    EXPECT_EQ(form->ComboBox1->Count(), 4);
    EXPECT_EQ(form->SpeedButton1->Enabled(), waveOutGetNumDevs() != 0);

    form->ComboBox1->SetItemIndex(2);
    form->ComboBox2->SetItemIndex(3); // the empty row
    Next();
    EXPECT_EQ(form->State.TickSound, 2);
    EXPECT_EQ(form->State.DoneSound, 0);
    Back();
    EXPECT_EQ(form->ComboBox1->ItemIndex(), 2);
    form->ComboBox1->SetItemIndex(0);
    form->PreviewSound(0);
    EXPECT_EQ(form->informed.back(), "Please select a sound to preview first.");
}

TEST_F(WizardForm, FinishOnTheSoundsPageUsesTheDefaultsOfTheRest) {
    ByLength("Tea", "5");
    Next();
    Finish();
    ASSERT_EQ(form->launched.size(), 1u);
    EXPECT_EQ(form->launched[0], "/q300 /c\"Tea\" /f0080FF /b000000 /s1 /e0 /w0");
    gui::Application::Instance().ProcessMessages();
    EXPECT_FALSE(IsWindow(form->Handle())) << "the wizard stayed open";
}

TEST_F(WizardForm, EqualColoursAreRefusedByNextButNotByFinish) {
    ByLength("Tea", "5");
    Next();
    Next();
    ASSERT_EQ(Page(), 5);
    form->ColorButton2->SetSelectedColor(form->ColorButton1->SelectedColor());
    Next();
    EXPECT_EQ(Page(), 5);
    EXPECT_EQ(form->informed.back(),
              "The background color cannot be set to the same color as the foreground color.");
    form->ColorButton2Update();
    Finish();
    ASSERT_EQ(form->launched.size(), 1u);
    EXPECT_NE(form->launched[0].find("/f0080FF /b0080FF"), std::string::npos) << form->launched[0];
}

TEST_F(WizardForm, ColourPreviewCoversTheTimerPicturesClientArea) {
    const RECT picture = form->Image3->Bounds();
    const RECT shape = form->Shape1->Bounds();
    EXPECT_EQ(shape.left - picture.left, form->Scale(8));
    EXPECT_EQ(shape.top - picture.top, form->Scale(28));
    EXPECT_EQ(shape.right - shape.left, (picture.right - picture.left) - form->Scale(15));
    EXPECT_EQ(shape.bottom - shape.top, (picture.bottom - picture.top) - form->Scale(36));
    // The large digits are centred; the small ones stand right of them, half
    // their height above.
    const int centre = (shape.left + shape.right) / 2;
    EXPECT_LE(std::abs(form->Label30->Left() + form->Label30->Width() / 2 - centre), 1);
    EXPECT_EQ(form->Label31->Left(),
              form->Label30->Left() + form->Label30->Width() + form->Scale(4));
    EXPECT_EQ(form->Label31->Top(), form->Label30->Top() - form->Label31->Height() / 2);
    EXPECT_EQ(form->Label30->Color(), RGB(0x00, 0x80, 0xFF));
}

TEST_F(WizardForm, FullScreenSkipsTheBorderPageBothWays) {
    ByLength("Tea", "5");
    Next();
    Next();
    Next();
    ASSERT_EQ(Page(), 6);
    // Normal: a window half as wide as the monitor picture, with a title strip.
    const RECT monitor = form->Image4->Bounds();
    EXPECT_EQ(form->Panel1->Width(), (monitor.right - monitor.left) / 2);
    EXPECT_TRUE(form->Shape3->Visible());

    form->RadioButton4->Click();
    EXPECT_TRUE(form->State.FullScreen);
    EXPECT_FALSE(form->Shape3->Visible());
    EXPECT_EQ(form->Panel1->Left() - monitor.left, form->Scale(7));
    EXPECT_EQ(form->Panel1->Width(), form->Scale(213));
    Next();
    EXPECT_EQ(Page(), 8);
    const std::string launch = form->Switches(WizardVariant::Launch);
    EXPECT_NE(launch.find(" /g"), std::string::npos);
    EXPECT_EQ(launch.find(" /w"), std::string::npos);
    EXPECT_NE(form->Switches(WizardVariant::Shortcut).find(" /w0"), std::string::npos);
    Back();
    EXPECT_EQ(Page(), 6);

    form->RadioButton3->Click();
    Next();
    EXPECT_EQ(Page(), 7);
    form->RadioButton6->Click();
    EXPECT_EQ(form->State.BorderValue, WizardChoices::Border::DontShow);
    EXPECT_EQ(form->Shape4->Top() - form->Image5->Top(), form->Scale(8));
    Next();
    EXPECT_EQ(Page(), 8);
    Back();
    EXPECT_EQ(Page(), 7);
    EXPECT_NE(form->Switches(WizardVariant::Launch).find(" /w1"), std::string::npos);
}

TEST_F(WizardForm, FinishedPageShowsAndCopiesTheCommandLine) {
    ByLength("Tea", "5");
    for (int i = 0; i < 5; ++i)
        Next();
    ASSERT_EQ(Page(), 8);
    const std::string program = os::ProgramPath();
    const std::string name = program.substr(program.find_last_of('\\') + 1);
    EXPECT_EQ(form->Label40->Text(), name + " /q300 /c\"Tea\" /f0080FF /b000000 /s1 /e0 /w0");
    form->Button3->Click();
    EXPECT_EQ(form->informed.back(), "Command line copied to the clipboard.");
    std::wstring text;
    ASSERT_TRUE(OpenClipboard(nullptr));
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    EXPECT_EQ(base::Narrow(text), program + " /q300 /c\"Tea\" /f0080FF /b000000 /s1 /e0 /w0");
}

TEST_F(WizardForm, TipsRunAtTheFirstIdleMomentAndTheChoiceIsStored) {
    gui::Application& app = gui::Application::Instance();
    form->uncheckTipsWhenShown = true;
    app.SetMainWindow(form.get());
    app.Run(); // the tips close the main window
    app.SetMainWindow(nullptr);
    EXPECT_EQ(form->tipRuns, 1);
    EXPECT_FALSE(form->ShowTips);
    EXPECT_FALSE(os::Settings().ReadTips());

    // With tips off, only "Tip of the day" shows them.
    form = std::make_unique<RecordingWizard>();
    form->FormCreate();
    form->ShowTipsNow(false);
    EXPECT_EQ(form->tipRuns, 0);
    form->Tipoftheday1->Click();
    EXPECT_EQ(form->tipRuns, 1);
}

TEST_F(WizardForm, SwitchToAdvancedModeStoresTheModeAndStartsAgain) {
    form->SwitchtoAdvancedmode1->Click();
    EXPECT_FALSE(os::Settings().ReadWizardMode());
    EXPECT_EQ(form->restarts, 1);
    gui::Application::Instance().ProcessMessages();
    EXPECT_FALSE(IsWindow(form->Handle()));
}

TEST_F(WizardForm, AFailedRestartIsReportedOnceAndTheWizardStillCloses) {
    std::vector<std::string> reported;
    gui::Application::Instance().SetExceptionHandler([&](std::exception_ptr error) {
        reported.push_back(gui::Application::ExceptionMessage(error));
    });
    form->restartFails = true;
    form->Label7->OnClick(*form->Label7);
    gui::Application::Instance().ProcessMessages();
    gui::Application::Instance().SetExceptionHandler(nullptr);

    EXPECT_FALSE(os::Settings().ReadWizardMode());
    EXPECT_EQ(form->restarts, 1);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], base::OsError(ERROR_FILE_NOT_FOUND).what());
    EXPECT_FALSE(IsWindow(form->Handle())) << "the wizard stayed open";
}

} // namespace
} // namespace brevalo
