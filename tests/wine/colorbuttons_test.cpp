// The colour drop-down button on real windows: its parts and size rules,
// SelectedColor and the scan of the palette cells, the palette's layout,
// placement, docking, tearing off and hiding, the metric and WordStyle rules,
// hover highlighting, painting, OnUpdate and the "Other Colors..." dialog.
#include "Application.h"
#include "ColorButtons.h"
#include "Form.h"

#include <gtest/gtest.h>

#include <colordlg.h>

#include <functional>
#include <vector>

#include <ostream>

// Rectangles compare and print in the test's messages.
inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace brevalo::controls {
namespace {

bool EmptyRect(RECT r) {
    return IsRectEmpty(&r) != FALSE;
}

class HostForm : public gui::Form {
public:
    void Create(int x = 100, int y = 100) {
        CreateParams params;
        params.className = L"ColorButtonHost";
        params.caption = L"Host";
        params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        params.x = x;
        params.y = y;
        params.width = 400;
        params.height = 300;
        CreateHandle(params);
        Show(SW_SHOW);
        SetForegroundWindow(Handle());
    }
};

class ColorButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    void SetUp() override {
        form.Create();
        button.Create(form.Handle(), 20, 30);
        button.OnColorSelected = [this](TColorButton& sender, TColor c) {
            EXPECT_EQ(&sender, &button);
            selected.push_back(c);
        };
    }
    void TearDown() override { gui::Application::Instance().SetExceptionHandler(nullptr); }

    static void Pump() { gui::Application::Instance().ProcessMessages(); }
    static RECT Bounds(HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return r;
    }
    static SIZE ClientSize(HWND hwnd) {
        RECT r{};
        GetClientRect(hwnd, &r);
        return SIZE{r.right, r.bottom};
    }
    // The bounds of a child in its parent's client coordinates.
    static RECT ChildBounds(HWND child) {
        RECT r = Bounds(child);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // A left click as the mouse makes it.
    static void Click(HWND hwnd) {
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    // Presses and releases the arrow: the palette drops down.
    void OpenPalette() {
        Click(button.Arrow().Handle());
        Pump();
    }
    int DownCount() {
        int down = button.Palette().Automatic().Down() ? 1 : 0;
        for (int i = 0; i < PaletteCellCount; ++i)
            down += button.Palette().Cell(i).Down() ? 1 : 0;
        return down;
    }
    bool PaletteVisible() { return IsWindowVisible(button.Palette().Handle()) != FALSE; }

    HostForm form;
    TColorButton button;
    std::vector<TColor> selected;
};

TEST_F(ColorButtonTest, StartsAsASmallTwoPartButtonWithAutomaticChosen) {
    const RECT r = Bounds(button.Handle());
    EXPECT_EQ(r.right - r.left, 32);
    EXPECT_EQ(r.bottom - r.top, 22);
    EXPECT_EQ(ChildBounds(button.Face().Handle()), (RECT{0, 0, 23, 22}));
    EXPECT_EQ(ChildBounds(button.Arrow().Handle()), (RECT{23, 0, 32, 22}));
    EXPECT_EQ(button.SelectedColor(), ClDefault);
    EXPECT_EQ(button.Face().Color(), ClDefault);
    EXPECT_TRUE(button.WordStyle());
    EXPECT_TRUE(button.Flat());
    EXPECT_TRUE(button.DropDownFlat());
    EXPECT_TRUE(button.DropDownMove());
    EXPECT_EQ(button.GlyphType(), TGlyphType::gtText);
    EXPECT_EQ(button.Metrics(), PaletteMetrics{});
    EXPECT_EQ(button.CaptionAutoColor(), "Automatic");
    EXPECT_EQ(button.CaptionOtherColor(), "Other Colors...");
    EXPECT_EQ(button.DropDownCaption(), "Text Color Window");
    // The palette exists, hidden, with "Automatic" down and the table's colours.
    EXPECT_FALSE(PaletteVisible());
    EXPECT_FALSE(button.Floating());
    EXPECT_TRUE(button.Palette().Automatic().Down());
    EXPECT_EQ(button.Palette().Automatic().Color(), ClDefault);
    EXPECT_EQ(DownCount(), 1);
    for (int i = 0; i < PaletteCellCount; ++i)
        EXPECT_EQ(button.Palette().Cell(i).Color(), PaletteColors[std::size_t(i)]) << i;
    EXPECT_EQ(button.Arrow().GroupIndex(), 2);
    EXPECT_TRUE(button.Arrow().AllowAllUp());
    // The palette is a stay-on-top tool window.
    const LONG exStyle = GetWindowLongW(button.Palette().Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
}

TEST_F(ColorButtonTest, TheBitmapsAreCarriedWithTheirSizes) {
    const struct {
        const wchar_t* name;
        LONG width, height;
    } bitmaps[] = {{L"TCOLORBUTTON_DROPDOWN", 5, 5},
                   {L"TCOLORBUTTON_TEXT", 32, 16},
                   {L"TCOLORBUTTON_LINES", 32, 16},
                   {L"TCOLOTBUTTON_BACKGROUD", 32, 16},
                   {L"SpinUp", 9, 6},
                   {L"SpinDown", 9, 6}};
    for (const auto& b : bitmaps) {
        HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), b.name);
        ASSERT_TRUE(bitmap) << b.name;
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, b.width) << b.name;
        EXPECT_EQ(info.bmHeight, b.height) << b.name;
        DeleteObject(bitmap);
    }
    // Each glyph type loads two 16 x 16 pictures.
    for (TGlyphType type : {TGlyphType::gtBackGround, TGlyphType::gtLines, TGlyphType::gtText}) {
        button.SetGlyphType(type);
        EXPECT_EQ(button.Face().GetGlyph().Count(), 2);
        EXPECT_EQ(button.Face().GetGlyph().Width(), 16);
        EXPECT_EQ(button.Face().GetGlyph().Height(), 16);
    }
}

TEST_F(ColorButtonTest, SelectedColorPutsTheMatchingPaletteButtonDownAndReportsChanges) {
    button.SetSelectedColor(0x0000FF); // red, cell 16
    EXPECT_EQ(button.SelectedColor(), 0x0000FF);
    EXPECT_EQ(button.Face().Color(), 0x0000FF);
    EXPECT_TRUE(button.Palette().Cell(16).Down());
    EXPECT_FALSE(button.Palette().Automatic().Down());
    EXPECT_EQ(DownCount(), 1);
    EXPECT_EQ(selected, (std::vector<TColor>{0x0000FF}));

    // The same colour again: nothing happens, no event.
    button.SetSelectedColor(0x0000FF);
    EXPECT_EQ(selected.size(), 1u);

    // The last cell, then one before the first down cell.
    button.SetSelectedColor(0xFFFFFF);
    EXPECT_TRUE(button.Palette().Cell(39).Down());
    EXPECT_FALSE(button.Palette().Cell(16).Down());
    button.SetSelectedColor(0x003399);
    EXPECT_TRUE(button.Palette().Cell(1).Down());
    EXPECT_EQ(DownCount(), 1);

    // A colour in no palette button: none down, but the face shows it.
    button.SetSelectedColor(0x123456);
    EXPECT_EQ(DownCount(), 0);
    EXPECT_EQ(button.Face().Color(), 0x123456);

    // Back to the default colour: "Automatic".
    button.SetSelectedColor(ClDefault);
    EXPECT_TRUE(button.Palette().Automatic().Down());
    EXPECT_EQ(DownCount(), 1);
    EXPECT_EQ(selected, (std::vector<TColor>{0x0000FF, 0xFFFFFF, 0x003399, 0x123456, ClDefault}));
}

TEST_F(ColorButtonTest, TheArrowDropsThePaletteDownUnderTheButtonAndAPickClosesIt) {
    OpenPalette();
    ASSERT_TRUE(PaletteVisible());
    EXPECT_TRUE(button.Arrow().Down()) << "the arrow goes down on release";
    EXPECT_EQ(GetForegroundWindow(), button.Palette().Handle());
    // Docked: a thin frame, no title bar; 158 x 158 with the default metrics.
    HWND palette = button.Palette().Handle();
    const LONG style = GetWindowLongW(palette, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_DLGFRAME);
    EXPECT_EQ(ClientSize(palette).cx, 158);
    EXPECT_EQ(ClientSize(palette).cy, 158);
    const RECT control = Bounds(button.Handle());
    const RECT window = Bounds(palette);
    EXPECT_EQ(window.left, control.left);
    EXPECT_EQ(window.top, control.bottom);
    // The layout of the buttons.
    EXPECT_EQ(button.Palette().DragBarRect(), (RECT{4, 2, 154, 9}));
    EXPECT_EQ(ChildBounds(button.Palette().Automatic().Handle()), (RECT{7, 12, 151, 34}));
    EXPECT_EQ(ChildBounds(button.Palette().Cell(0).Handle()), (RECT{7, 38, 25, 56}));
    EXPECT_EQ(ChildBounds(button.Palette().Cell(9).Handle()), (RECT{25, 56, 43, 74}));
    EXPECT_EQ(ChildBounds(button.Palette().Cell(39).Handle()), (RECT{133, 110, 151, 128}));
    EXPECT_EQ(ChildBounds(button.Palette().Other().Handle()), (RECT{7, 132, 151, 154}));

    // A cell: the palette hides, the cell goes down, the arrow goes up.
    Click(button.Palette().Cell(13).Handle());
    Pump();
    EXPECT_FALSE(PaletteVisible());
    EXPECT_EQ(button.SelectedColor(), PaletteColors[13]);
    EXPECT_TRUE(button.Palette().Cell(13).Down());
    EXPECT_FALSE(button.Arrow().Down());
    EXPECT_EQ(selected, (std::vector<TColor>{PaletteColors[13]}));

    // Picking the chosen cell again keeps it down and reports nothing.
    OpenPalette();
    Click(button.Palette().Cell(13).Handle());
    EXPECT_TRUE(button.Palette().Cell(13).Down());
    EXPECT_EQ(selected.size(), 1u);

    // "Automatic".
    OpenPalette();
    Click(button.Palette().Automatic().Handle());
    EXPECT_EQ(button.SelectedColor(), ClDefault);
    EXPECT_TRUE(button.Palette().Automatic().Down());
    EXPECT_EQ(DownCount(), 1);
}

TEST_F(ColorButtonTest, ThePaletteOpensAboveNearTheBottomAndStaysInsideTheRightEdge) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Move the host so that the button sits near the bottom right corner.
    SetWindowPos(form.Handle(), nullptr, screenWidth - 60, screenHeight - 80, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    OpenPalette();
    ASSERT_TRUE(PaletteVisible());
    const RECT control = Bounds(button.Handle());
    const RECT window = Bounds(button.Palette().Handle());
    EXPECT_EQ(window.right, screenWidth);
    EXPECT_EQ(window.bottom, control.top);
}

TEST_F(ColorButtonTest, LosingTheFocusHidesTheDockedPaletteAndRaisesTheArrow) {
    OpenPalette();
    ASSERT_TRUE(PaletteVisible());
    SetForegroundWindow(form.Handle());
    SetActiveWindow(form.Handle());
    Pump();
    EXPECT_FALSE(PaletteVisible());
    EXPECT_FALSE(button.Arrow().Down());
}

TEST_F(ColorButtonTest, MetricsKeepTheirMinimumsLeaveWordStyleAndRelayTheShowingPalette) {
    button.SetMetric(PaletteMetric::ColorSize, 10);
    EXPECT_EQ(button.Metric(PaletteMetric::ColorSize), 18);
    EXPECT_FALSE(button.WordStyle());
    button.SetWordStyle(true);

    // Writing the value a metric already has changes nothing, WordStyle included.
    button.SetMetric(PaletteMetric::ColorSize, 18);
    EXPECT_TRUE(button.WordStyle());

    OpenPalette();
    button.SetMetric(PaletteMetric::ColorSize, 24);
    EXPECT_EQ(ClientSize(button.Palette().Handle()).cx, 2 * 7 + 8 * 24);
    EXPECT_EQ(ChildBounds(button.Palette().Cell(1).Handle()).left, 7 + 24);
    button.SetMetric(PaletteMetric::ButtonHeight, 30);
    EXPECT_EQ(ClientSize(button.Palette().Handle()).cy, 158 + 5 * 6 + 2 * 8);
    EXPECT_FALSE(button.WordStyle());

    // WordStyle back on: every default, the flat looks, a fresh layout.
    button.SetFlat(false);
    button.SetDropDownFlat(false);
    button.SetDropDownWidth(15);
    button.SetDropDownMove(false);
    button.SetWordStyle(true);
    EXPECT_EQ(button.Metrics(), PaletteMetrics{});
    EXPECT_TRUE(button.Flat());
    EXPECT_TRUE(button.DropDownFlat());
    EXPECT_TRUE(button.Palette().Cell(5).Flat());
    EXPECT_TRUE(button.DropDownMove());
    EXPECT_EQ(button.DropDownWidth(), 9);
    EXPECT_EQ(ClientSize(button.Palette().Handle()).cx, 158);
    EXPECT_EQ(ClientSize(button.Palette().Handle()).cy, 158);

    // Writing false only clears the flag.
    button.SetWordStyle(false);
    EXPECT_FALSE(button.WordStyle());
    EXPECT_TRUE(button.Flat());
}

TEST_F(ColorButtonTest, SizeRulesKeepTheArrowAndTheFaceWideEnough) {
    button.SetBounds(20, 30, 40, 22);
    button.SetDropDownWidth(5);
    EXPECT_EQ(button.DropDownWidth(), 9);
    EXPECT_EQ(button.Width(), 40);
    EXPECT_EQ(ChildBounds(button.Face().Handle()), (RECT{0, 0, 31, 22}));
    EXPECT_EQ(ChildBounds(button.Arrow().Handle()), (RECT{31, 0, 40, 22}));

    button.SetBounds(20, 30, 20, 10);
    EXPECT_EQ(button.Width(), 32);
    EXPECT_EQ(button.Height(), 22);
    const RECT r = Bounds(button.Handle());
    EXPECT_EQ(r.right - r.left, 32);
    EXPECT_EQ(r.bottom - r.top, 22);

    // The advanced dialog's button: 49 x 25, arrow 9.
    TColorButton dialogButton;
    dialogButton.Create(form.Handle(), 380, 120, 49, 25);
    EXPECT_EQ(ChildBounds(dialogButton.Face().Handle()), (RECT{0, 0, 40, 25}));
    EXPECT_EQ(ChildBounds(dialogButton.Arrow().Handle()), (RECT{40, 0, 49, 25}));
}

TEST_F(ColorButtonTest, DraggingTheBarTearsThePaletteOffIntoAFloatingWindow) {
    OpenPalette();
    HWND palette = button.Palette().Handle();
    const RECT bar = button.Palette().DragBarRect();
    POINT onBar{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
    POINT belowBar{onBar.x, bar.bottom + 2};
    ClientToScreen(palette, &onBar);
    ClientToScreen(palette, &belowBar);
    EXPECT_EQ(SendMessageW(palette, WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)), HTCAPTION);
    EXPECT_EQ(SendMessageW(palette, WM_NCHITTEST, 0, MAKELPARAM(belowBar.x, belowBar.y)), HTCLIENT);

    // The pointer over the bar lights it up; leaving the window puts it out.
    SendMessageW(palette, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(onBar.x, onBar.y));
    EXPECT_TRUE(button.Palette().DragBarHot());
    SendMessageW(palette, WM_NCMOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.Palette().DragBarHot());

    // The drag starts the window's move: the palette becomes floating. The
    // move loop ends at once on the queued Esc.
    const RECT before = Bounds(palette);
    PostMessageW(palette, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(palette, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(onBar.x, onBar.y));
    Pump();
    ASSERT_TRUE(button.Floating());
    EXPECT_EQ(GetWindowLongW(palette, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(ClientSize(palette).cx, 158);
    EXPECT_EQ(ClientSize(palette).cy, 151);
    EXPECT_TRUE(EmptyRect(button.Palette().DragBarRect()));
    EXPECT_EQ(ChildBounds(button.Palette().Automatic().Handle()), (RECT{7, 5, 151, 27}));
    const RECT after = Bounds(palette);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top) << "a title bar was added";
    EXPECT_FALSE(button.Arrow().Down());
    // Where the bar was is plain client area now.
    POINT whereBarWas{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
    ClientToScreen(palette, &whereBarWas);
    EXPECT_EQ(SendMessageW(palette, WM_NCHITTEST, 0, MAKELPARAM(whereBarWas.x, whereBarWas.y)),
              HTCLIENT);

    // Floating, it stays open when a colour is picked and when it loses the focus.
    Click(button.Palette().Cell(2).Handle());
    Pump();
    EXPECT_TRUE(PaletteVisible());
    EXPECT_EQ(button.SelectedColor(), PaletteColors[2]);
    SetForegroundWindow(form.Handle());
    Pump();
    EXPECT_TRUE(PaletteVisible());

    // The close box hides it; the next drop-down docks it again.
    SendMessageW(palette, WM_CLOSE, 0, 0);
    EXPECT_FALSE(PaletteVisible());
    EXPECT_TRUE(IsWindow(palette));
    OpenPalette();
    EXPECT_FALSE(button.Floating());
    EXPECT_EQ(GetWindowLongW(palette, GWL_STYLE) & WS_CAPTION, WS_DLGFRAME);
    EXPECT_EQ(ClientSize(palette).cy, 158);
}

TEST_F(ColorButtonTest, WritingDropDownMoveClosesAFloatingPaletteAndFalseDropsTheBar) {
    OpenPalette();
    button.Palette().MakeFloating();
    ASSERT_TRUE(PaletteVisible());
    button.SetDropDownMove(true);
    EXPECT_FALSE(PaletteVisible());

    button.SetDropDownMove(false);
    OpenPalette();
    ASSERT_TRUE(PaletteVisible());
    EXPECT_TRUE(EmptyRect(button.Palette().DragBarRect()));
    EXPECT_EQ(ClientSize(button.Palette().Handle()).cy, 151);
    // No bar, nothing to drag: the move command leaves the palette docked.
    HWND palette = button.Palette().Handle();
    POINT top{20, 4};
    ClientToScreen(palette, &top);
    EXPECT_EQ(SendMessageW(palette, WM_NCHITTEST, 0, MAKELPARAM(top.x, top.y)), HTCLIENT);
    // A metric written while showing keeps the palette without its bar.
    button.SetMetric(PaletteMetric::ColorSpace, 1);
    EXPECT_EQ(ClientSize(palette).cy, 151 + 4);
}

TEST_F(ColorButtonTest, BothPartsHighlightTogetherAndStayLitWhileThePaletteShows) {
    HWND face = button.Face().Handle();
    HWND arrow = button.Arrow().Handle();
    SendMessageW(face, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.Face().MouseInControl());
    EXPECT_TRUE(button.Arrow().MouseInControl()) << "told by the face";
    SendMessageW(face, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.Face().MouseInControl());
    EXPECT_FALSE(button.Arrow().MouseInControl());

    SendMessageW(arrow, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(button.Face().MouseInControl());
    OpenPalette();
    SendMessageW(arrow, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(button.Face().MouseInControl());
    EXPECT_TRUE(button.Arrow().MouseInControl());
    // Hidden again: both lose the highlight.
    button.Palette().Hide();
    EXPECT_FALSE(button.Face().MouseInControl());
    EXPECT_FALSE(button.Arrow().MouseInControl());
    EXPECT_FALSE(button.Arrow().Down());
}

TEST_F(ColorButtonTest, EnabledReachesBothPartsAndAllPaletteButtons) {
    button.SetEnabled(false);
    EXPECT_FALSE(button.Enabled());
    EXPECT_FALSE(IsWindowEnabled(button.Face().Handle()));
    EXPECT_FALSE(IsWindowEnabled(button.Arrow().Handle()));
    int enabled = 0;
    button.Palette().ForEachButton([&](TSpeedButton& b) { enabled += b.Enabled() ? 1 : 0; });
    EXPECT_EQ(enabled, 0);
    // A disabled arrow opens nothing.
    Click(button.Arrow().Handle());
    EXPECT_FALSE(PaletteVisible());

    button.SetEnabled(true);
    button.Palette().ForEachButton([&](TSpeedButton& b) { enabled += b.Enabled() ? 1 : 0; });
    EXPECT_EQ(enabled, 42);
    EXPECT_TRUE(IsWindowEnabled(button.Arrow().Handle()));
}

// Paints a window through WM_PRINTCLIENT into a bitmap and reads its pixels.
class Snapshot {
public:
    explicit Snapshot(HWND hwnd) {
        RECT r{};
        GetClientRect(hwnd, &r);
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, r.right, r.bottom);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    }
    ~Snapshot() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

TEST_F(ColorButtonTest, FacesAndSwatchesArePaintedInTheirColours) {
    button.SetSelectedColor(0x2040C0);
    {
        // The face's colour bar covers (4, 15)-(20, 19).
        Snapshot face(button.Face().Handle());
        EXPECT_EQ(face.At(4, 15), COLORREF(0x2040C0));
        EXPECT_EQ(face.At(19, 18), COLORREF(0x2040C0));
        EXPECT_NE(face.At(20, 18), COLORREF(0x2040C0));
        EXPECT_NE(face.At(4, 19), COLORREF(0x2040C0));
        // The dark blue letter above it.
        EXPECT_EQ(face.At(11, 4), RGB(0, 0, 128));
    }
    OpenPalette();
    {
        // A cell: a 12 x 12 swatch at (3, 3) with a grey outline.
        Snapshot cell(button.Palette().Cell(16).Handle());
        EXPECT_EQ(cell.At(8, 8), COLORREF(0x0000FF));
        EXPECT_EQ(cell.At(3, 3), RGB(128, 128, 128));
        EXPECT_EQ(cell.At(14, 14), RGB(128, 128, 128));
        EXPECT_NE(cell.At(15, 15), RGB(128, 128, 128));
        EXPECT_NE(cell.At(2, 8), COLORREF(0x0000FF));
    }
    {
        // "Automatic": an outline inset 3 and an 11 x 11 swatch at (7, 6).
        Snapshot automatic(button.Palette().Automatic().Handle());
        EXPECT_EQ(automatic.At(3, 10), RGB(128, 128, 128));
        EXPECT_EQ(automatic.At(7, 6), RGB(128, 128, 128));
        EXPECT_EQ(automatic.At(17, 16), RGB(128, 128, 128));
        EXPECT_EQ(automatic.At(12, 11), GetSysColor(COLOR_WINDOWTEXT));
    }
    button.SetEnabled(false);
    {
        // Disabled, the bar takes the inactive caption colour.
        Snapshot face(button.Face().Handle());
        EXPECT_EQ(face.At(10, 16), GetSysColor(COLOR_INACTIVECAPTION));
    }
}

TEST_F(ColorButtonTest, UpdateIsRaisedOnIdlePassesOnlyWhileTheButtonShows) {
    int updates = 0;
    button.OnUpdate = [&](TColorButton& sender) {
        EXPECT_EQ(&sender, &button);
        ++updates;
    };
    int passes = 0;
    auto& app = gui::Application::Instance();
    const int counter = app.AddIdleHandler([&] {
        if (++passes < 3)
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        else
            PostQuitMessage(0);
    });
    app.Run();
    EXPECT_EQ(updates, 3);

    button.SetVisible(false);
    passes = 0;
    app.Run();
    EXPECT_EQ(updates, 3) << "hidden: no updates";
    app.RemoveIdleHandler(counter);
}

// Runs a step on every tick of a thread timer until it returns true, so that
// the test can answer the modal colour dialog as a user would.
class DialogDriver {
public:
    explicit DialogDriver(std::function<bool(HWND dialog)> step) {
        step_ = std::move(step);
        timer_ = SetTimer(nullptr, 0, 50, &DialogDriver::Tick);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        step_ = nullptr;
    }

private:
    static BOOL CALLBACK Find(HWND hwnd, LPARAM found) {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, int(std::size(name)));
        if (std::wstring(name) == L"#32770" && IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &DialogDriver::Find,
                          reinterpret_cast<LPARAM>(&dialog));
        if (dialog && step_ && step_(dialog))
            step_ = nullptr;
    }
    static inline std::function<bool(HWND)> step_;
    UINT_PTR timer_ = 0;
};

TEST_F(ColorButtonTest, OtherColorsOpensTheColourDialogAtTheSelectedColour) {
    button.SetSelectedColor(0x0066FF);
    selected.clear();
    OpenPalette();
    int shown[3] = {-1, -1, -1};
    {
        DialogDriver driver([&](HWND dialog) {
            shown[0] = int(GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE));
            shown[1] = int(GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE));
            shown[2] = int(GetDlgItemInt(dialog, COLOR_BLUE, nullptr, FALSE));
            SetDlgItemInt(dialog, COLOR_RED, 1, FALSE);
            SetDlgItemInt(dialog, COLOR_GREEN, 2, FALSE);
            SetDlgItemInt(dialog, COLOR_BLUE, 3, FALSE);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return true;
        });
        Click(button.Palette().Other().Handle());
    }
    EXPECT_FALSE(PaletteVisible()) << "hidden before the dialog opened";
    EXPECT_EQ(RGB(shown[0], shown[1], shown[2]), RGB(0xFF, 0x66, 0x00));
    EXPECT_EQ(button.SelectedColor(), TColor(RGB(1, 2, 3)));
    EXPECT_EQ(selected, (std::vector<TColor>{TColor(RGB(1, 2, 3))}));
    EXPECT_EQ(DownCount(), 0) << "a colour of no palette button";

    // Cancelled: nothing changes.
    OpenPalette();
    {
        DialogDriver driver(
            [](HWND dialog) { return PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0) != FALSE; });
        Click(button.Palette().Other().Handle());
    }
    EXPECT_EQ(button.SelectedColor(), TColor(RGB(1, 2, 3)));
    EXPECT_EQ(selected.size(), 1u);
}

TEST_F(ColorButtonTest, CustomColorsTravelAsAStringList) {
    std::vector<std::string> list = button.CustomColors();
    ASSERT_EQ(list.size(), 16u);
    EXPECT_EQ(list[0], "ColorA=FFFFFF");
    button.SetCustomColors({"ColorA=0080FF", "ColorP=123456"});
    list = button.CustomColors();
    EXPECT_EQ(list[0], "ColorA=0080FF");
    EXPECT_EQ(list[1], "ColorB=FFFFFF");
    EXPECT_EQ(list[15], "ColorP=123456");
}

TEST_F(ColorButtonTest, DestroyingTheButtonHidesItsPalette) {
    auto second = std::make_unique<TColorButton>();
    second->Create(form.Handle(), 100, 30);
    second->DropDown();
    HWND palette = second->Palette().Handle();
    ASSERT_TRUE(IsWindowVisible(palette));
    second.reset();
    EXPECT_FALSE(IsWindow(palette));
}

} // namespace
} // namespace brevalo::controls
