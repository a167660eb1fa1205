// The spin edit on real windows: the value and its text, clamping when the
// focus leaves, the keys and the character filter, cut and paste, the layout
// of the arrows, the auto-repeating arrow buttons, and the dialog font
// chosen by the reported version of Windows.
#include "Application.h"
#include "Form.h"
#include "Spin.h"
#include "uVistaFuncs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>

// Rectangles compare in the layout checks.
inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

namespace brevalo::controls {
namespace {

class HostForm : public gui::Form {
public:
    void Create() {
        CreateParams params;
        params.className = L"SpinHost";
        params.caption = L"Host";
        params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        params.x = 100;
        params.y = 100;
        params.width = 400;
        params.height = 300;
        CreateHandle(params);
        Show(SW_SHOW);
        SetForegroundWindow(Handle());
    }
};

class SpinTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    void SetUp() override {
        form.Create();
        spin.Create(form.Handle(), 16, 48, 113, 22);
        other = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 16, 100, 100,
                                22, form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        spin.OnChange = [this](TSpinEdit&) { ++changes; };
    }
    void TearDown() override { gui::Application::Instance().SetExceptionHandler(nullptr); }

    static void Pump() { gui::Application::Instance().ProcessMessages(); }
    void Type(const std::wstring& keys) {
        for (wchar_t c : keys)
            SendMessageW(spin.Handle(), WM_CHAR, c, 1);
    }
    void Key(WORD key) { SendMessageW(spin.Handle(), WM_KEYDOWN, key, 1); }
    // Moves the focus into the spin edit and out again.
    void EnterAndLeave() {
        SetFocus(spin.Handle());
        SetFocus(other);
    }
    static RECT ChildBounds(HWND child) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    HostForm form;
    TSpinEdit spin;
    HWND other = nullptr;
    int changes = 0;
};

TEST_F(SpinTest, StartsAtZeroWithNoLimitsAndTakesAnyInteger) {
    EXPECT_EQ(spin.Text(), "0");
    EXPECT_EQ(spin.Value(), 0);
    EXPECT_EQ(spin.MinValue(), 0);
    EXPECT_EQ(spin.MaxValue(), 0);
    EXPECT_EQ(spin.Increment(), 1);
    EXPECT_TRUE(spin.EditorEnabled());
    EXPECT_FALSE(spin.ReadOnly());
    EXPECT_TRUE(spin.AutoSelect());
    EXPECT_EQ(spin.MaxLength(), 0);
    spin.SetValue(-250);
    EXPECT_EQ(spin.Text(), "-250");
    spin.SetValue(2147483647);
    EXPECT_EQ(spin.Value(), 2147483647);
    spin.UpClick();
    EXPECT_EQ(spin.Value(), 2147483647) << "no wrap-around";
}

TEST_F(SpinTest, TextThatIsNoNumberReadsAsTheMinimumAndLeavingClampsTheText) {
    // No limits: "12a" reads as 0 and stays as typed.
    spin.SetText("12a");
    EXPECT_EQ(spin.Value(), 0);
    EnterAndLeave();
    EXPECT_EQ(spin.Text(), "12a");

    // Limits 1..10: 15 becomes 10 when the focus leaves.
    spin.SetMinValue(1);
    spin.SetMaxValue(10);
    spin.SetText("15");
    EXPECT_EQ(spin.Value(), 15) << "reading does not clamp";
    EnterAndLeave();
    EXPECT_EQ(spin.Text(), "10");
    spin.SetText("-4");
    EnterAndLeave();
    EXPECT_EQ(spin.Text(), "1");
    // Not a number reads as the minimum, which needs no clamping.
    spin.SetText("12a");
    EXPECT_EQ(spin.Value(), 1);
    EnterAndLeave();
    EXPECT_EQ(spin.Text(), "12a");
    // Writing clamps at once.
    spin.SetValue(99);
    EXPECT_EQ(spin.Text(), "10");
}

TEST_F(SpinTest, UpAndDownStepByTheIncrementUnlessReadOnly) {
    spin.SetIncrement(5);
    Key(VK_UP);
    EXPECT_EQ(spin.Text(), "5");
    Key(VK_UP);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(spin.Text(), "-5");
    // Steps start from what the text reads as.
    spin.SetText("abc");
    Key(VK_UP);
    EXPECT_EQ(spin.Text(), "5");
    spin.SetMinValue(0);
    spin.SetMaxValue(12);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(spin.Text(), "12");

    spin.SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongW(spin.Handle(), GWL_STYLE) & ES_READONLY);
    Key(VK_DOWN);
    spin.DownClick();
    EXPECT_EQ(spin.Text(), "12");
}

TEST_F(SpinTest, TypedCharactersAreFilteredAndTheEditorCanBeSwitchedOff) {
    spin.SetText("");
    Type(L"-12a3b+");
    EXPECT_EQ(spin.Text(), "-123+");
    Type(L"\r");
    EXPECT_EQ(spin.Text(), "-123+") << "carriage return is refused";
    Type(L"\b\b");
    EXPECT_EQ(spin.Text(), "-12");

    spin.SetEditorEnabled(false);
    Type(L"45\b");
    EXPECT_EQ(spin.Text(), "-12");
    SendMessageW(spin.Handle(), EM_SETSEL, 0, 1);
    Key(VK_DELETE);
    EXPECT_EQ(spin.Text(), "-12");
    // The arrows still work.
    Key(VK_UP);
    EXPECT_EQ(spin.Text(), "-11");
}

TEST_F(SpinTest, TheLocalesDecimalSeparatorIsAccepted) {
    wchar_t separator[8] = L".";
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    spin.SetText("");
    Type(std::wstring(L"1") + separator[0] + L"5");
    EXPECT_EQ(spin.Text(), std::string("1") + char(separator[0]) + "5");
    EXPECT_EQ(spin.Value(), 0) << "a decimal number is no integer";
}

bool PutOnClipboard(HWND owner, const wchar_t* text) {
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    const bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return ok;
}

TEST_F(SpinTest, CutAndPasteNeedTheEditorAndNoReadOnly) {
    ASSERT_TRUE(PutOnClipboard(form.Handle(), L"77"));
    spin.SetText("5");
    SendMessageW(spin.Handle(), EM_SETSEL, 1, 1);
    SendMessageW(spin.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin.Text(), "577");

    spin.SetEditorEnabled(false);
    SendMessageW(spin.Handle(), WM_PASTE, 0, 0);
    Type(L"\x16"); // Ctrl+V
    SendMessageW(spin.Handle(), EM_SETSEL, 0, -1);
    SendMessageW(spin.Handle(), WM_CUT, 0, 0);
    Type(L"\x18"); // Ctrl+X
    EXPECT_EQ(spin.Text(), "577");

    spin.SetEditorEnabled(true);
    spin.SetReadOnly(true);
    SendMessageW(spin.Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(spin.Text(), "577");
    spin.SetReadOnly(false);
    SendMessageW(spin.Handle(), EM_SETSEL, 0, -1);
    SendMessageW(spin.Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(spin.Text(), "");

    // Pasted text that is no number reads as the minimum.
    ASSERT_TRUE(PutOnClipboard(form.Handle(), L"12a"));
    SendMessageW(spin.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin.Text(), "12a");
    EXPECT_EQ(spin.Value(), 0);
}

TEST_F(SpinTest, FocusFromTheKeyboardSelectsAllTheText) {
    spin.SetValue(1234);
    SetFocus(spin.Handle());
    DWORD start = 0, end = 0;
    SendMessageW(spin.Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);

    SetFocus(other);
    SendMessageW(spin.Handle(), EM_SETSEL, 2, 2);
    spin.SetAutoSelect(false);
    SetFocus(spin.Handle());
    SendMessageW(spin.Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(end - start, 0u);
}

TEST_F(SpinTest, ChangesOfTheTextAreReported) {
    changes = 0;
    spin.SetValue(3);
    EXPECT_EQ(changes, 1);
    spin.SetValue(3);
    EXPECT_EQ(changes, 1) << "the same text is no change";
    SendMessageW(spin.Handle(), EM_SETSEL, 1, 1);
    Type(L"4");
    EXPECT_EQ(changes, 2);
    Key(VK_UP);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(spin.Value(), 35);
}

int TextHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

TEST_F(SpinTest, TheArrowsSitAtTheRightEdgeAndTheTextStopsBeforeThem) {
    // The advanced dialog's spin edit: 113 x 22 in an 8-point font.
    HFONT font =
        CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    SendMessageW(spin.Handle(), WM_SETFONT, WPARAM(font), TRUE);
    spin.SetBounds(16, 48, 113, 22);
    RECT window{};
    GetWindowRect(spin.Handle(), &window);
    const int height = window.bottom - window.top;
    EXPECT_EQ(window.right - window.left, 113);
    EXPECT_LE(height, 24) << "an 8-point font fits in about 22 pixels";

    HWND arrows = spin.Button().Handle();
    ASSERT_EQ(GetParent(arrows), spin.Handle());
    // Sunken: the arrows at (width - 15 - 5, 0), 15 wide, height - 5 high.
    EXPECT_EQ(ChildBounds(arrows), (RECT{113 - 15 - 5, 0, 113 - 5, height - 5}));
    RECT format{};
    SendMessageW(spin.Handle(), EM_GETRECT, 0, LPARAM(&format));
    EXPECT_LE(format.right, 109 - 15 - 2);
    EXPECT_TRUE(GetWindowLongW(spin.Handle(), GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(GetWindowLongW(spin.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    // The up arrow takes the upper half, the down arrow overlaps it by one.
    const int half = (height - 5) / 2;
    EXPECT_EQ(ChildBounds(spin.Button().UpButton().Handle()), (RECT{0, 0, 15, half}));
    EXPECT_EQ(ChildBounds(spin.Button().DownButton().Handle()),
              (RECT{0, half - 1, 15, height - 5}));

    // Without the 3-D look: at (width - 15, 1), height - 3.
    TSpinEdit flat;
    flat.Create(form.Handle(), 200, 48, 100, 40, 0, false);
    EXPECT_EQ(ChildBounds(flat.Button().Handle()), (RECT{85, 1, 100, 38}));
    DestroyWindow(spin.Handle());
    DeleteObject(font);
}

TEST_F(SpinTest, TheEditIsNeverLowerThanItsFontNeeds) {
    HFONT system = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    const int border = GetSystemMetrics(SM_CYBORDER);
    spin.SetBounds(16, 48, 113, 5);
    RECT r{};
    GetWindowRect(spin.Handle(), &r);
    // Without a font of its own the edit uses the system font.
    const int systemHeight = TextHeight(system);
    EXPECT_EQ(r.bottom - r.top, 4 * border + systemHeight + systemHeight / 4 + 2);

    // A larger font raises the least height; the smaller system font counts
    // in the quarter.
    HFONT big =
        CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    SendMessageW(spin.Handle(), WM_SETFONT, WPARAM(big), TRUE);
    GetWindowRect(spin.Handle(), &r);
    const int bigHeight = TextHeight(big);
    EXPECT_EQ(r.bottom - r.top, 4 * border + bigHeight + systemHeight / 4 + 2);
    // A taller edit than needed stays as it is.
    spin.SetBounds(16, 48, 113, 90);
    GetWindowRect(spin.Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, 90);
    // The arrows follow the new height.
    EXPECT_EQ(ChildBounds(spin.Button().Handle()).bottom, 90 - 5);
    DestroyWindow(spin.Handle());
    DeleteObject(big);
}

// Presses an arrow as the mouse does, keeps it pressed while the message loop
// runs until `until` holds or the time is up, and releases it.
template <typename Until>
std::chrono::milliseconds HoldArrow(TSpeedButton& arrow, Until until, int limitMs) {
    const auto start = std::chrono::steady_clock::now();
    SendMessageW(arrow.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    while (!until() &&
           std::chrono::steady_clock::now() - start < std::chrono::milliseconds(limitMs)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        gui::Application::Instance().ProcessMessages();
    }
    const auto held = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    SendMessageW(arrow.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    return held;
}

TEST_F(SpinTest, PressingAnArrowStepsAtOnceAndFocusesTheEdit) {
    SetFocus(other);
    SendMessageW(spin.Button().UpButton().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(spin.Text(), "1") << "one step on the press";
    EXPECT_EQ(GetFocus(), spin.Handle());
    EXPECT_EQ(GetCapture(), spin.Button().UpButton().Handle());
    SendMessageW(spin.Button().UpButton().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(spin.Text(), "1") << "none on the release";
    EXPECT_EQ(GetCapture(), nullptr);

    SendMessageW(spin.Button().DownButton().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(spin.Button().DownButton().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(spin.Text(), "0");
    // Released outside the arrow: still the one step of the press.
    SendMessageW(spin.Button().DownButton().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(spin.Button().DownButton().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(-50, 4));
    EXPECT_EQ(spin.Text(), "-1");
}

TEST_F(SpinTest, HoldingAnArrowRepeatsAfterTheFirstDelayAndStopsOnRelease) {
    const auto value = [this] { return spin.Value(); };
    // Held briefly: only the step of the press.
    const auto brief = HoldArrow(
        spin.Button().UpButton(), [] { return false; }, 150);
    if (brief.count() < int(SpinRepeatFirstDelay)) {
        EXPECT_EQ(value(), 1);
    }

    // Held until four more steps came: the first repeat after at least the delay.
    spin.SetValue(0);
    std::chrono::milliseconds firstRepeat{0};
    const auto start = std::chrono::steady_clock::now();
    const auto held = HoldArrow(
        spin.Button().UpButton(),
        [&] {
            if (value() >= 2 && firstRepeat.count() == 0)
                firstRepeat = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start);
            return value() >= 5;
        },
        10000);
    ASSERT_GE(value(), 5) << "held " << held.count() << " ms";
    EXPECT_GE(firstRepeat.count(), int(SpinRepeatFirstDelay) - 20);
    // Four steps took at least the delay and three intervals.
    EXPECT_GE(held.count(), int(SpinRepeatFirstDelay + 3 * SpinRepeatInterval) - 40);

    // Released: no more steps.
    const int released = value();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    EXPECT_EQ(value(), released);
}

TEST_F(SpinTest, AnErrorInARepeatedStepStopsTheRepeat) {
    std::string reported;
    gui::Application::Instance().SetExceptionHandler(
        [&](std::exception_ptr e) { reported = gui::Application::ExceptionMessage(e); });
    int steps = 0;
    spin.Button().OnUpClick = [&](TSpinButton&) {
        if (++steps == 2)
            throw std::runtime_error("step failed");
    };
    // Held until the failing step, then for four more intervals.
    std::chrono::steady_clock::time_point failed{};
    HoldArrow(
        spin.Button().UpButton(),
        [&] {
            const auto now = std::chrono::steady_clock::now();
            if (steps >= 2 && failed == std::chrono::steady_clock::time_point{})
                failed = now;
            return steps >= 2 && now - failed > std::chrono::milliseconds(4 * SpinRepeatInterval);
        },
        10000);
    EXPECT_EQ(reported, "step failed");
    EXPECT_EQ(steps, 2) << "no step after the failing one";
}

TEST_F(SpinTest, AFocusableSpinButtonAnswersSpaceAndTheArrowKeys) {
    TSpinButton arrows;
    arrows.Create(form.Handle(), 200, 150, 15, 30, true);
    int ups = 0, downs = 0;
    arrows.OnUpClick = [&](TSpinButton&) { ++ups; };
    arrows.OnDownClick = [&](TSpinButton&) { ++downs; };
    SetFocus(arrows.Handle());
    EXPECT_TRUE(arrows.UpButton().FocusRect()) << "the focused arrow shows the focus";
    SendMessageW(arrows.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(ups, 1);
    SendMessageW(arrows.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(&arrows.FocusedButton(), &arrows.DownButton());
    EXPECT_TRUE(arrows.DownButton().FocusRect());
    EXPECT_FALSE(arrows.UpButton().FocusRect());
    SendMessageW(arrows.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(downs, 2);
    SendMessageW(arrows.Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(ups, 2);
    SetFocus(other);
    EXPECT_FALSE(arrows.UpButton().FocusRect());

    // With no focus control, a press focuses the spin button itself.
    SendMessageW(arrows.DownButton().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(arrows.DownButton().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(GetFocus(), arrows.Handle());
    EXPECT_EQ(&arrows.FocusedButton(), &arrows.DownButton());
    EXPECT_EQ(downs, 3);

    // The width never goes below 15.
    TSpinButton narrow;
    narrow.Create(form.Handle(), 250, 150, 6, 20);
    RECT r{};
    GetWindowRect(narrow.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 15);
}

TEST(SystemFont, TheReportedVersionIsTheRealOneAndChoosesTheFont) {
    // The manifest's list of supported versions keeps GetVersionEx from
    // reporting an older version than the system's own.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    ASSERT_TRUE(rtlGetVersion);
    OSVERSIONINFOW real{sizeof real};
    ASSERT_EQ(rtlGetVersion(&real), 0);
    const WindowsVersion reported = ReportedWindowsVersion();
    EXPECT_EQ(reported.major, real.dwMajorVersion);
    EXPECT_EQ(reported.minor, real.dwMinorVersion);

    DialogFont font{"MS Sans Serif", 8};
    AdjustSystemFont(font);
    EXPECT_EQ(font, AdjustedDialogFont({"MS Sans Serif", 8}, reported.major, reported.minor));

    const base::Font created = CreateDialogFont({"Tahoma", 9}, 96);
    LOGFONTW description{};
    ASSERT_TRUE(GetObjectW(created.Get(), sizeof description, &description));
    EXPECT_EQ(description.lfHeight, -12);
    EXPECT_STREQ(description.lfFaceName, L"Tahoma");
    const base::Font large = CreateDialogFont({"Segoe UI", 9}, 144);
    GetObjectW(large.Get(), sizeof description, &description);
    EXPECT_EQ(description.lfHeight, -18);
}

} // namespace
} // namespace brevalo::controls
