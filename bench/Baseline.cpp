// The baseline the timer is measured against: the least a Win32 program needs
// to show a countdown. One window, a text label redrawn from a 200 ms
// SetTimer, the registered "WM_TIME_UP" broadcast at zero, then it closes.
//
//   bench_baseline /q<seconds> | /t"M/d/yyyy h:mm:ss AM"  [/c<caption>]
#include "BenchText.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

using brevalo::bench::ClockTime;

constexpr UINT_PTR TickTimer = 1;
constexpr long long TicksPerSecond = 10'000'000; // FILETIME units
// The same digit colour on black as the timer's default.
constexpr COLORREF TextColour = RGB(0x00, 0x80, 0xFF);

struct State {
    long long end = 0; // local time as FILETIME ticks
    std::wstring caption = L"Timer";
    std::wstring text;
    HFONT font = nullptr;
    UINT timeUp = 0;
} g;

long long ToTicks(const SYSTEMTIME& st) {
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft))
        return -1;
    return (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

long long LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return ToTicks(st);
}

std::wstring RemainingText(long long remaining) {
    const long long seconds = remaining / TicksPerSecond;
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return buffer;
}

void SetText(HWND window, std::wstring text) {
    if (text == g.text)
        return;
    g.text = std::move(text);
    InvalidateRect(window, nullptr, TRUE);
}

void Tick(HWND window) {
    const long long remaining = g.end - LocalNow();
    if (remaining >= 0) {
        SetText(window, RemainingText(remaining));
        return;
    }
    KillTimer(window, TickTimer);
    SetText(window, RemainingText(0));
    UpdateWindow(window);
    // Receivers read the caption from the atom and delete it.
    PostMessageW(HWND_BROADCAST, g.timeUp, GlobalAddAtomW(g.caption.c_str()), 0);
    DestroyWindow(window);
}

void Resize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    if (g.font)
        DeleteObject(g.font);
    g.font = CreateFontW(-(client.bottom / 4), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH, L"Tahoma");
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    const HGDIOBJ old = SelectObject(dc, g.font);
    SetTextColor(dc, TextColour);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, g.text.c_str(), int(g.text.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_CREATE:
            // The first text at once; an end already past completes on the
            // first tick.
            Resize(window);
            SetText(window, RemainingText(std::max(0LL, g.end - LocalNow())));
            SetTimer(window, TickTimer, 200, nullptr);
            return 0;
        case WM_SIZE:
            Resize(window);
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_TIMER:
            if (wParam == TickTimer)
                Tick(window);
            return 0;
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
    } catch (...) {
        // Out of memory for a string: skip this message, keep counting.
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The first two characters of the argument, the second in lower case.
bool IsSwitch(const std::wstring& arg, wchar_t letter) {
    return arg.size() >= 2 && arg[0] == L'/' && towlower(arg[1]) == letter;
}

bool ParseArguments() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args)
        return false;
    bool haveEnd = false;
    for (int i = 1; i < count; ++i) {
        const std::wstring arg = args[i];
        const std::wstring value = arg.size() > 2 ? arg.substr(2) : std::wstring();
        if (IsSwitch(arg, L'q')) {
            wchar_t* rest = nullptr;
            const long seconds = std::wcstol(value.c_str(), &rest, 10);
            if (value.empty() || *rest)
                break;
            g.end = LocalNow() + seconds * TicksPerSecond;
            haveEnd = true;
        } else if (IsSwitch(arg, L't')) {
            const std::string narrow(value.begin(), value.end()); // the text is ASCII
            const auto end = brevalo::bench::ParseEndText(narrow);
            if (!end)
                break;
            SYSTEMTIME st{};
            st.wYear = WORD(end->year);
            st.wMonth = WORD(end->month);
            st.wDay = WORD(end->day);
            st.wHour = WORD(end->hour);
            st.wMinute = WORD(end->minute);
            st.wSecond = WORD(end->second);
            g.end = ToTicks(st);
            haveEnd = g.end >= 0;
        } else if (IsSwitch(arg, L'c')) {
            g.caption = value;
        }
    }
    LocalFree(args);
    return haveEnd;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    if (!ParseArguments())
        return 2;
    g.timeUp = RegisterWindowMessageW(L"WM_TIME_UP");

    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"BenchBaseline";
    if (!RegisterClassW(&wc))
        return 1;

    // Placed and sized as the timer places its window.
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const int width = (sw / 4) * 3;
    const int height = (sh / 3) * 2;
    HWND window = CreateWindowExW(WS_EX_APPWINDOW, wc.lpszClassName, g.caption.c_str(),
                                  WS_OVERLAPPEDWINDOW, sw / 2 - width / 2, sh / 3 - height / 3,
                                  width, height, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (g.font)
        DeleteObject(g.font);
    return int(msg.wParam);
}
