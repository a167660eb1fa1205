// The Win32 layer: the error box text, the default title, OS errors, the
// attachment of objects to windows, errors leaving window procedures, the
// idle event, self-sizing labels and double-buffered painting.
#include "Application.h"
#include "Dpi.h"
#include "Form.h"
#include "Label.h"
#include "OsError.h"
#include "PixelCanvas.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace brevalo::gui {
namespace {

class GuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Application::Instance().Initialize(GetModuleHandleW(nullptr)); }
    void TearDown() override { Application::Instance().SetExceptionHandler(nullptr); }
};

TEST_F(GuiTest, ErrorBoxAppendsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(Application::ErrorBoxText("Invalid parameter information proceeding /t"),
              "Invalid parameter information proceeding /t.");
    EXPECT_EQ(Application::ErrorBoxText("Already ends."), "Already ends.");
    // ')' and '-' have codes below '.', '/' and digits above it.
    EXPECT_EQ(Application::ErrorBoxText("see (this)"), "see (this)");
    EXPECT_EQ(Application::ErrorBoxText("a-"), "a-");
    EXPECT_EQ(Application::ErrorBoxText("path a/"), "path a/.");
    EXPECT_EQ(Application::ErrorBoxText("code 5"), "code 5.");
    EXPECT_EQ(Application::ErrorBoxText(""), "");
    // A non-ASCII last letter is above "." too.
    EXPECT_EQ(Application::ErrorBoxText("caf\xC3\xA9"), "caf\xC3\xA9.");
}

TEST_F(GuiTest, DefaultTitleIsTheFileNameUpToTheFirstDotWithLowerCaseTail) {
    EXPECT_EQ(Application::DefaultTitle(L"C:\\Program Files\\BREVALO.EXE"), "Brevalo");
    EXPECT_EQ(Application::DefaultTitle(L"Z:\\x\\my.timer.exe"), "my");
    EXPECT_EQ(Application::DefaultTitle(L"Z:\\x.y\\TimerApp"), "Timerapp");
    EXPECT_EQ(Application::DefaultTitle(L"\\\\server\\share\\\x00C9TAPE.exe"), "\xC3\x89tape");
}

TEST_F(GuiTest, OsErrorTextsCarryTheCodeAndTheSystemDescription) {
    const base::OsError denied(ERROR_ACCESS_DENIED);
    const std::string text = denied.what();
    EXPECT_EQ(text.rfind("System Error.  Code: 5.\r\n", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("System Error.  Code: 5.\r\n").size());
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(denied.Code(), 5u);
    EXPECT_STREQ(base::OsError(0).what(), "A call to an OS function failed");

    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        base::RaiseLastOsError();
        FAIL() << "no error raised";
    } catch (const base::OsError& e) {
        EXPECT_EQ(e.Code(), DWORD(ERROR_FILE_NOT_FOUND));
    }
    EXPECT_EQ(base::CheckOs(7), 7);
}

TEST_F(GuiTest, StringsRoundTripThroughUtf16) {
    const std::string text = "Tee \xE2\x98\x95 f\xC3\xBCr \xF0\x9F\x98\x80";
    EXPECT_EQ(base::Narrow(base::Widen(text)), text);
    EXPECT_EQ(base::Widen("\xC3\xBC"), L"\x00FC");
    EXPECT_EQ(base::Widen(""), L"");
}

// A form that records what reaches it and can be told to throw.
class ProbeForm : public Form {
public:
    void Create() {
        CreateParams params;
        params.className = L"ProbeForm";
        params.caption = L"Probe";
        CreateHandle(params);
    }
    bool throwOnUser = false;
    int userMessages = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER) {
            ++userMessages;
            if (throwOnUser)
                throw std::runtime_error("thrown in a handler");
            return 42;
        }
        return Form::HandleMessage(message, wParam, lParam);
    }
};

TEST_F(GuiTest, ObjectsAreFoundFromTheirWindowsAndOnlyOurs) {
    ProbeForm form;
    form.Create();
    EXPECT_EQ(Window::FromHandle(form.Handle()), &form);
    EXPECT_EQ(SendMessageW(form.Handle(), WM_USER, 0, 0), 42);
    EXPECT_EQ(form.Text(), "Probe");
    form.SetText("Tee \xE2\x98\x95");
    EXPECT_EQ(form.Text(), "Tee \xE2\x98\x95");

    HWND foreign = CreateWindowExW(0, L"STATIC", L"x", 0, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(foreign);
    EXPECT_EQ(Window::FromHandle(foreign), nullptr);
    EXPECT_EQ(Window::FromHandle(nullptr), nullptr);
    DestroyWindow(foreign);
}

TEST_F(GuiTest, AnErrorLeavingAHandlerGoesToTheApplicationAndTheWindowLivesOn) {
    std::string reported;
    Application::Instance().SetExceptionHandler(
        [&](std::exception_ptr e) { reported = Application::ExceptionMessage(e); });
    ProbeForm form;
    form.Create();
    form.throwOnUser = true;
    SendMessageW(form.Handle(), WM_USER, 0, 0);
    EXPECT_EQ(reported, "thrown in a handler");
    form.throwOnUser = false;
    EXPECT_EQ(SendMessageW(form.Handle(), WM_USER, 0, 0), 42);
    EXPECT_EQ(form.userMessages, 2);
}

TEST_F(GuiTest, DestroyingTheObjectDestroysItsWindow) {
    HWND hwnd = nullptr;
    {
        ProbeForm form;
        form.Create();
        hwnd = form.Handle();
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(GuiTest, IdleHandlersRunWhenTheQueueIsEmptyAndMayRemoveThemselves) {
    Application& app = Application::Instance();
    int once = 0, counted = 0, failing = 0;
    std::string reported;
    app.SetExceptionHandler([&](std::exception_ptr e) { reported = Application::ExceptionMessage(e); });
    int onceId = 0;
    onceId = app.AddIdleHandler([&] {
        ++once;
        app.RemoveIdleHandler(onceId);
    });
    const int failingId = app.AddIdleHandler([&] {
        ++failing;
        throw std::runtime_error("idle failed");
    });
    const int countedId = app.AddIdleHandler([&] {
        // Each pass empties the queue first; a posted message makes another pass.
        if (++counted < 3)
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        else
            PostQuitMessage(7);
    });
    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(counted, 3);
    EXPECT_EQ(failing, 3);
    EXPECT_EQ(reported, "idle failed");
    app.RemoveIdleHandler(failingId);
    app.RemoveIdleHandler(countedId);
}

TEST_F(GuiTest, LabelsSizeThemselvesToTheirText) {
    ProbeForm form;
    form.Create();
    Label label(form);
    label.SetFont("Tahoma", 20);
    label.SetText("00");
    const int two = label.Width();
    EXPECT_GT(two, 0);
    EXPECT_GT(label.Height(), 20);
    label.SetText("00:00:00");
    EXPECT_GT(label.Width(), 3 * two);
    const int small = label.Width();
    label.SetFontSize(40);
    EXPECT_GT(label.Width(), small * 3 / 2);
    label.SetText("");
    EXPECT_EQ(label.Width(), 0);
}

// The client area as the screen shows it, a pixel at a time.
std::vector<COLORREF> ClientPixels(HWND window) {
    const testsupport::PixelCanvas canvas = testsupport::PixelCanvas::OfScreen(window);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            pixels.push_back(canvas.At(x, y));
    return pixels;
}

TEST_F(GuiTest, ADoubleBufferedFormPaintsAlikeStraightAfterShowingAndFromItsBuffer) {
    ProbeForm form;
    form.Create();
    form.SetDoubleBuffered(true);
    form.SetColor(RGB(0, 0, 0));
    Label label(form);
    label.SetFont("Tahoma", 28, ANSI_CHARSET, true);
    label.SetColor(RGB(255, 0, 0));
    label.SetText("88:88");
    label.SetBounds(10, 10, label.Width(), label.Height());
    form.Show(SW_SHOWNOACTIVATE);
    // The paint right after showing draws onto the window itself.
    UpdateWindow(form.Handle());
    const std::vector<COLORREF> straight = ClientPixels(form.Handle());
    // A repaint of the shown form goes through the back buffer.
    InvalidateRect(form.Handle(), nullptr, FALSE);
    UpdateWindow(form.Handle());
    const std::vector<COLORREF> buffered = ClientPixels(form.Handle());
    const auto red = std::count(straight.begin(), straight.end(), RGB(255, 0, 0));
    EXPECT_GT(red, 50);
    EXPECT_GT(std::count(straight.begin(), straight.end(), RGB(0, 0, 0)), red);
    EXPECT_EQ(straight, buffered);
}

TEST_F(GuiTest, LengthsScaleWithTheDpi) {
    EXPECT_EQ(ScaleToDpi(100, 96), 100);
    EXPECT_EQ(ScaleToDpi(100, 144), 150);
    EXPECT_EQ(ScaleToDpi(7, 120), 9); // 8.75 rounds to 9
    EXPECT_GE(WindowDpi(nullptr), 96u);
}

} // namespace
} // namespace brevalo::gui
