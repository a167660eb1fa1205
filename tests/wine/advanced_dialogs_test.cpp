// The advanced front end's three dialogs driven in process: the options
// dialog's autorun dependency, loading order and wizard switch; the action
// dialog's OK search, fold-out, row double-click, verb and Clear; the main
// dialog's layout, tab order, device and version rules, control reactions,
// OK, "Advanced", the system-menu commands and the worked examples.
#include "Application.h"
#include "Files.h"
#include "Mnemonic.h"
#include "Settings.h"
#include "Strings.h"
#include "Unit1.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brevalo {
namespace {

// --- Message boxes and modal dialogs, answered from a thread timer ----------

struct SeenBox {
    std::string caption;
    std::string text;
};
std::vector<SeenBox> seenBoxes;
// Runs on each tick while a modal loop is up, until it returns true.
std::function<bool()> whileModal;

bool IsMessageBoxCaption(const std::wstring& caption) {
    return caption == L"Information" || caption == L"Error" || caption == L"Warning" ||
           caption == L"Confirm";
}

BOOL CALLBACK FindBoxText(HWND child, LPARAM data) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (std::wstring(cls) == L"Static") {
        wchar_t text[512] = {};
        GetWindowTextW(child, text, 512);
        if (text[0])
            *reinterpret_cast<std::string*>(data) = base::Narrow(text);
    }
    return TRUE;
}

BOOL CALLBACK CloseMessageBox(HWND hwnd, LPARAM) {
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd))
        return TRUE;
    SeenBox box;
    wchar_t caption[128] = {};
    GetWindowTextW(hwnd, caption, 128);
    if (!IsMessageBoxCaption(caption))
        return TRUE;
    box.caption = base::Narrow(caption);
    EnumChildWindows(hwnd, &FindBoxText, reinterpret_cast<LPARAM>(&box.text));
    seenBoxes.push_back(box);
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
    EnumWindows(&CloseMessageBox, 0);
    static bool running = false;
    if (whileModal && !running) {
        running = true;
        if (whileModal())
            whileModal = nullptr;
        running = false;
    }
}

class AdvancedDialogsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    void SetUp() override {
        seenBoxes.clear();
        timer_ = SetTimer(nullptr, 0, 50, &AnswerTimer);
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        whileModal = nullptr;
    }

    // The main dialog with both companions, as the program makes them.
    void MakeAll(AdvancedEnvironment environment = {1, 6, 1}) {
        launched.clear();
        form4 = std::make_unique<TForm4>();
        form4->FormCreate(environment);
        form5 = std::make_unique<TForm5>(form4->Handle());
        form6 = std::make_unique<TForm6>(form4->Handle());
        form4->SetCompanions(form5.get(), form6.get());
        form4->Launch = [this](HWND, const std::string& switches, const std::string& verb) {
            launched.push_back(switches);
            launchVerb = verb;
        };
    }

    static void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
    // Handles what is queued (closing is posted).
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    static RECT Within(HWND control, HWND parent) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static std::string BoundsText(const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
               std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top);
    }
    void ExpectBounds(HWND control, int left, int top, int width, int height) {
        const RECT r = Within(control, form4->Handle());
        EXPECT_EQ(BoundsText(r),
                  BoundsText(RECT{form4->Scale(left), form4->Scale(top), form4->Scale(left + width),
                                  form4->Scale(top + height)}));
    }
    // Makes a file under `folder` and returns its full path.
    static std::string MakeFile(const std::string& folder, const std::string& name) {
        const std::string path = FolderWithBackslash(folder) + name;
        std::ofstream(base::Widen(path).c_str()) << "x";
        return path;
    }

    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm6> form6;
    std::vector<std::string> launched;
    std::string launchVerb;

private:
    UINT_PTR timer_ = 0;
};

// --- Options dialog ----------------------------------------------------------

TEST_F(AdvancedDialogsTest, AutorunForAllUsersFollowsAutorunClicks) {
    TForm5 form(nullptr);
    EXPECT_FALSE(form.CheckBox(3).Enabled());
    Click(form.CheckBox(2).Handle());
    EXPECT_TRUE(form.CheckBox(2).Checked());
    EXPECT_TRUE(form.CheckBox(3).Enabled());
    Click(form.CheckBox(3).Handle());
    EXPECT_TRUE(form.CheckBox(3).Checked());
    Click(form.CheckBox(2).Handle());
    EXPECT_FALSE(form.CheckBox(3).Enabled());
    EXPECT_FALSE(form.CheckBox(3).Checked());
}

TEST_F(AdvancedDialogsTest, LoadingInKeyOrderKeepsAllUsersTickedButDisabled) {
    TForm5 form(nullptr);
    AdvancedOptions stored;
    stored.SetChk(3, true);
    form.LoadOptions(stored);
    EXPECT_TRUE(form.CheckBox(3).Checked());
    EXPECT_FALSE(form.CheckBox(3).Enabled());

    // From a ticked autorun pair: Chk2 clears box 3, then Chk3 sets it again.
    AdvancedOptions both;
    both.SetChk(2, true);
    both.SetChk(3, true);
    form.LoadOptions(both);
    EXPECT_TRUE(form.CheckBox(3).Enabled());
    form.LoadOptions(stored);
    EXPECT_FALSE(form.CheckBox(2).Checked());
    EXPECT_TRUE(form.CheckBox(3).Checked());
    EXPECT_FALSE(form.CheckBox(3).Enabled());
    EXPECT_EQ(form.Options(), stored);
}

TEST_F(AdvancedDialogsTest, OptionBoxesFollowTheirKeysOnScreenAndInTabOrder) {
    TForm5 form(nullptr);
    const int tops[] = {88, 16, 40, 136, 64, 112, 160, 184, 208, 232, 256}; // box N's top
    for (int n = 1; n <= 11; ++n) {
        const RECT r = Within(form.CheckBox(n).Handle(), form.Handle());
        EXPECT_EQ(r.top, form.Scale(tops[n - 1])) << "box " << n;
        EXPECT_EQ(r.left, form.Scale(16)) << "box " << n;
    }
    EXPECT_EQ(gui::WithoutMnemonic(form.CheckBox(1).Text()),
              "Disable ability to change running timer settings");
    EXPECT_EQ(gui::WithoutMnemonic(form.CheckBox(10).Text()), "Disable timer window pause");
    // Tab: the ten boxes top to bottom, "OK", "Use Wizard mode".
    const int order[] = {2, 5, 1, 6, 4, 7, 8, 9, 10}; // after box 2 (box 3 is disabled)
    HWND at = form.CheckBox(2).Handle();
    for (int n : order) {
        if (n == 2)
            continue;
        at = GetNextDlgTabItem(form.Handle(), at, FALSE);
        EXPECT_EQ(at, form.CheckBox(n).Handle()) << "expected box " << n;
    }
    at = GetNextDlgTabItem(form.Handle(), at, FALSE);
    EXPECT_EQ(at, form.Button1->Handle());
    at = GetNextDlgTabItem(form.Handle(), at, FALSE);
    EXPECT_EQ(at, form.CheckBox(11).Handle());
}

TEST_F(AdvancedDialogsTest, OkWritesWizardModeOnlyWhenTicked) {
    TForm5 form(nullptr);
    form.Button1Click();
    EXPECT_EQ(form.ModalResult(), controls::mrOk);
    EXPECT_TRUE(seenBoxes.empty());
    EXPECT_TRUE(os::Settings().ReadWizardMode()) << "absent value reads as wizard mode";
    os::Settings().WriteWizardMode(false);

    form.SetModalResult(controls::mrNone);
    form.Button1Click();
    EXPECT_FALSE(os::Settings().ReadWizardMode()) << "nothing written while clear";

    Click(form.CheckBox(11).Handle());
    form.Button1Click();
    EXPECT_TRUE(os::Settings().ReadWizardMode());
    ASSERT_EQ(seenBoxes.size(), 1u);
    EXPECT_EQ(seenBoxes[0].caption, "Information");
    EXPECT_EQ(seenBoxes[0].text, "You must restart this program to switch to Wizard mode.");
}

// --- Action dialog -------------------------------------------------------------

TEST_F(AdvancedDialogsTest, OkAcceptsAnEmptyFieldOrAnExistingFile) {
    TForm6 form(nullptr);
    form.Button4Click();
    EXPECT_EQ(form.ModalResult(), controls::mrOk);
    const std::string file = MakeFile(os::TempFolder(), "brevalo_action.txt");
    form.SetModalResult(controls::mrNone);
    form.LabeledEdit1->SetText(file);
    form.Button4Click();
    EXPECT_EQ(form.ModalResult(), controls::mrOk);
    EXPECT_EQ(form.ActionFile(), file);
    // A file named from the current folder is kept in full: the timer may
    // start, or come back at log-on, in another folder.
    SetCurrentDirectoryW(base::Widen(os::TempFolder()).c_str());
    form.SetModalResult(controls::mrNone);
    form.LabeledEdit1->SetText("brevalo_action.txt");
    form.Button4Click();
    EXPECT_EQ(form.ModalResult(), controls::mrOk);
    EXPECT_EQ(form.ActionFile(), file);
}

TEST_F(AdvancedDialogsTest, OkSearchesWindowsSystemAndProgramFoldersInOrder) {
    TForm6 form(nullptr);
    const std::string base = os::TempFolder() + "brevalo_search";
    CreateDirectoryW(base::Widen(base).c_str(), nullptr);
    for (const char* sub : {"\\win", "\\sys", "\\prog"})
        CreateDirectoryW(base::Widen(base + sub).c_str(), nullptr);
    // Blanks around the folders are trimmed; a missing backslash is added.
    form.SearchFolders = {"  " + base + "\\win ", base + "\\sys\\", base + "\\prog"};

    MakeFile(base + "\\prog", "both.exe");
    const std::string inSystem = MakeFile(base + "\\sys", "both.exe");
    form.LabeledEdit1->SetText("both.exe");
    form.Button4Click();
    EXPECT_EQ(form.ModalResult(), controls::mrOk);
    EXPECT_EQ(form.ActionFile(), inSystem) << "the system folder comes before the program's";

    const std::string inWindows = MakeFile(base + "\\win", "both.exe");
    form.SetModalResult(controls::mrNone);
    form.LabeledEdit1->SetText("both.exe");
    form.Button4Click();
    EXPECT_EQ(form.ActionFile(), inWindows);

    const std::string inProgram = MakeFile(base + "\\prog", "only.exe");
    form.SetModalResult(controls::mrNone);
    form.LabeledEdit1->SetText("only.exe");
    form.Button4Click();
    EXPECT_EQ(form.ActionFile(), inProgram);
    EXPECT_TRUE(seenBoxes.empty());
}

TEST_F(AdvancedDialogsTest, OkFindsAFileOfTheRealWindowsFolder) {
    TForm6 form(nullptr);
    const std::string inWindows =
        MakeFile(ActionSearchFolders::System().windows, "brevalo_probe.txt");
    form.LabeledEdit1->SetText("brevalo_probe.txt");
    form.Button4Click();
    EXPECT_EQ(form.ModalResult(), controls::mrOk);
    EXPECT_EQ(form.ActionFile(), inWindows);
}

TEST_F(AdvancedDialogsTest, OkReportsAMissingFileOrAFolderAndStaysOpen) {
    TForm6 form(nullptr);
    form.LabeledEdit1->SetText("no_such_program.exe");
    form.Button4Click();
    EXPECT_EQ(form.ModalResult(), controls::mrNone);
    EXPECT_EQ(form.ActionFile(), "no_such_program.exe");
    ASSERT_EQ(seenBoxes.size(), 1u);
    EXPECT_EQ(seenBoxes[0].caption, "Error");
    EXPECT_EQ(seenBoxes[0].text, "Action file no_such_program.exe cannot be found.");

    const std::string folder = ActionSearchFolders::System().windows;
    form.LabeledEdit1->SetText(folder);
    form.Button4Click();
    EXPECT_EQ(form.ModalResult(), controls::mrNone);
    ASSERT_EQ(seenBoxes.size(), 2u);
    EXPECT_EQ(seenBoxes[1].text, "Action file " + folder + " cannot be found.");
}

TEST_F(AdvancedDialogsTest, OptionsButtonFoldsTheListOutAndIn) {
    TForm6 form(nullptr);
    auto height = [&] {
        const RECT r = form.BoundsPixels();
        return r.bottom - r.top;
    };
    EXPECT_FALSE(form.Unfolded());
    EXPECT_EQ(height(), form.Scale(229));
    ASSERT_TRUE(form.Button2->Enabled()) << "the system folder has shutdown.exe";
    Click(form.Button2->Handle());
    EXPECT_TRUE(form.Unfolded());
    EXPECT_EQ(height(), form.Scale(449));
    EXPECT_EQ(gui::WithoutMnemonic(form.Button2->Text()), "Options <<");
    Click(form.Button2->Handle());
    EXPECT_FALSE(form.Unfolded());
    EXPECT_EQ(height(), form.Scale(229));
    EXPECT_EQ(gui::WithoutMnemonic(form.Button2->Text()), "Options >>");
}

TEST_F(AdvancedDialogsTest, ListHoldsTheThreeActionsInOneFullWidthColumn) {
    TForm6 form(nullptr);
    ASSERT_EQ(form.ListView1->Count(), 3);
    EXPECT_EQ(form.ListView1->ItemText(0), "Restart the computer");
    EXPECT_EQ(form.ListView1->ItemText(1), "Shutdown the computer");
    EXPECT_EQ(form.ListView1->ItemText(2), "Logoff user");
    RECT client{};
    GetClientRect(form.ListView1->Handle(), &client);
    EXPECT_GE(form.ListView1->ColumnWidth(), client.right - 4);
    const HIMAGELIST images = ListView_GetImageList(form.ListView1->Handle(), LVSIL_SMALL);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 3);
}

TEST_F(AdvancedDialogsTest, DoubleClickOnShutdownFillsTheFieldsAndFoldsIn) {
    TForm6 form(nullptr);
    form.Show(SW_SHOWNA);
    form.LabeledEdit3->SetText("print");
    Click(form.Button2->Handle());
    ASSERT_TRUE(form.Unfolded());

    // Without a selection the double-click does nothing.
    form.ListView1->SetSelectedIndex(-1);
    SendMessageW(form.ListView1->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 150));
    EXPECT_EQ(form.ActionFile(), "");
    EXPECT_TRUE(form.Unfolded());

    form.ListView1->SetSelectedIndex(1);
    RECT row{};
    ListView_GetItemRect(form.ListView1->Handle(), 1, &row, LVIR_BOUNDS);
    SendMessageW(form.ListView1->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM(row.left + 40, (row.top + row.bottom) / 2));
    const std::string system = FolderWithBackslash(ActionSearchFolders::System().system);
    EXPECT_EQ(form.ActionFile(), system + "shutdown.exe");
    EXPECT_EQ(form.ActionParams(), "/p");
    EXPECT_EQ(form.ActionVerb(), "open");
    EXPECT_FALSE(form.Unfolded());
}

TEST_F(AdvancedDialogsTest, VerbRefusesBlanksAndClearEmptiesEverything) {
    TForm6 form(nullptr);
    const HWND verb = form.LabeledEdit3->EditBox.Handle();
    SendMessageW(verb, EM_SETSEL, 4, 4);
    for (wchar_t c : std::wstring(L" x y"))
        SendMessageW(verb, WM_CHAR, c, 0);
    EXPECT_EQ(form.ActionVerb(), "openxy");

    form.LabeledEdit1->SetText("C:\\a.exe");
    form.LabeledEdit2->SetText("-x");
    form.Show(SW_SHOW);
    Click(form.Button5->Handle());
    EXPECT_EQ(form.ActionFile(), "");
    EXPECT_EQ(form.ActionParams(), "");
    EXPECT_EQ(form.ActionVerb(), "");
    EXPECT_EQ(GetFocus(), form.LabeledEdit1->EditBox.Handle());
}

TEST(FolderWithBackslash, TrimsBlanksAndEndsInOneBackslash) {
    EXPECT_EQ(FolderWithBackslash(" C:\\windows "), "C:\\windows\\");
    EXPECT_EQ(FolderWithBackslash("C:\\windows\\"), "C:\\windows\\");
    EXPECT_EQ(FolderWithBackslash(""), "\\");
}

// --- Main dialog -----------------------------------------------------------------

TEST_F(AdvancedDialogsTest, MainDialogPlacesItsControlsAndSizesItsWindow) {
    MakeAll();
    EXPECT_EQ(form4->Text(), "Create a timer");
    const RECT window = form4->BoundsPixels();
    EXPECT_EQ(window.right - window.left, form4->Scale(608));
    EXPECT_EQ(window.bottom - window.top, form4->Scale(472));
    ExpectBounds(form4->GroupBox1->Handle(), 18, 16, 273, 81);
    ExpectBounds(form4->DateTimePicker1->Handle(), 34, 64, 113, 21);
    ExpectBounds(form4->DateTimePicker2->Handle(), 162, 64, 113, 21);
    ExpectBounds(form4->RadioSeconds->Handle(), 458, 40, 89, 17);
    ExpectBounds(form4->LabeledEdit1->EditBox.Handle(), 66, 128, 217, 21);
    ExpectBounds(form4->GroupBox3->Handle(), 18, 168, 561, 89);
    ExpectBounds(form4->DoneElectronic->Handle(), 389, 232, 90, 17);
    ExpectBounds(form4->GroupBox6->Handle(), 402, 272, 177, 97);
    ExpectBounds(form4->ButtonHelp->Handle(), 16, 392, 70, 25);
    ExpectBounds(form4->ButtonAdvanced->Handle(), 498, 392, 78, 25);
    EXPECT_EQ(form4->LabeledEdit1->Text(), "Timer");
    EXPECT_EQ(form4->SpinEdit1.Value(), 0);
    EXPECT_TRUE(form4->RadioMinutes->Checked());
    EXPECT_TRUE(form4->DoneStandard->Checked());
    EXPECT_TRUE(form4->ButtonOK->IsDefault());
    const LONG style = GetWindowLongW(form4->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(AdvancedDialogsTest, MainDialogTabOrder) {
    MakeAll();
    form4->Show(SW_SHOW);
    std::vector<HWND> expected{form4->DateTimePicker1->Handle(), form4->DateTimePicker2->Handle(),
                               form4->SpinEdit1.Handle(), form4->RadioMinutes->Handle(),
                               form4->LabeledEdit1->EditBox.Handle()};
    HWND at = form4->DateTimePicker1->Handle();
    for (std::size_t i = 1; i < expected.size(); ++i) {
        at = GetNextDlgTabItem(form4->Handle(), at, FALSE);
        EXPECT_EQ(at, expected[i]) << "step " << i;
    }
    // The button row: OK, Cancel, Action, Advanced, Help.
    at = form4->ButtonOK->Handle();
    for (HWND next : {form4->ButtonCancel->Handle(), form4->ButtonAction->Handle(),
                      form4->ButtonAdvanced->Handle(), form4->ButtonHelp->Handle()}) {
        at = GetNextDlgTabItem(form4->Handle(), at, FALSE);
        EXPECT_EQ(at, next);
    }
}

TEST_F(AdvancedDialogsTest, WithoutASoundDeviceNoSoundCanBeChosen) {
    MakeAll({0, 6, 1});
    EXPECT_TRUE(form4->TickNone->Checked());
    EXPECT_TRUE(form4->DoneNone->Checked());
    EXPECT_FALSE(form4->GroupBox3->Enabled());
    for (auto* r : {form4->TickNone.get(), form4->TickElectronic.get(), form4->DoneStandard.get()})
        EXPECT_FALSE(r->Enabled());
    EXPECT_NE(form4->BuildSwitches(AdvancedVariant::Clipboard).find(" /s0"), std::string::npos);

    MakeAll({2, 6, 1});
    EXPECT_TRUE(form4->GroupBox3->Enabled());
    EXPECT_TRUE(form4->DoneStandard->Checked());
    EXPECT_EQ(form4->BuildSwitches(AdvancedVariant::Clipboard).find(" /s"), std::string::npos);
}

TEST_F(AdvancedDialogsTest, IconsOfTheLayoutOnlyOnXpAndVersionSix) {
    EXPECT_TRUE(UsesLayoutIcons(5, 1));
    EXPECT_TRUE(UsesLayoutIcons(6, 0));
    EXPECT_TRUE(UsesLayoutIcons(6, 3));
    EXPECT_FALSE(UsesLayoutIcons(5, 0));
    EXPECT_FALSE(UsesLayoutIcons(5, 2));
    EXPECT_FALSE(UsesLayoutIcons(10, 0));
    MakeAll({1, 10, 0});
    EXPECT_FALSE(form4->UsingLayoutIcons());
    ASSERT_NE(form4->Image2->Icon(), nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(form4->Image2->Icon(), &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 48);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(AdvancedDialogsTest, ControlReactions) {
    MakeAll();
    form4->Show(SW_SHOW);
    // A negative interval goes back to 0.
    form4->SpinEdit1.SetText("-5");
    EXPECT_EQ(form4->SpinEdit1.Text(), "0");
    // Changing the time picker resets a typed interval.
    form4->SpinEdit1.SetValue(25);
    SetFocus(form4->DateTimePicker2->Handle());
    SendMessageW(form4->DateTimePicker2->Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageW(form4->DateTimePicker2->Handle(), WM_KEYUP, VK_UP, 0);
    EXPECT_EQ(form4->SpinEdit1.Value(), 0);
    EXPECT_EQ(form4->BuildSwitches(AdvancedVariant::Clipboard).rfind("/t\"", 0), 0u);
    // Full screen disables the border radios but keeps their choice.
    Click(form4->BorderHide->Handle());
    Click(form4->ScreenFull->Handle());
    EXPECT_FALSE(form4->BorderShow->Enabled());
    EXPECT_FALSE(form4->BorderHide->Enabled());
    EXPECT_NE(form4->BuildSwitches(AdvancedVariant::Clipboard).find(" /w1 /g"), std::string::npos);
    Click(form4->ScreenNormal->Handle());
    EXPECT_TRUE(form4->BorderShow->Enabled());
    EXPECT_TRUE(form4->BorderHide->Checked());
}

TEST_F(AdvancedDialogsTest, OkLoadsTheStoredOptionsAndLaunchesTheWorkedExamples) {
    MakeAll();
    form4->Show(SW_SHOW);
    form4->SpinEdit1.SetValue(30);
    form4->LabeledEdit1->SetText("Tea");
    form4->ButtonOK->Click();
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], "/t30 /c\"Tea\" /f0080FF /b000000");
    EXPECT_EQ(launchVerb, "Open");
    Pump();
    EXPECT_FALSE(IsWindow(form4->Handle())) << "OK closes the dialog";

    MakeAll();
    AdvancedOptions stored;
    stored.SetChk(2, true);
    stored.SetChk(7, true);
    os::Settings().WriteAdvancedOptions(stored);
    form4->SpinEdit1.SetValue(30);
    Click(form4->RadioSeconds->Handle());
    Click(form4->TickElectronic->Handle());
    Click(form4->DoneNone->Handle());
    Click(form4->CloseNever->Handle());
    form6->LabeledEdit1->SetText("C:\\a.exe");
    form6->LabeledEdit2->SetText("-x");
    form6->LabeledEdit3->SetText("print");
    EXPECT_EQ(form4->BuildSwitches(AdvancedVariant::Clipboard),
              "/q30 /f0080FF /b000000 /e2 /s0 /x1 /a\"C:\\a.exe\"|-x")
        << "the options dialog's boxes are still clear";
    form4->OKClick();
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], "/q30 /f0080FF /b000000 /e2 /s0 /x1 /r /u /a\"C:\\a.exe\"|-x /$print");
}

TEST_F(AdvancedDialogsTest, FailedLaunchKeepsTheDialogOpen) {
    MakeAll();
    form4->Launch = [](HWND, const std::string&, const std::string&) {
        throw std::runtime_error("cannot start");
    };
    EXPECT_THROW(form4->OKClick(), std::runtime_error);
    Pump();
    EXPECT_TRUE(IsWindow(form4->Handle()));
}

TEST_F(AdvancedDialogsTest, AdvancedLoadsShowsAndSavesTheOptions) {
    MakeAll();
    AdvancedOptions stored;
    stored.SetChk(5, true);
    os::Settings().WriteAdvancedOptions(stored);
    bool sawLoaded = false;
    whileModal = [&] {
        sawLoaded = form5->CheckBox(5).Checked() && IsWindowVisible(form5->Handle());
        Click(form5->CheckBox(2).Handle());
        Click(form5->CheckBox(3).Handle());
        PostMessageW(form5->Handle(), WM_CLOSE, 0, 0); // the close box saves as well
        return true;
    };
    form4->AdvancedClick();
    EXPECT_TRUE(sawLoaded);
    const AdvancedOptions saved = os::Settings().ReadAdvancedOptions();
    EXPECT_TRUE(saved.Chk(2));
    EXPECT_TRUE(saved.Chk(3));
    EXPECT_TRUE(saved.Chk(5));
    EXPECT_FALSE(saved.Chk(1));
    EXPECT_EQ(form4->BuildSwitches(AdvancedVariant::Clipboard).find(" /h /d /r"),
              form4->BuildSwitches(AdvancedVariant::Clipboard).find(" /h"));
}

TEST_F(AdvancedDialogsTest, CopyCommandLinePutsNameAndSwitchesOnTheClipboard) {
    MakeAll();
    AdvancedOptions stored;
    stored.SetChk(1, true);
    os::Settings().WriteAdvancedOptions(stored);
    form4->SpinEdit1.SetValue(5);
    SendMessageW(form4->Handle(), WM_SYSCOMMAND, CopyCommandLineCommand, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::string text = data ? base::Narrow(static_cast<const wchar_t*>(GlobalLock(data))) : "";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(text, "advanced_dialogs_test.exe /t5 /f0080FF /b000000")
        << "no stored option before Advanced or OK was used";
    ASSERT_EQ(seenBoxes.size(), 1u);
    EXPECT_EQ(seenBoxes[0].caption, "Information");
    EXPECT_EQ(seenBoxes[0].text, "Command line copied to the clipboard.");

    SendMessageW(form4->Handle(), WM_SYSCOMMAND, AboutCommand, 0);
    ASSERT_EQ(seenBoxes.size(), 2u);
    EXPECT_EQ(seenBoxes[1].text.rfind("Brevalo\n\r\n\rV 1.0.0.00\n\r", 0), 0u);
}

TEST_F(AdvancedDialogsTest, SystemMenuEndsWithCopyAndAbout) {
    MakeAll();
    HMENU menu = GetSystemMenu(form4->Handle(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 3);
    EXPECT_EQ(GetMenuItemID(menu, count - 2), CopyCommandLineCommand);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), AboutCommand);
    EXPECT_EQ(GetMenuState(menu, count - 3, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    wchar_t text[64] = {};
    GetMenuStringW(menu, count - 2, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"Copy command line");
}

HWND FindOwnDialog(const wchar_t* caption) {
    HWND hwnd = FindWindowW(L"#32770", caption);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return hwnd && pid == GetCurrentProcessId() && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

TEST_F(AdvancedDialogsTest, BrowseFillsTheProgramFieldFromTheFileDialog) {
    TForm6 form(nullptr);
    form.Show(SW_SHOW);
    const std::string file = MakeFile(os::TempFolder(), "brevalo_browse.txt");
    std::wstring okCaption;
    whileModal = [&] {
        HWND dialog = FindOwnDialog(L"Select file");
        if (!dialog)
            return false;
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog, IDOK, text, 64);
        okCaption = text;
        SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, LPARAM(base::Widen(file).c_str()));
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        return true;
    };
    form.Button1Click();
    EXPECT_EQ(okCaption, L"&Select");
    EXPECT_EQ(form.ActionFile(), file);
}

TEST_F(AdvancedDialogsTest, ActionShowsTheDialogModallyAndKeepsItsFields) {
    MakeAll();
    form4->Show(SW_SHOW);
    bool shown = false;
    whileModal = [&] {
        if (!IsWindowVisible(form6->Handle()))
            return false;
        shown = form6->Modal() && !IsWindowEnabled(form4->Handle());
        form6->LabeledEdit1->SetText("C:\\missing.exe");
        PostMessageW(form6->Handle(), WM_CLOSE, 0, 0); // the close box: no check
        return true;
    };
    form4->ActionClick();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(seenBoxes.empty());
    EXPECT_TRUE(IsWindowEnabled(form4->Handle()));
    EXPECT_NE(form4->BuildSwitches(AdvancedVariant::Launch).find(" /a\"C:\\missing.exe\""),
              std::string::npos);
}

TEST_F(AdvancedDialogsTest, EnterLaunchesAndEscCloses) {
    MakeAll();
    form4->Show(SW_SHOW);
    SetFocus(form4->LabeledEdit1->EditBox.Handle());
    MSG enter{form4->LabeledEdit1->EditBox.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(form4->PreTranslateMessage(enter));
    EXPECT_EQ(launched.size(), 1u);

    MakeAll();
    form4->Show(SW_SHOW);
    SetFocus(form4->SpinEdit1.Handle());
    MSG esc{form4->SpinEdit1.Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(form4->PreTranslateMessage(esc));
    Pump();
    EXPECT_FALSE(IsWindow(form4->Handle()));
    EXPECT_TRUE(launched.empty());
}

} // namespace
} // namespace brevalo

namespace brevalo {
namespace {

// Not a check: shows each dialog in turn for scripts/advanced-screens.sh,
// which photographs the screen whenever a stage file appears in the folder
// named by BREVALO_SHOT_DIR and removes it when done. Run it with
// --gtest_also_run_disabled_tests --gtest_filter=*Showcase*.
void WaitForShot(const std::string& stage) {
    const char* folder = std::getenv("BREVALO_SHOT_DIR");
    if (!folder)
        return;
    const std::string path = std::string(folder) + "\\" + stage;
    std::ofstream(path.c_str()) << stage;
    for (int i = 0; i < 300 && os::FileExists(path); ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(50);
    }
}

TEST(AdvancedShowcase, DISABLED_Showcase) {
    gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    TForm4 form4;
    form4.FormCreate({1, 6, 1});
    TForm5 form5(form4.Handle());
    TForm6 form6(form4.Handle());
    form4.SetCompanions(&form5, &form6);
    form4.Show(SW_SHOW);
    WaitForShot("main");
    form4.ColorButton1.DropDown();
    WaitForShot("palette");
    SendMessageW(form4.Handle(), WM_CANCELMODE, 0, 0);
    form4.ColorButton1.Palette().Hide();
    form5.Show(SW_SHOW);
    WaitForShot("options");
    form5.Show(SW_HIDE);
    form6.Show(SW_SHOW);
    WaitForShot("action");
    form6.Button2Click();
    WaitForShot("action-unfolded");
}

} // namespace
} // namespace brevalo
