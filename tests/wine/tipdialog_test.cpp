// The tip-of-the-day dialog: the window and its elements, the tips shown
// (none, one, many, at random), "Next Tip", the check box carried into
// ShowAtStart whichever way the window is closed, and a failed creation.
#include "Application.h"
#include "Mnemonic.h"
#include "TipDialog.h"
#include "TipDialogForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace brevalo::controls {
namespace {

// What a test does once the tip window is up, run from a timer inside the
// window's modal loop.
std::function<void(TTipDialogForm&)> onWindow;
bool windowSeen = false;

void CALLBACK LookForWindow(HWND, UINT, UINT_PTR id, DWORD) {
    HWND hwnd = FindWindowW(L"TTipDialogForm", L"Tip");
    if (!hwnd || !IsWindowVisible(hwnd))
        return;
    KillTimer(nullptr, id);
    windowSeen = true;
    auto* form = dynamic_cast<TTipDialogForm*>(gui::Window::FromHandle(hwnd));
    if (form && onWindow)
        onWindow(*form);
    else
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

class TipDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    void TearDown() override { onWindow = nullptr; }

    // Runs Execute; `whileShown` acts on the window and must close it.
    bool Run(const std::function<void(TTipDialogForm&)>& whileShown) {
        onWindow = whileShown;
        windowSeen = false;
        SetTimer(nullptr, 0, 30, &LookForWindow);
        const bool result = dialog.Execute();
        EXPECT_TRUE(windowSeen);
        return result;
    }

    static RECT Within(HWND control, HWND parent) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static std::string ToString(const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
               std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    }

    TTipDialog dialog;
};

TEST_F(TipDialogTest, DefaultsAreStoredOnly) {
    EXPECT_FALSE(dialog.ShowAtStart());
    EXPECT_TRUE(dialog.Tips().empty());
    EXPECT_EQ(dialog.TitleAlignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(dialog.TitleLayout(), TTextLayout::tlTop);
    EXPECT_EQ(dialog.TitleLabel(), "");
    FontSpec font;
    font.name = "MS Sans Serif";
    dialog.SetTitleFont(font);
    dialog.SetTitleLabel("Hints");
    EXPECT_EQ(dialog.TitleFont().name, "MS Sans Serif");
    EXPECT_EQ(dialog.TitleLabel(), "Hints");
}

TEST_F(TipDialogTest, WindowAndItsElements) {
    dialog.SetTips({"one", "two"});
    const bool result = Run([](TTipDialogForm& form) {
        HWND hwnd = form.Handle();
        RECT client{};
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, 492);
        EXPECT_EQ(client.bottom, 253);
        EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_THICKFRAME);
        // Centred on the screen's work area.
        RECT window{}, work{};
        GetWindowRect(hwnd, &window);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
        EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);

        EXPECT_EQ(gui::WithoutMnemonic(form.ShowAtStartCheckBox().Text()),
                  "Show every time Wizard mode starts");
        EXPECT_EQ(ToString(Within(form.ShowAtStartCheckBox().Handle(), hwnd)), "9,205 265x17");
        EXPECT_EQ(gui::WithoutMnemonic(form.NextTipButton().Text()), "Next Tip");
        EXPECT_EQ(ToString(Within(form.NextTipButton().Handle(), hwnd)), "309,208 83x25");
        EXPECT_EQ(form.CloseButton().Text(), "Close");
        EXPECT_EQ(ToString(Within(form.CloseButton().Handle(), hwnd)), "397,208 83x25");

        // Tab order: panel, check box, Next Tip, Close.
        HWND panel = GetWindow(hwnd, GW_CHILD);
        EXPECT_EQ(ToString(Within(panel, hwnd)), "9,8 473x193");
        EXPECT_EQ(GetWindow(panel, GW_HWNDNEXT), form.ShowAtStartCheckBox().Handle());
        EXPECT_EQ(GetWindow(form.ShowAtStartCheckBox().Handle(), GW_HWNDNEXT),
                  form.NextTipButton().Handle());
        EXPECT_EQ(GetWindow(form.NextTipButton().Handle(), GW_HWNDNEXT),
                  form.CloseButton().Handle());
        form.CloseButton().Click();
    });
    EXPECT_FALSE(result);
    // The window is gone after Execute.
    EXPECT_EQ(FindWindowW(L"TTipDialogForm", L"Tip"), nullptr);
}

TEST_F(TipDialogTest, WithoutTipsTheWindowSaysSoAndNextTipIsDisabled) {
    Run([](TTipDialogForm& form) {
        EXPECT_EQ(form.TipText(), "No tips have been loaded");
        EXPECT_FALSE(form.NextTipButton().Enabled());
        EXPECT_EQ(form.Tips(), std::vector<std::string>{"No tips have been loaded"});
        form.CloseButton().Click();
    });
    EXPECT_TRUE(dialog.Tips().empty()); // only the window's copy had it
}

TEST_F(TipDialogTest, OneTipDisablesNextTip) {
    dialog.SetTips({"Only this."});
    Run([](TTipDialogForm& form) {
        EXPECT_EQ(form.TipText(), "Only this.");
        EXPECT_FALSE(form.NextTipButton().Enabled());
        form.CloseButton().Click();
    });
}

TEST_F(TipDialogTest, TipsAreShownAtRandomAndNextTipDrawsAgain) {
    std::vector<std::string> tips;
    for (int i = 0; i < 11; ++i)
        tips.push_back(std::to_string(i) + ". tip");
    dialog.SetTips(tips);
    std::set<int> seen;
    Run([&](TTipDialogForm& form) {
        EXPECT_TRUE(form.NextTipButton().Enabled());
        for (int i = 0; i < 60; ++i) {
            const int index = form.CurrentIndex();
            ASSERT_GE(index, 0);
            ASSERT_LT(index, 11);
            EXPECT_EQ(form.TipText(), tips[std::size_t(index)]);
            seen.insert(index);
            form.NextTipButton().Click();
        }
        form.CloseButton().Click();
    });
    EXPECT_GT(seen.size(), 3u);
}

TEST_F(TipDialogTest, ShowAtStartFollowsTheCheckBoxWhicheverWayTheWindowCloses) {
    dialog.SetShowAtStart(true);
    dialog.SetTips({"a", "b"});
    EXPECT_FALSE(Run([](TTipDialogForm& form) {
        EXPECT_TRUE(form.ShowAtStart());
        form.ShowAtStartCheckBox().SetChecked(false);
        form.CloseButton().Click();
    }));
    EXPECT_FALSE(dialog.ShowAtStart());

    // Ticked by a click, closed with the window's close box.
    EXPECT_FALSE(Run([](TTipDialogForm& form) {
        EXPECT_FALSE(form.ShowAtStart());
        SendMessageW(form.ShowAtStartCheckBox().Handle(), BM_CLICK, 0, 0);
        PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }));
    EXPECT_TRUE(dialog.ShowAtStart());

    // Esc closes it too.
    EXPECT_FALSE(Run([](TTipDialogForm& form) {
        SetFocus(form.NextTipButton().Handle());
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    }));
    EXPECT_TRUE(dialog.ShowAtStart());
}

// Refuses the creation of the tip window.
LRESULT CALLBACK RefuseTipWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        wchar_t name[64] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64);
        if (std::wstring(name) == L"TTipDialogForm")
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(TipDialogTest, FailedCreationOnlyBeepsAndKeepsShowAtStart) {
    dialog.SetShowAtStart(true);
    dialog.SetTips({"a"});
    HHOOK hook = SetWindowsHookExW(WH_CBT, &RefuseTipWindow, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const bool result = dialog.Execute();
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(result);
    EXPECT_TRUE(dialog.ShowAtStart());
    EXPECT_EQ(FindWindowW(L"TTipDialogForm", nullptr), nullptr);
}

TEST(PickTipIndex, StaysInRangeAndReachesEveryTip) {
    std::set<std::size_t> seen;
    for (std::uint64_t seed = 0; seed < 500; ++seed) {
        const std::size_t index = PickTipIndex(seed, 11);
        ASSERT_LT(index, 11u);
        seen.insert(index);
    }
    EXPECT_EQ(seen.size(), 11u);
    EXPECT_EQ(PickTipIndex(12345, 11), PickTipIndex(12345, 11));
    EXPECT_EQ(PickTipIndex(7, 1), 0u);
    EXPECT_EQ(PickTipIndex(7, 0), 0u);
}

} // namespace
} // namespace brevalo::controls
