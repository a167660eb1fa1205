// The advanced front end from the outside: started without arguments with
// "WizardMode" = 0 it opens "Create a timer"; "Copy command line" puts the
// program's file name and the switches on the clipboard; OK starts a timer
// process with the same switches and ends.
#include "Driver.h"
#include "Inspect.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

namespace brevalo::e2e {
namespace {

constexpr WPARAM CopyCommandLine = 4856;

struct ChildSearch {
    std::wstring caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (WindowText(hwnd) == search->caption) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND Child(HWND parent, const std::wstring& caption) {
    ChildSearch search{caption};
    EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class AdvancedFrontEnd : public ::testing::Test {
protected:
    void SetUp() override { WriteDword(HKEY_CURRENT_USER, BrevaloKeyPath, L"WizardMode", 0); }
};

TEST_F(AdvancedFrontEnd, CopyCommandLineThenOkLaunchesTheSameSwitches) {
    Process front = Process::Start(L"");
    auto dialog = WaitForWindow(front.Id(), IsCreateDialog);
    ASSERT_TRUE(dialog) << "the advanced dialog did not open";

    PostMessageW(dialog->hwnd, WM_SYSCOMMAND, CopyCommandLine, 0);
    auto box = WaitForMessageBox(front.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Information");
    EXPECT_EQ(MessageBoxText(box->hwnd), L"Command line copied to the clipboard.");
    const auto copied = ClipboardText();
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));
    ASSERT_TRUE(copied);
    const std::wstring prefix = L"Brevalo.exe /t\"";
    ASSERT_EQ(copied->rfind(prefix, 0), 0u) << base::Narrow(*copied);
    // Without a sound device (as in a bare test prefix) no completion sound
    // can be chosen, which the string says with " /s0".
    const std::wstring tail =
        std::wstring(L"\" /f0080FF /b000000") + (waveOutGetNumDevs() == 0 ? L" /s0" : L"");
    ASSERT_GE(copied->size(), tail.size());
    EXPECT_EQ(copied->substr(copied->size() - tail.size()), tail);
    const std::wstring switches = copied->substr(std::wstring(L"Brevalo.exe ").size());

    // OK with the defaults: a timer process whose parameters are the switches.
    const HWND ok = Child(dialog->hwnd, L"OK");
    ASSERT_NE(ok, nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    DWORD timerId = 0;
    const HWND timer = WaitForOtherProcessWindow(L"TForm1", front.Id(), timerId, 20s);
    ASSERT_NE(timer, nullptr) << "no timer window appeared";
    const auto line = ProcessCommandLine(timerId);
    base::KernelHandle timerProcess(OpenProcess(PROCESS_TERMINATE, FALSE, timerId));
    ASSERT_TRUE(line);
    EXPECT_GE(line->size(), switches.size());
    EXPECT_EQ(line->substr(line->size() - switches.size()), switches) << base::Narrow(*line);
    EXPECT_NE(line->find(L"Brevalo.exe"), std::wstring::npos);
    EXPECT_EQ(WindowText(timer), L"Timer");
    EXPECT_TRUE(front.WaitForExit(15s)) << "the front end ends after OK";
    if (timerProcess)
        TerminateProcess(timerProcess.Get(), 0);
}

TEST_F(AdvancedFrontEnd, CancelEndsTheProgram) {
    Process front = Process::Start(L"");
    auto dialog = WaitForWindow(front.Id(), IsCreateDialog);
    ASSERT_TRUE(dialog);
    const HWND cancel = Child(dialog->hwnd, L"Cancel");
    ASSERT_NE(cancel, nullptr);
    PostMessageW(cancel, BM_CLICK, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(front.WaitForExit(15s, &code));
    EXPECT_EQ(code, 0u);
}

} // namespace
} // namespace brevalo::e2e
