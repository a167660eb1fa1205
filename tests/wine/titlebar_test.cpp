// The title-bar component on real windows of each kind of border: the style
// bits and outer heights after hiding and showing, the cases in which it must
// leave the window alone, and the screen-height step.
#include "Application.h"
#include "Form.h"
#include "TitleBar.h"

#include <gtest/gtest.h>

namespace brevalo {
namespace {

constexpr int Left = 100, Top = 80, Width = 420, Height = 320;

class StyledForm : public gui::Form {
public:
    StyledForm(DWORD style, DWORD exStyle) {
        CreateParams params;
        params.className = L"TitlebarTestForm";
        params.caption = L"Titlebar";
        params.style = style;
        params.exStyle = exStyle;
        params.x = Left;
        params.y = Top;
        params.width = Width;
        params.height = Height;
        CreateHandle(params);
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    }
    DWORD Style() const { return DWORD(GetWindowLongW(Handle(), GWL_STYLE)); }
    void SetStyle(DWORD style) { SetWindowLongW(Handle(), GWL_STYLE, LONG(style)); }
    RECT Bounds() const { return BoundsPixels(); }
    int OuterHeight() const {
        const RECT r = Bounds();
        return r.bottom - r.top;
    }
    int ClientHeight() const {
        const RECT r = ClientRectPixels();
        return r.bottom - r.top;
    }
};

constexpr DWORD SingleStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD SizeableStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

int Caption() {
    return GetSystemMetrics(SM_CYCAPTION);
}

class TitlebarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
};

TEST_F(TitlebarTest, BorderKindsAreToldFromTheStylesAndSurviveTheCaptionsRemoval) {
    EXPECT_EQ(BorderStyleOf(WS_POPUP, 0), bsNone);
    EXPECT_EQ(BorderStyleOf(SingleStyle, 0), bsSingle);
    EXPECT_EQ(BorderStyleOf(SizeableStyle, 0), bsSizeable);
    EXPECT_EQ(BorderStyleOf(DialogStyle, WS_EX_DLGMODALFRAME), bsDialog);
    EXPECT_EQ(BorderStyleOf(WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME), bsDialog);
    EXPECT_EQ(BorderStyleOf(SingleStyle, WS_EX_TOOLWINDOW), bsToolWindow);
    EXPECT_EQ(BorderStyleOf(SizeableStyle, WS_EX_TOOLWINDOW), bsSizeToolWin);
    // What is left once the caption has gone still tells the same kind.
    EXPECT_EQ(BorderStyleOf((SingleStyle & ~WS_CAPTION) | WS_BORDER, 0), bsSingle);
    EXPECT_EQ(BorderStyleOf((SizeableStyle & ~WS_CAPTION) | WS_BORDER, 0), bsSizeable);
    EXPECT_EQ(BorderStyleOf((DialogStyle & ~WS_CAPTION) | WS_DLGFRAME | DS_MODALFRAME, 0),
              bsDialog);
}

struct BorderCase {
    const char* name;
    DWORD style;
    DWORD exStyle;
    DWORD keptWhenHidden; // frame bits that must stay without the caption
};

class TitlebarBorderTest : public TitlebarTest, public ::testing::WithParamInterface<BorderCase> {};

TEST_P(TitlebarBorderTest, HidingRemovesTheCaptionAndItsHeightAndShowingBringsBothBack) {
    const BorderCase& c = GetParam();
    StyledForm form(c.style, c.exStyle);
    TTitlebar bar(&form);
    ASSERT_TRUE(bar.Visible());
    const RECT before = form.Bounds();
    const int clientBefore = form.ClientHeight();
    const DWORD original = form.Style();
    ASSERT_EQ(original & WS_CAPTION, DWORD(WS_CAPTION));

    bar.SetVisible(false);
    EXPECT_FALSE(bar.Visible());
    const DWORD hidden = form.Style();
    EXPECT_NE(hidden & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_EQ(hidden & c.keptWhenHidden, c.keptWhenHidden);
    EXPECT_EQ(hidden & WS_CAPTION, c.keptWhenHidden & WS_CAPTION);
    // Other style bits are untouched.
    EXPECT_EQ(hidden & ~DWORD(WS_CAPTION | DS_MODALFRAME),
              original & ~DWORD(WS_CAPTION | DS_MODALFRAME));
    RECT r = form.Bounds();
    EXPECT_EQ(r.left, before.left);
    EXPECT_EQ(r.top, before.top);
    EXPECT_EQ(r.right - r.left, before.right - before.left);
    EXPECT_EQ(r.bottom - r.top, (before.bottom - before.top) - Caption());
    if (c.style & WS_THICKFRAME) {
        // The sizing frame does not change with the caption: the client area
        // keeps its height exactly.
        EXPECT_EQ(form.ClientHeight(), clientBefore);
    }
    EXPECT_EQ(BorderStyleOf(form.Handle()), BorderStyleOf(c.style, c.exStyle));

    bar.SetVisible(true);
    EXPECT_TRUE(bar.Visible());
    EXPECT_EQ(form.Style(), original);
    r = form.Bounds();
    EXPECT_EQ(r.left, before.left);
    EXPECT_EQ(r.top, before.top);
    EXPECT_EQ(r.right - r.left, before.right - before.left);
    EXPECT_EQ(r.bottom - r.top, before.bottom - before.top);
    EXPECT_EQ(form.ClientHeight(), clientBefore);
}

TEST_P(TitlebarBorderTest, HidingTwiceChangesNothingTheSecondTime) {
    const BorderCase& c = GetParam();
    StyledForm form(c.style, c.exStyle);
    TTitlebar bar(&form);
    bar.SetVisible(false);
    const DWORD style = form.Style();
    const RECT once = form.Bounds();
    bar.SetVisible(false);
    EXPECT_FALSE(bar.Visible());
    EXPECT_EQ(form.Style(), style);
    const RECT twice = form.Bounds();
    EXPECT_TRUE(EqualRect(&once, &twice));
}

TEST_P(TitlebarBorderTest, ShowingWhileVisibleDoesNothingEvenWhenTheCaptionIsGone) {
    const BorderCase& c = GetParam();
    StyledForm form(c.style, c.exStyle);
    TTitlebar bar(&form);
    // Something else took the caption away; the stored value still says shown.
    form.SetStyle((form.Style() & ~DWORD(WS_CAPTION)) | c.keptWhenHidden);
    const DWORD style = form.Style();
    const int height = form.OuterHeight();
    bar.SetVisible(true);
    EXPECT_TRUE(bar.Visible());
    EXPECT_EQ(form.Style(), style);
    EXPECT_EQ(form.OuterHeight(), height);

    // Hiding first and then showing restores it (the return from full screen):
    // the hide finds no caption and only stores the value.
    bar.SetVisible(false);
    EXPECT_EQ(form.Style(), style);
    EXPECT_EQ(form.OuterHeight(), height);
    bar.SetVisible(true);
    EXPECT_EQ(form.Style() & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_EQ(form.OuterHeight(), height + Caption());
}

TEST_P(TitlebarBorderTest, ACaptionBackWhileHiddenIsRemovedFromAScreenHighWindow) {
    const BorderCase& c = GetParam();
    StyledForm form(c.style, c.exStyle);
    TTitlebar bar(&form);
    bar.SetVisible(false);
    const RECT hidden = form.Bounds();
    // Something else gives the caption back while the value says hidden.
    form.SetStyle(form.Style() | WS_CAPTION);
    bar.SetVisible(false);
    EXPECT_NE(form.Style() & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_EQ(form.Style() & c.keptWhenHidden, c.keptWhenHidden);
    const RECT r = form.Bounds();
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN) - Caption());
    EXPECT_EQ(r.top, hidden.top);
    EXPECT_EQ(r.left, hidden.left);
    EXPECT_EQ(r.right - r.left, hidden.right - hidden.left);
}

TEST_P(TitlebarBorderTest, ShowingACaptionThatIsAlreadyBackAddsNoHeight) {
    const BorderCase& c = GetParam();
    StyledForm form(c.style, c.exStyle);
    TTitlebar bar(&form);
    bar.SetVisible(false);
    form.SetStyle(form.Style() | WS_CAPTION);
    const DWORD style = form.Style();
    const int height = form.OuterHeight();
    bar.SetVisible(true);
    EXPECT_TRUE(bar.Visible());
    EXPECT_EQ(form.Style(), style);
    EXPECT_EQ(form.OuterHeight(), height);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TitlebarBorderTest,
    ::testing::Values(BorderCase{"Single", SingleStyle, 0, WS_BORDER},
                      BorderCase{"Sizeable", SizeableStyle, 0, WS_BORDER | WS_THICKFRAME},
                      BorderCase{"Dialog", DialogStyle, WS_EX_DLGMODALFRAME,
                                 WS_DLGFRAME | DS_MODALFRAME}),
    [](const ::testing::TestParamInfo<BorderCase>& info) { return std::string(info.param.name); });

class TitlebarUntouchedTest : public TitlebarTest,
                              public ::testing::WithParamInterface<BorderCase> {};

TEST_P(TitlebarUntouchedTest, OnlyTheValueChanges) {
    const BorderCase& c = GetParam();
    StyledForm form(c.style, c.exStyle);
    TTitlebar bar(&form);
    const DWORD style = form.Style();
    const int height = form.OuterHeight();

    bar.SetVisible(false);
    EXPECT_FALSE(bar.Visible());
    EXPECT_EQ(form.Style(), style);
    EXPECT_EQ(form.OuterHeight(), height);
    bar.SetVisible(true);
    EXPECT_TRUE(bar.Visible());
    EXPECT_EQ(form.Style(), style);
    EXPECT_EQ(form.OuterHeight(), height);

    // Even without its caption such a window gets no caption and no height
    // from a show.
    form.SetStyle(style & ~DWORD(WS_CAPTION));
    bar.SetVisible(false);
    bar.SetVisible(true);
    EXPECT_EQ(form.Style(), style & ~DWORD(WS_CAPTION));
    EXPECT_EQ(form.OuterHeight(), height);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TitlebarUntouchedTest,
    ::testing::Values(BorderCase{"None", WS_POPUP, 0, 0},
                      BorderCase{"ToolWindow", SingleStyle, WS_EX_TOOLWINDOW, 0},
                      BorderCase{"SizeableToolWindow", SizeableStyle, WS_EX_TOOLWINDOW, 0}),
    [](const ::testing::TestParamInfo<BorderCase>& info) { return std::string(info.param.name); });

TEST_F(TitlebarTest, WithoutAnOwnerWindowOnlyTheValueIsStored) {
    TTitlebar alone;
    alone.SetVisible(false);
    EXPECT_FALSE(alone.Visible());
    EXPECT_EQ(alone.OwnerWindow(), nullptr);
    alone.SetVisible(true);
    EXPECT_TRUE(alone.Visible());

    // A child window is no form: its caption is left alone.
    StyledForm parent(SizeableStyle, 0);
    HWND child =
        CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE | WS_CAPTION, 5, 5, 200, 100,
                        parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(child);
    TTitlebar onChild(child);
    onChild.SetVisible(false);
    EXPECT_FALSE(onChild.Visible());
    EXPECT_EQ(DWORD(GetWindowLongW(child, GWL_STYLE)) & WS_CAPTION, DWORD(WS_CAPTION));
    RECT r{};
    GetWindowRect(child, &r);
    EXPECT_EQ(r.bottom - r.top, 100);
}

// A form whose window is created later, as the timer window's is.
class LateForm : public gui::Form {
public:
    void Create() {
        CreateParams params;
        params.className = L"TitlebarLateForm";
        params.x = Left;
        params.y = Top;
        params.width = Width;
        params.height = Height;
        CreateHandle(params);
    }
};

TEST_F(TitlebarTest, TheOwnersWindowIsLookedUpAtEachChange) {
    LateForm form;
    TTitlebar bar(&form);
    bar.SetVisible(false); // no window yet
    form.Create();
    EXPECT_EQ(bar.OwnerWindow(), form.Handle());
    EXPECT_EQ(DWORD(GetWindowLongW(form.Handle(), GWL_STYLE)) & WS_CAPTION, DWORD(WS_CAPTION));
    // The value says hidden while the window has its caption: hiding now
    // takes the screen-height step.
    bar.SetVisible(false);
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN) - Caption());
}

TEST_F(TitlebarTest, AnOwnerGivenByHandleWorksAsAForm) {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"plain", WS_OVERLAPPEDWINDOW, Left, Top, Width,
                                Height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(hwnd);
    TTitlebar bar(hwnd);
    bar.SetVisible(false);
    EXPECT_EQ(DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & (WS_CAPTION | WS_THICKFRAME),
              DWORD(WS_BORDER | WS_THICKFRAME));
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.bottom - r.top, Height - Caption());
    DestroyWindow(hwnd);
}

} // namespace
} // namespace brevalo
