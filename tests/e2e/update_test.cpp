// The update check of a starting timer against a web server of the test's
// own on 127.0.0.1 (named through BREVALO_VENDOR_URL): the question for a
// newer version, silence otherwise, no request when switched off, no
// downloaded file left behind, and digits that go on while the server is
// slow to answer.
#include "Driver.h"
#include "Files.h"
#include "Strings.h"
#include "TestHttpServer.h"
#include "UpdateCheck.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace brevalo::e2e {
namespace {

class UpdateCheckE2e : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", base::Widen(server.Url()).c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", nullptr); }

    // Each timer downloads into a file of its own, named after its process;
    // it is there until the check is over.
    static bool UpdateFileLeft(const Process& timer) {
        return os::FileExists(os::TempFolder() + "bvupd" + std::to_string(timer.Id()) + ".upd");
    }

    // Starts a timer and waits until its check has had the time to run.
    Process StartAndSettle(const std::wstring& switches) {
        Process timer = Process::Start(switches);
        EXPECT_TRUE(WaitForWindow(timer.Id(), IsTimerWindow));
        return timer;
    }

    testsupport::TestServer server;
};

TEST_F(UpdateCheckE2e, ANewerVersionAsksTheQuestionAndLeavesNoFile) {
    server.Answer("3\r\n");
    Process timer = StartAndSettle(L"/q300 /cTea");
    auto box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box);
    EXPECT_TRUE(UpdateFileLeft(timer)) << "no file of the timer's own while it asks";
    EXPECT_EQ(base::Narrow(MessageBoxText(box->hwnd)), kUpdateQuestion);
    EXPECT_EQ(ButtonCaptions(box->hwnd), (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(ClickButton(box->hwnd, L"No"));
    EXPECT_EQ(server.Paths(), std::vector<std::string>{"/bvver.txt"});
    Sleep(500);
    EXPECT_FALSE(UpdateFileLeft(timer));
    EXPECT_TRUE(timer.Running());
}

TEST_F(UpdateCheckE2e, TheSameVersionLettersOrNothingAskNothing) {
    for (const char* body : {"2\r\n", "abc\r\n", ""}) {
        server.Answer(body);
        const std::size_t before = server.Paths().size();
        Process timer = StartAndSettle(L"/q300");
        EXPECT_FALSE(WaitForMessageBox(timer.Id(), 3s)) << body;
        EXPECT_EQ(server.Paths().size(), before + 1) << body;
        EXPECT_FALSE(UpdateFileLeft(timer)) << body;
    }
}

TEST_F(UpdateCheckE2e, TheDigitsGoOnWhileASlowServerHoldsBackItsAnswer) {
    server.Answer("3\r\n", 200, 30s);
    Process timer = Process::Start(L"/q300 /cTea");
    auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    ASSERT_TRUE(window);
    // Minimized, the caption carries the remaining time, and GetWindowTextW
    // reads another program's caption without waiting for its thread.
    PostMessageW(window->hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    const auto asked = std::chrono::steady_clock::now() + 15s;
    while (server.Paths().empty() && std::chrono::steady_clock::now() < asked)
        Sleep(50);
    ASSERT_EQ(server.Paths(), std::vector<std::string>{"/bvver.txt"});

    std::set<std::wstring> captions;
    for (int i = 0; i < 24; ++i) {
        wchar_t caption[64] = {};
        GetWindowTextW(window->hwnd, caption, 64);
        captions.insert(caption);
        Sleep(250);
    }
    // Six seconds of a waiting check: at least five different times shown.
    EXPECT_GE(captions.size(), 5u) << base::Narrow(*captions.begin());
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 10ms)) << "asked before the answer came";
}

TEST_F(UpdateCheckE2e, TheSwitchMakesNoRequest) {
    server.Answer("3\r\n");
    Process timer = StartAndSettle(L"/q300 /u");
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 3s));
    EXPECT_TRUE(server.Paths().empty());
}

TEST_F(UpdateCheckE2e, TheStoredPreferenceOffMakesNoRequest) {
    wchar_t data[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, data, CSIDL_COMMON_APPDATA, FALSE));
    const std::wstring folder = std::wstring(data) + L"\\Orsenic Software\\Velloro";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    ASSERT_TRUE(WritePrivateProfileStringW(L"Settings", L"CheckForUpdates", L"0",
                                           (folder + L"\\settings.ini").c_str()));
    server.Answer("3\r\n");
    Process timer = StartAndSettle(L"/q300");
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 3s));
    EXPECT_TRUE(server.Paths().empty());
}

} // namespace
} // namespace brevalo::e2e
