// The driver's window search, screen read-back and broadcast listener,
// checked against windows of the test itself.
#include "DriverSupport.h"

#include <gtest/gtest.h>

namespace brevalo::bench {
namespace {

constexpr COLORREF Digit = RGB(0x00, 0x80, 0xFF);

// Black client area with one rectangle of the digit colour.
LRESULT CALLBACK PaintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH brush = CreateSolidBrush(Digit);
    const RECT block{10, 10, 50, 40}; // 40 x 30
    FillRect(dc, &block, brush);
    DeleteObject(brush);
    EndPaint(window, &ps);
    return 0;
}

class TestWindow {
public:
    TestWindow(int x, int y, int width, int height, bool visible) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &PaintProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BenchSupportTest";
        RegisterClassW(&wc); // fails harmlessly when already registered
        window_ = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP, x, y, width,
                                  height, nullptr, nullptr, wc.hInstance, nullptr);
        if (visible) {
            ShowWindow(window_, SW_SHOWNOACTIVATE);
            UpdateWindow(window_);
        }
    }
    ~TestWindow() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }

private:
    HWND window_;
};

TEST(DriverScreen, CountsExactlyThePaintedPixelsOfTheClientArea) {
    TestWindow window(200, 150, 120, 80, true);
    // The display catches up with the paint after a moment.
    int count = -1;
    for (int i = 0; i < 100 && count != 1200; ++i) {
        PumpMessages(20);
        count = CountClientPixels(window.Handle(), {0x00, 0x80, 0xFF}, 0);
    }
    EXPECT_EQ(count, 1200);
    EXPECT_EQ(CountClientPixels(window.Handle(), {0xFF, 0x80, 0x00}, 40), 0);
}

TEST(DriverScreen, FindsTheLargestVisibleWindowOfTheProcess) {
    TestWindow small(0, 0, 50, 50, true);
    TestWindow large(60, 0, 200, 100, true);
    TestWindow hidden(0, 200, 400, 300, false);
    EXPECT_EQ(FindMainWindow(GetCurrentProcessId()), large.Handle());
    EXPECT_EQ(FindMainWindow(0xFFFFFFF0), nullptr);
}

TEST(DriverListener, KeepsEachArrivalByItsNameAndDeletesTheAtoms) {
    TimeUpListener listener;
    const UINT message = RegisterWindowMessageW(L"WM_TIME_UP");
    const long long before = LocalNowTicks();
    PostMessageW(HWND_BROADCAST, message, GlobalAddAtomW(L"Other timer"), 0);
    PostMessageW(HWND_BROADCAST, message, GlobalAddAtomW(L"Bench"), 0);
    for (int i = 0; i < 50 && !listener.Find(L"Bench"); ++i)
        PumpMessages(20);
    const long long after = LocalNowTicks();

    const auto arrival = listener.Find(L"Bench");
    ASSERT_TRUE(arrival);
    EXPECT_GE(arrival->localTicks, before);
    EXPECT_LE(arrival->localTicks, after);
    EXPECT_TRUE(listener.Find(L"Other timer"));
    EXPECT_FALSE(listener.Find(L"Nobody"));
    EXPECT_EQ(GlobalFindAtomW(L"Bench"), 0);
    EXPECT_EQ(GlobalFindAtomW(L"Other timer"), 0);
    listener.Clear();
    EXPECT_FALSE(listener.Find(L"Bench"));
}

} // namespace
} // namespace brevalo::bench
