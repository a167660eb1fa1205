// The form resizer on real windows: its error messages, what it records,
// rescaling in proportion to the owner, the way back to the initial bounds,
// the minimum size, font scaling and controls destroyed on the way.
#include "Application.h"
#include "Easysize.h"
#include "Form.h"
#include "Spin.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevalo::controls {
namespace {

class HostForm : public gui::Form {
public:
    void Create() {
        CreateParams params;
        params.className = L"ResizerHost";
        params.caption = L"Host";
        params.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        params.x = 50;
        params.y = 50;
        params.width = 400;
        params.height = 300;
        CreateHandle(params);
        Show(SW_SHOW);
    }
    void Resize(int width, int height) {
        SetWindowPos(Handle(), nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

// A window we never create: it has no handle.
class Unshown : public gui::Window {};

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, int x, int y, int w, int h,
           DWORD style = 0, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

ResizerBounds Bounds(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return ResizerBounds{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

class ResizerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    void SetUp() override {
        form.Create();
        font =
            CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
        button = Child(form.Handle(), L"BUTTON", L"OK", 40, 200, 75, 25);
        edit = Child(form.Handle(), L"EDIT", L"Timer", 66, 128, 217, 21, 0, WS_EX_CLIENTEDGE);
        label = Child(form.Handle(), L"STATIC", L"Timer name", 10, 20, 150, 13);
        panel = Child(form.Handle(), L"STATIC", L"", 160, 60, 200, 40, 0, WS_EX_CONTROLPARENT);
        radio = Child(panel, L"BUTTON", L"None", 32, 0, 60, 17, BS_AUTORADIOBUTTON);
        for (HWND control : {button, edit, label, radio})
            SendMessageW(control, WM_SETFONT, WPARAM(font), FALSE);
    }
    void TearDown() override {
        DestroyWindow(form.Handle());
        DeleteObject(font);
    }

    HostForm form;
    HFONT font = nullptr;
    HWND button = nullptr, edit = nullptr, label = nullptr, panel = nullptr, radio = nullptr;
};

TEST_F(ResizerTest, MisuseIsReportedWithTheFixedMessages) {
    try {
        TFormResizer resizer(nullptr);
        FAIL() << "no error";
    } catch (const EResizerException& e) {
        EXPECT_STREQ(e.what(), "TFormResizer created without an owner");
    }
    Unshown unshown;
    try {
        TFormResizer resizer(&unshown);
        FAIL() << "no error";
    } catch (const EResizerException& e) {
        EXPECT_STREQ(e.what(), "TFormResizer owner must be a panel or form");
    }
    try {
        TSingleResizer record(nullptr, form.Handle(), false, 8, 48);
        FAIL() << "no error";
    } catch (const EResizerException& e) {
        EXPECT_STREQ(e.what(), "TSingleResizer created without a component link");
    }
    try {
        TSingleResizer record(button, nullptr, false, 8, 48);
        FAIL() << "no error";
    } catch (const EResizerException& e) {
        EXPECT_STREQ(e.what(), "TSingleResizer created without a parent form link");
    }
    // A resizer that is never started validates its owner and does nothing else.
    TFormResizer idle(&form);
    EXPECT_FALSE(idle.Initialized());
    EXPECT_TRUE(idle.Records().empty());
    form.Resize(800, 600);
    idle.ResizeAll();
    EXPECT_EQ(Bounds(button), (ResizerBounds{40, 200, 75, 25}));
}

TEST_F(ResizerTest, RecordsEveryControlOnceAndNotTheInsidesOfCompositeControls) {
    TSpinEdit spin;
    spin.Create(form.Handle(), 16, 240, 113, 22);
    TFormResizer resizer(&form);
    resizer.InitializeForm();
    std::vector<HWND> recorded;
    for (const auto& record : resizer.Records())
        recorded.push_back(record->Control());
    // In creation order, the panel's radio right after the panel; the spin
    // edit without its arrows.
    EXPECT_EQ(recorded, (std::vector<HWND>{button, edit, label, panel, radio, spin.Handle()}));
    EXPECT_TRUE(resizer.Records()[2]->IsLabel());
    EXPECT_FALSE(resizer.Records()[2]->Record().resizeWidth);
    EXPECT_TRUE(resizer.Records()[0]->Record().resizeWidth);
    EXPECT_TRUE(resizer.Records()[0]->Record().hasFont);
    EXPECT_EQ(resizer.Records()[0]->Record().initialFontSize, 8);
    EXPECT_EQ(resizer.Records()[4]->ParentForm(), form.Handle());

    // A second start records nothing new.
    Child(form.Handle(), L"BUTTON", L"Late", 0, 0, 10, 10);
    resizer.InitializeForm();
    EXPECT_EQ(resizer.Records().size(), recorded.size());
}

TEST_F(ResizerTest, ScalesBoundsWithTheOwnerAndReturnsExactlyToTheStart) {
    TFormResizer resizer(&form);
    resizer.InitializeForm();
    std::vector<double> heightRatios;
    resizer.OnPostResize = [&](TFormResizer& sender, HWND, double heightRatio, double widthRatio) {
        EXPECT_EQ(&sender, &resizer);
        heightRatios.push_back(heightRatio);
        EXPECT_DOUBLE_EQ(widthRatio, 1.5);
    };
    form.Resize(600, 450);
    resizer.ResizeAll();
    EXPECT_EQ(heightRatios, std::vector<double>(5, 1.5));
    EXPECT_EQ(Bounds(button), (ResizerBounds{60, 300, 112, 38})); // 112.5 -> 112, 37.5 -> 38
    EXPECT_EQ(Bounds(edit), (ResizerBounds{99, 192, 326, 32}));   // 325.5 -> 326, 31.5 -> 32
    EXPECT_EQ(Bounds(panel), (ResizerBounds{240, 90, 300, 60}));
    EXPECT_EQ(Bounds(radio), (ResizerBounds{48, 0, 90, 26})); // 25.5 -> 26
    // The label moves but its width follows its text.
    const ResizerBounds labelBounds = Bounds(label);
    EXPECT_EQ(labelBounds.left, 15);
    EXPECT_EQ(labelBounds.top, 30);
    EXPECT_LT(labelBounds.width, 150);
    EXPECT_GT(labelBounds.width, 20);

    // Through an odd size and back: the initial bounds, no rounding drift.
    resizer.OnPostResize = nullptr;
    form.Resize(333, 271);
    resizer.ResizeAll();
    form.Resize(400, 300);
    resizer.ResizeAll();
    EXPECT_EQ(Bounds(button), (ResizerBounds{40, 200, 75, 25}));
    EXPECT_EQ(Bounds(edit), (ResizerBounds{66, 128, 217, 21}));
    EXPECT_EQ(Bounds(radio), (ResizerBounds{32, 0, 60, 17}));
    EXPECT_EQ(Bounds(label).left, 10);
    EXPECT_EQ(Bounds(label).top, 20);
}

int FontPoints(HWND control) {
    LOGFONTW description{};
    HFONT f = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!f || !GetObjectW(f, sizeof description, &description))
        return 0;
    return MulDiv(-description.lfHeight, 72, 96);
}

TEST_F(ResizerTest, FontsFollowTheHeightRatioWithinTheLimits) {
    TFormResizer resizer(&form);
    resizer.SetResizeFonts(true);
    resizer.SetMaxFontSize(14);
    resizer.InitializeForm();
    form.Resize(400, 450);
    resizer.ResizeAll();
    EXPECT_EQ(FontPoints(button), 12);
    EXPECT_EQ(FontPoints(edit), 12);
    form.Resize(800, 300);
    resizer.ResizeAll();
    EXPECT_EQ(FontPoints(button), 8) << "the width ratio does not count";
    form.Resize(400, 600);
    resizer.ResizeAll();
    EXPECT_EQ(FontPoints(button), 14) << "at most MaxFontSize";
    form.Resize(400, 150);
    resizer.ResizeAll();
    EXPECT_EQ(FontPoints(button), 8) << "at least MinFontSize";
    form.Resize(400, 300);
    resizer.ResizeAll();
    LOGFONTW description{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), sizeof description,
               &description);
    EXPECT_EQ(description.lfHeight, -11) << "the initial font exactly";
    EXPECT_STREQ(description.lfFaceName, L"Tahoma");
}

TEST_F(ResizerTest, WithEnforceMinSizeTheOwnerIsSetBackBeforeScaling) {
    TFormResizer resizer(&form);
    resizer.SetEnforceMinSize(true);
    resizer.InitializeForm();
    form.Resize(200, 350);
    double widthRatio = 0, heightRatio = 0;
    resizer.OnPostResize = [&](TFormResizer&, HWND, double h, double w) {
        heightRatio = h;
        widthRatio = w;
    };
    resizer.ResizeAll();
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 350);
    EXPECT_DOUBLE_EQ(widthRatio, 1.0);
    EXPECT_DOUBLE_EQ(heightRatio, 350.0 / 300.0);
    EXPECT_EQ(Bounds(button).left, 40);
    EXPECT_EQ(Bounds(button).top, 233); // 233.33
}

TEST_F(ResizerTest, ADestroyedControlIsSkippedButStillReported) {
    TFormResizer resizer(&form);
    resizer.InitializeForm();
    DestroyWindow(edit);
    std::vector<HWND> reported;
    resizer.OnPostResize = [&](TFormResizer&, HWND comp, double, double) {
        reported.push_back(comp);
    };
    form.Resize(800, 600);
    resizer.ResizeAll();
    EXPECT_EQ(reported, (std::vector<HWND>{button, nullptr, label, panel, radio}));
    EXPECT_EQ(Bounds(button), (ResizerBounds{80, 400, 150, 50}));
    EXPECT_EQ(resizer.Records()[1]->Control(), nullptr);
}

TEST_F(ResizerTest, AControlThatFillsItsParentKeepsFillingItInsteadOfBeingScaled) {
    HWND filler = Child(panel, L"STATIC", L"", 0, 0, 200, 40, SS_ETCHEDFRAME);
    TFormResizer resizer(&form);
    resizer.InitializeForm();
    ASSERT_TRUE(resizer.Records().back()->FillsParent());
    EXPECT_FALSE(resizer.Records().front()->FillsParent());
    // The form grows unevenly: scaled on its own, the filler would be 400 x 60
    // and no longer fill the panel.
    form.Resize(800, 450);
    resizer.ResizeAll();
    EXPECT_EQ(Bounds(panel), (ResizerBounds{320, 90, 400, 60}));
    EXPECT_EQ(Bounds(filler), (ResizerBounds{0, 0, 400, 60}));
    // The panel changed by hand: the filler follows it, not its own ratio.
    SetWindowPos(panel, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    resizer.Records().back()->Resize({800, 450}, {1.5, 2.0});
    EXPECT_EQ(Bounds(filler), (ResizerBounds{0, 0, 100, 100}));
}

} // namespace
} // namespace brevalo::controls
