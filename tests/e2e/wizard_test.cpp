// The wizard driven from outside as a user drives it: the timer it starts,
// the refusal of a past end point, the finished page's clipboard copy and
// desktop shortcut, and the switch to advanced mode.
#include "Driver.h"
#include "Strings.h"
#include "WizardDriver.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace brevalo::e2e {
namespace {

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
    return TRUE;
}

bool SetClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool set = false;
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!set)
            GlobalFree(memory);
    }
    CloseClipboard();
    return set;
}

const std::wstring TeaSwitches = L"/q300 /c\"Tea\" /f0080FF /b000000 /s1 /e0 /w0";

class Wizard : public ::testing::Test {
protected:
    // Starts the program without arguments and closes the tip window that the
    // wizard shows at its first idle moment.
    void Open() {
        program = Process::Start(L"");
        auto form = WaitForClass(program.Id(), L"TForm8");
        ASSERT_TRUE(form) << "the wizard did not open";
        window = form->hwnd;
        EXPECT_EQ(form->caption, L"Brevalo Wizard");
        auto tip = WaitForClass(program.Id(), L"TTipDialogForm");
        ASSERT_TRUE(tip) << "no tip of the day";
        ASSERT_TRUE(PressButton(tip->hwnd, L"Close"));
        for (int i = 0; i < 50 && IsWindowVisible(tip->hwnd); ++i)
            std::this_thread::sleep_for(100ms);
        Settle(window);
    }

    void Press(const std::wstring& caption) {
        ASSERT_TRUE(PressButton(window, caption)) << "no button " << base::Narrow(caption);
        Settle(window);
    }

    HWND Edit(std::size_t index) {
        auto edits = VisibleChildren(window, L"Edit");
        return index < edits.size() ? edits[index] : nullptr;
    }

    // Name Tea (or the name typed key by key, or pasted from the clipboard),
    // "By length of time", 5 minutes, then Next through the defaults to the
    // "Finished" page.
    enum class Entry { Typed, Pasted };
    void TeaToFinishedPage(const std::wstring& name = L"", Entry entry = Entry::Typed) {
        Open();
        ASSERT_TRUE(Edit(0));
        SendMessageW(Edit(0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.empty() ? L"Tea" : L""));
        if (!name.empty() && entry == Entry::Typed) {
            TypeText(Edit(0), name);
            // The keys are posted: on a busy machine the wizard may take a
            // while to read them all, and the name edit keeps 100.
            const LRESULT wanted = LRESULT(std::min<std::size_t>(name.size(), 100));
            for (int i = 0; i < 100 && SendMessageW(Edit(0), WM_GETTEXTLENGTH, 0, 0) < wanted; ++i)
                std::this_thread::sleep_for(100ms);
        }
        if (!name.empty() && entry == Entry::Pasted) {
            ASSERT_TRUE(SetClipboardText(name));
            SendMessageW(Edit(0), WM_PASTE, 0, 0);
        }
        Settle(window);
        Press(L"By length of time");
        Press(L"Next >");
        ASSERT_EQ(VisibleChildren(window, L"Edit").size(), 4u) << "not on the length page";
        SendMessageW(Edit(2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5"));
        for (int page = 0; page < 6; ++page)
            Press(L"Next >");
        ASSERT_TRUE(FindVisible(window, L"Button", L"Copy command line to clipboard"))
            << "not on the finished page: " << Describe();
    }

    // The captions of the visible controls and any message box, for failures.
    std::string Describe() {
        std::string text;
        for (HWND child : VisibleChildren(window))
            text.append("[").append(base::Narrow(WindowText(child))).append("]");
        if (auto box = WaitForMessageBox(program.Id(), 100ms))
            text.append(" box: ").append(base::Narrow(MessageBoxText(box->hwnd)));
        return text;
    }

    Process program;
    HWND window = nullptr;
};

TEST_F(Wizard, TeaForFiveMinutesStartsATimerWithTheBuiltSwitches) {
    TeaToFinishedPage();
    Press(L"Finish");
    DWORD timerId = 0;
    HWND timer = WaitForAnyWindow(L"TForm1", L"Tea", timerId);
    ASSERT_TRUE(timer) << "no timer window captioned Tea";
    const std::wstring commandLine = ProcessCommandLine(timerId).value_or(L"");
    EndProcess(timerId);
    ASSERT_GE(commandLine.size(), TeaSwitches.size());
    EXPECT_EQ(commandLine.substr(commandLine.size() - TeaSwitches.size()), TeaSwitches)
        << base::Narrow(commandLine);
    EXPECT_TRUE(program.WaitForExit(10s)) << "the wizard stayed open";
}

TEST_F(Wizard, TheNameKeepsAHundredOfTheCharactersTypedAndTheTimerShowsThem) {
    std::wstring typed;
    for (int i = 0; i < 101; ++i)
        typed += wchar_t(L'a' + i % 26);
    TeaToFinishedPage(typed);
    Press(L"Finish");
    DWORD timerId = 0;
    HWND timer = WaitForAnyWindow(L"TForm1", typed.substr(0, 100), timerId);
    EXPECT_TRUE(timer) << "no timer window captioned with the first 100 characters";
    if (timerId)
        EndProcess(timerId);
}

TEST_F(Wizard, DatePathRefusesAMomentAlreadyPast) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    // The picker starts an hour ahead; two steps down on its hour field give
    // an hour ago, unless the 12-hour clock or the date wraps on the way.
    const int hour12 = (now.wHour + 1) % 12;
    if (hour12 < 3 || now.wHour >= 22 || now.wMinute >= 58)
        GTEST_SKIP() << "too close to a wrap of the hour field";
    Open();
    Press(L"By a specific known date and time ");
    Press(L"Next >");
    auto pickers = VisibleChildren(window, L"SysDateTimePick32");
    ASSERT_EQ(pickers.size(), 2u);
    // A click on the hour selects it.
    PostMessageW(pickers[1], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 10));
    PostMessageW(pickers[1], WM_LBUTTONUP, 0, MAKELPARAM(6, 10));
    for (int i = 0; i < 2; ++i) {
        PostMessageW(pickers[1], WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(pickers[1], WM_KEYUP, VK_DOWN, 0);
    }
    Settle(window);
    ASSERT_TRUE(PressButton(window, L"Next >"));
    auto box = WaitForMessageBox(program.Id());
    ASSERT_TRUE(box) << Describe();
    EXPECT_EQ(box->caption, L"Error");
    EXPECT_EQ(MessageBoxText(box->hwnd),
              L"The proposed date and time has already expired. Change the settings to continue.");
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));
    Settle(window);
    // Still on the date page.
    EXPECT_EQ(VisibleChildren(window, L"SysDateTimePick32").size(), 2u);
}

TEST_F(Wizard, FinishedPageCopiesTheFullPathCommandLine) {
    TeaToFinishedPage();
    ASSERT_TRUE(PressButton(window, L"Copy command line to clipboard"));
    auto box = WaitForMessageBox(program.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Information");
    EXPECT_EQ(MessageBoxText(box->hwnd), L"Command line copied to the clipboard.");
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));
    Settle(window);
    std::wstring text;
    ASSERT_TRUE(OpenClipboard(nullptr));
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    EXPECT_EQ(text, ProgramPath() + L" " + TeaSwitches);
}

struct Link {
    bool found = false;
    std::wstring arguments, description, target;
};

// The shortcut of that file name on the desktop, as the shell reads it.
Link DesktopLink(const std::wstring& fileName) {
    Link link;
    wchar_t desktop[MAX_PATH]{};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)))
        return link;
    const std::wstring path = std::wstring(desktop) + L"\\" + fileName;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return link;
    CoInitialize(nullptr);
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        wchar_t arguments[1024]{}, description[1024]{}, target[MAX_PATH]{};
        shellLink->GetArguments(arguments, 1024);
        shellLink->GetDescription(description, 1024);
        shellLink->GetPath(target, MAX_PATH, nullptr, 0);
        link = {true, arguments, description, target};
    }
    if (file)
        file->Release();
    if (shellLink)
        shellLink->Release();
    CoUninitialize();
    return link;
}

TEST_F(Wizard, DesktopShortcutCarriesTheShortcutSwitches) {
    TeaToFinishedPage();
    Press(L"Create a desktop shortcut");
    EXPECT_FALSE(WaitForMessageBox(program.Id(), 1s)) << "the shortcut is made without a message";

    const Link link = DesktopLink(L"Tea.lnk");
    ASSERT_TRUE(link.found);
    EXPECT_EQ(link.arguments, TeaSwitches);
    EXPECT_EQ(link.description, L"Brevalo (Tea)");
    EXPECT_EQ(_wcsicmp(link.target.c_str(), ProgramPath().c_str()), 0) << base::Narrow(link.target);
}

TEST_F(Wizard, ANameWithCharactersNoFileNameHoldsStillGivesADesktopShortcut) {
    // Typing refuses these characters; a pasted name keeps them.
    TeaToFinishedPage(L"a/b:c", Entry::Pasted);
    Press(L"Create a desktop shortcut");
    EXPECT_FALSE(WaitForMessageBox(program.Id(), 1s)) << Describe();

    // The name keeps its characters everywhere but in the file name.
    const Link link = DesktopLink(L"a b c.lnk");
    ASSERT_TRUE(link.found) << "no shortcut a b c.lnk on the desktop";
    EXPECT_EQ(link.description, L"Brevalo (a/b:c)");
    EXPECT_NE(link.arguments.find(L"/c\"a/b:c\""), std::wstring::npos) << base::Narrow(link.arguments);
}

TEST_F(Wizard, SwitchToAdvancedModeStoresTheModeAndStartsTheAdvancedDialog) {
    Open();
    // The link "Switch to Advanced mode" on the first page.
    HWND page = GetParent(Edit(0));
    const LPARAM at = MAKELPARAM(30, 318);
    PostMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(page, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(program.WaitForExit(15s)) << "the wizard stayed open";

    DWORD mode = 99, size = sizeof mode;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orsenic Software\\Brevalo", L"WizardMode",
                           RRF_RT_REG_DWORD, nullptr, &mode, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(mode, 0u);

    // A new copy of the program opens a window that is not the wizard.
    std::optional<DWORD> started;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!started && std::chrono::steady_clock::now() < deadline) {
        std::vector<HWND> all;
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
        for (HWND hwnd : all) {
            DWORD id = 0;
            GetWindowThreadProcessId(hwnd, &id);
            wchar_t name[64]{};
            GetClassNameW(hwnd, name, 64);
            if (id != program.Id() && id != GetCurrentProcessId() && IsWindowVisible(hwnd) &&
                std::wstring(name) != L"TForm8" &&
                ProcessCommandLine(id).value_or(L"").find(L"Brevalo.exe") != std::wstring::npos)
                started = id;
        }
        std::this_thread::sleep_for(200ms);
    }
    ASSERT_TRUE(started) << "no advanced dialog";
    EndProcess(*started);
}

} // namespace
} // namespace brevalo::e2e
