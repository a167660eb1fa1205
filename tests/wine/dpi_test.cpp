// The dialogs' layout on a screen of BREVALO_SCREEN_DPI pixels per inch (the
// program is built twice, for 96 and for 144): the geometry, given in pixels
// at 96 DPI, lands exactly at 96 DPI and at 1.5 times (to a pixel) at 144; the
// dialog font grows with it; the timer's digits follow the client height; and
// a dialog told that its DPI changed lays itself out again at the new one.
#include "Application.h"
#include "Dpi.h"
#include "Mnemonic.h"
#include "Strings.h"
#include "Unit1.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit8.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>

#ifndef BREVALO_SCREEN_DPI
#define BREVALO_SCREEN_DPI 96
#endif

namespace brevalo {
namespace {

constexpr UINT ScreenDpi = BREVALO_SCREEN_DPI;
// Positions are whole pixels: at other DPIs each edge may round either way.
constexpr int Tolerance = ScreenDpi == 96 ? 0 : 1;

int AtDpi(int pixels96, UINT dpi = ScreenDpi) {
    return MulDiv(pixels96, int(dpi), 96);
}

RECT InParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The control's bounds in its parent's client area are (left, top, width,
// height) at 96 DPI, scaled to `dpi`.
void ExpectPlaced(HWND control, int left, int top, int width, int height, const char* what,
                  UINT dpi = ScreenDpi, int tolerance = Tolerance) {
    const RECT r = InParent(control);
    EXPECT_NEAR(r.left, AtDpi(left, dpi), tolerance) << what;
    EXPECT_NEAR(r.top, AtDpi(top, dpi), tolerance) << what;
    EXPECT_NEAR(r.right, AtDpi(left + width, dpi), tolerance) << what;
    EXPECT_NEAR(r.bottom, AtDpi(top + height, dpi), tolerance) << what;
}

int FontHeight(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    return description.lfHeight < 0 ? -description.lfHeight : description.lfHeight;
}

int ControlFontHeight(HWND control) {
    return FontHeight(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
}

// The dialogs' 8-point font in pixels at `dpi`.
int DialogFontPixels(UINT dpi = ScreenDpi) {
    return MulDiv(8, int(dpi), 72);
}

// The suite's name carries the DPI: Dpi96, Dpi144.
#define BREVALO_JOIN2(a, b) a##b
#define BREVALO_JOIN(a, b) BREVALO_JOIN2(a, b)
#define DpiSuite BREVALO_JOIN(Dpi, BREVALO_SCREEN_DPI)

class DpiSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
};

TEST_F(DpiSuite, TheScreenHasTheDpiTheProgramWasBuiltFor) {
    ASSERT_EQ(gui::WindowDpi(nullptr), ScreenDpi);
}

// The manifest with its DPI settings still parses: the common controls of
// version 6 that it asks for are loaded.
TEST_F(DpiSuite, ManifestStillLoadsCommonControls6) {
    // Only version 6 of the common controls knows a button's ideal size.
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_POPUP, 0, 0, 75, 25, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    DestroyWindow(button);
}

TEST_F(DpiSuite, AdvancedDialogControlsFontAndIconsScale) {
    TForm4 form;
    form.FormCreate({1, 6, 1});
    ExpectPlaced(form.GroupBox3->Handle(), 18, 168, 561, 89, "Sound group");
    ExpectPlaced(form.DateTimePicker1->Handle(), 34, 64, 113, 21, "date picker");
    ExpectPlaced(form.LabeledEdit1->EditBox.Handle(), 66, 128, 217, 21, "name edit");
    ExpectPlaced(form.ColorButton1.Handle(), 380, 120, 49, 25, "foreground button");
    ExpectPlaced(form.ButtonAdvanced->Handle(), 498, 392, 78, 25, "Advanced");
    ExpectPlaced(form.ButtonHelp->Handle(), 16, 392, 70, 25, "Help");
    EXPECT_NEAR(FontHeight(form.Font()), DialogFontPixels(), Tolerance);
    EXPECT_EQ(ControlFontHeight(form.ButtonOK->Handle()), FontHeight(form.Font()));

    // Icons are 48 pixels at 96 DPI, larger at higher DPIs.
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(form.Image2->Icon(), &info));
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    EXPECT_EQ(mask.bmWidth, AtDpi(48));

    // Each label is wide enough for its caption in the dialog font.
    for (controls::StaticText* label : {form.Label6.get(), form.Label7.get(), form.Label5.get()}) {
        HDC dc = GetDC(label->Handle());
        const HGDIOBJ old = SelectObject(dc, form.Font());
        // The caption as shown, without its mnemonic mark.
        const std::wstring caption = base::Widen(gui::WithoutMnemonic(label->Text()));
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(label->Handle(), dc);
        EXPECT_GE(label->Width(), extent.cx) << base::Narrow(caption);
    }
}

TEST_F(DpiSuite, ActionListIconsAreDrawnForTheDpi) {
    TForm6 form(nullptr);
    const auto images = reinterpret_cast<HIMAGELIST>(
        SendMessageW(form.ListView1->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_TRUE(images);
    int width = 0, height = 0;
    ASSERT_TRUE(ImageList_GetIconSize(images, &width, &height));
    EXPECT_EQ(width, AtDpi(32));
    EXPECT_EQ(height, AtDpi(32));
    EXPECT_EQ(ImageList_GetImageCount(images), 3);
}

TEST_F(DpiSuite, OptionsDialogControlsScale) {
    TForm5 form(nullptr);
    ExpectPlaced(form.CheckBox(2).Handle(), 16, 16, 300, 17, "first box");
    ExpectPlaced(form.CheckBox(11).Handle(), 16, 256, 300, 17, "Use Wizard mode");
    ExpectPlaced(form.Button1->Handle(), 248, 292, 67, 25, "OK");
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_NEAR(client.right, AtDpi(330), Tolerance);
    EXPECT_NEAR(client.bottom, AtDpi(331), Tolerance);
}

TEST_F(DpiSuite, WizardPageControlsAndTitleScale) {
    TForm8 form;
    form.FormCreate();
    ExpectPlaced(form.Edit1->Handle(), 160, 160, 401, 21, "name edit");
    ExpectPlaced(form.Edit4->Handle(), 40, 248, 121, 21, "minutes edit");
    ExpectPlaced(form.DateTimePicker1->Handle(), 40, 152, 185, 21, "date picker");
    const gui::Label& title = *form.Titles[0];
    EXPECT_NEAR(title.Left(), AtDpi(88), Tolerance);
    EXPECT_NEAR(title.Top(), AtDpi(16), Tolerance);
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_NEAR(client.right, AtDpi(640), Tolerance);
    EXPECT_NEAR(client.bottom, AtDpi(380), Tolerance);
    EXPECT_NEAR(ControlFontHeight(form.Edit1->Handle()), DialogFontPixels(), Tolerance + 1);
}

TEST_F(DpiSuite, TimerDigitsFollowTheClientHeight) {
    TForm1 form;
    form.FormCreate(CommandLine("\"Brevalo.exe\" /q300 /cTea"));
    ShowWindow(form.Handle(), SW_SHOWNORMAL);
    Pump();
    auto digitHeightAt = [&](int windowHeight) {
        const RECT r = form.BoundsPixels();
        form.SetBoundsPixels(r.left, 0, AtDpi(900), windowHeight);
        Pump();
        RECT client = form.ClientRectPixels();
        // Nothing of the digits is cut off by the client area.
        EXPECT_GE(form.Label1.Top(), 0);
        EXPECT_LE(form.Label1.Top() + form.Label1.Height(), client.bottom);
        EXPECT_LE(form.Label2.Left() + form.Label2.Width(), client.right + 1);
        return double(form.Label1.Height()) / double(client.bottom);
    };
    const double small = digitHeightAt(AtDpi(300));
    const double large = digitHeightAt(AtDpi(450));
    // Sized in points from the height taken at 96 DPI, the digits fill the
    // same share of the window at every DPI (about 0.215 with this font);
    // sized from the height in device pixels they would fill 1.5 times as
    // much at 144 DPI.
    EXPECT_NEAR(small, 0.215, 0.02);
    // A taller window gets taller digits, in step with its height.
    EXPECT_NEAR(large / small, 1.0, 0.2);
}

TEST_F(DpiSuite, DialogToldOfANewDpiScalesItsControlsAndFont) {
    TForm4 form;
    form.FormCreate({1, 6, 1});
    const UINT newDpi = ScreenDpi * 2;
    const RECT before = form.BoundsPixels();
    const RECT suggested{before.left, before.top,
                         before.left + MulDiv(before.right - before.left, 2, 1),
                         before.top + MulDiv(before.bottom - before.top, 2, 1)};
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form.Dpi(), newDpi);
    const RECT after = form.BoundsPixels();
    EXPECT_EQ(after.right - after.left, suggested.right - suggested.left);
    EXPECT_EQ(after.bottom - after.top, suggested.bottom - suggested.top);
    // Rounded once at the old DPI, then doubled: two pixels either way.
    const RECT advanced = InParent(form.ButtonAdvanced->Handle());
    EXPECT_NEAR(advanced.left, AtDpi(498, newDpi), 2);
    EXPECT_NEAR(advanced.bottom, AtDpi(392 + 25, newDpi), 2);
    const RECT group = InParent(form.GroupBox3->Handle());
    EXPECT_NEAR(group.right, AtDpi(18 + 561, newDpi), 2);
    EXPECT_NEAR(FontHeight(form.Font()), DialogFontPixels(newDpi), 2);
    EXPECT_EQ(ControlFontHeight(form.ButtonOK->Handle()), FontHeight(form.Font()));
    EXPECT_EQ(ControlFontHeight(form.LabeledEdit1->EditBox.Handle()), FontHeight(form.Font()));
    // The colour button lays its own parts out at the new DPI.
    const RECT colour = InParent(form.ColorButton1.Handle());
    EXPECT_NEAR(colour.right - colour.left, AtDpi(49, newDpi), 2);
}

TEST_F(DpiSuite, WizardToldOfANewDpiScalesItsPagesLabelsAndButtons) {
    TForm8 form;
    form.FormCreate();
    const UINT newDpi = ScreenDpi * 2;
    const gui::Label& title = *form.Titles[0];
    const int titleHeight = title.Height();
    const RECT before = form.BoundsPixels();
    const RECT suggested{before.left, before.top, before.left + 2 * (before.right - before.left),
                         before.top + 2 * (before.bottom - before.top)};
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                 reinterpret_cast<LPARAM>(&suggested));
    // Rounded once at the old DPI, then doubled: two pixels either way.
    ExpectPlaced(form.Edit1->Handle(), 160, 160, 401, 21, "name edit", newDpi, 2);
    EXPECT_NEAR(title.Left(), AtDpi(88, newDpi), 2);
    // The title's font is made again at the new DPI, not stretched.
    EXPECT_NEAR(title.Height(), 2 * titleHeight, 3);
    // The button bar is laid out again along the new bottom edge.
    RECT client{};
    GetClientRect(form.Handle(), &client);
    const RECT next = InParent(form.KWizard1->ButtonNext().Control().Handle());
    EXPECT_LE(next.bottom, client.bottom);
    EXPECT_GT(next.top, client.bottom - AtDpi(50, newDpi));
    EXPECT_NEAR(next.bottom - next.top, AtDpi(25, newDpi), 3);
}

} // namespace
} // namespace brevalo
