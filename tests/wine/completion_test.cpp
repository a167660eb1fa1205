// The completion sequence on a plain window with a recording host: the order
// of its effects, the flash that follows the broadcast and the action, and
// the window that stays open after a failed action or with /v.
#include "Application.h"
#include "Completion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace brevalo {
namespace {

class RecordingHost : public CompletionHost {
public:
    RecordingHost() {
        window_ = CreateWindowExW(0, L"STATIC", L"Timer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~RecordingHost() override {
        if (window_)
            DestroyWindow(window_);
    }

    HWND Window() override { return window_; }
    bool UserIsBusy() override { return busy; }
    void TakeForeground() override { log.push_back("foreground"); }
    void FlashTaskbarButton() override { log.push_back("flash button"); }
    void RemoveRunValue() override { log.push_back("remove run value"); }
    void BroadcastTimeUp() override { log.push_back("broadcast"); }
    void InvertColours() override { log.push_back("invert"); }
    void StartAction() override {
        log.push_back("action");
        if (failAction)
            throw std::runtime_error("The action could not be started");
    }
    void CloseWindow() override { log.push_back("close"); }
    void ReleaseScreenSaver() override { log.push_back("screen saver"); }

    int Count(const std::string& entry) const {
        return int(std::count(log.begin(), log.end(), entry));
    }
    std::ptrdiff_t First(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) - log.begin();
    }

    std::vector<std::string> log;
    bool failAction = false;
    bool busy = false;

private:
    HWND window_ = nullptr;
};

class CompletionTest : public ::testing::Test {
protected:
    void SetUp() override {
        gui::Application& app = gui::Application::Instance();
        app.Initialize(GetModuleHandleW(nullptr));
        app.SetExceptionHandler([this](std::exception_ptr error) {
            errors.push_back(gui::Application::ExceptionMessage(error));
        });
        // An action file that exists: the test program itself.
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        char narrow[MAX_PATH * 3];
        WideCharToMultiByte(CP_UTF8, 0, self, -1, narrow, sizeof narrow, nullptr, nullptr);
        programPath = narrow;
        settings.DoneSound.clear();
        settings.CloseMode = CloseMode::Refuse;
    }
    void TearDown() override { gui::Application::Instance().SetExceptionHandler(nullptr); }

    // Runs the sequence to its end: the flash runs on messages.
    static void RunToEnd(TCompletion& completion) {
        completion.Run();
        MSG msg;
        while (!completion.Done() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    void RunCompletion() {
        TCompletion completion(host, settings, gui::Application::Instance());
        RunToEnd(completion);
    }

    RecordingHost host;
    TimerSettings settings;
    std::string programPath;
    std::vector<std::string> errors;
};

TEST_F(CompletionTest, AnnouncesAndActsBeforeTheFlashThenCloses) {
    settings.ResumeAfterRestart = true;
    settings.ActionFile = programPath;
    ShowWindow(host.Window(), SW_MINIMIZE);
    RunCompletion();

    EXPECT_FALSE(IsIconic(host.Window()));
    ASSERT_EQ(host.Count("invert"), 8);
    EXPECT_LT(host.First("remove run value"), host.First("broadcast"));
    EXPECT_LT(host.First("broadcast"), host.First("action"));
    // The flash comes after the announcement and the action.
    EXPECT_LT(host.First("action"), host.First("invert"));
    EXPECT_EQ(host.log.back(), "close");
    EXPECT_EQ(settings.CloseMode, CloseMode::Ask);
    EXPECT_TRUE(errors.empty());
}

TEST_F(CompletionTest, AFailedActionIsReportedAndTheWindowStays) {
    settings.ActionFile = programPath;
    host.failAction = true;
    RunCompletion();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("could not be started"), std::string::npos);
    EXPECT_EQ(host.Count("invert"), 8);
    EXPECT_EQ(host.Count("close"), 0);
    EXPECT_EQ(host.Count("remove run value"), 0); // only with /r

    // An action file that vanished since the start fails the same way; an
    // action turned off from the menu (no file) is no action at all.
    struct Case {
        const char* file;
        bool fails;
    };
    for (const Case c : {Case{"C:\\no such file.exe", true}, Case{"", false}}) {
        RecordingHost second;
        errors.clear();
        settings.ActionFile = c.file;
        TCompletion completion(second, settings, gui::Application::Instance());
        RunToEnd(completion);
        EXPECT_EQ(second.Count("action"), 0);
        EXPECT_EQ(second.Count("broadcast"), 1);
        EXPECT_EQ(second.Count("close"), c.fails ? 0 : 1) << c.file;
        ASSERT_EQ(errors.size(), c.fails ? 1u : 0u) << c.file;
        if (c.fails) {
            EXPECT_EQ(errors[0], "Action file C:\\no such file.exe cannot be found.");
        }
    }
}

// A presentation or a full-screen program is not interrupted: the window is
// restored without being activated and its taskbar button flashes instead of
// the window taking the foreground (even without /i); the announcement and
// the close happen as usual. Otherwise /i alone keeps the foreground.
TEST_F(CompletionTest, ABusyUserIsNotInterruptedButToldOnTheTaskbar) {
    struct Case {
        bool busy, noBringToFront, foreground;
    };
    for (const Case c : {Case{true, false, false}, Case{false, false, true},
                         Case{false, true, false}}) {
        RecordingHost window;
        window.busy = c.busy;
        settings.NoBringToFront = c.noBringToFront;
        ShowWindow(window.Window(), SW_MINIMIZE);
        TCompletion completion(window, settings, gui::Application::Instance());
        RunToEnd(completion);
        EXPECT_FALSE(IsIconic(window.Window()));
        EXPECT_EQ(window.Count("foreground"), c.foreground ? 1 : 0);
        EXPECT_EQ(window.Count("flash button"), c.busy ? 1 : 0);
        EXPECT_EQ(window.Count("broadcast"), 1);
        EXPECT_EQ(window.log.back(), "close");
    }
}

} // namespace
} // namespace brevalo
