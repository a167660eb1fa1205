// A hidden top-level window that counts the font-change notices broadcast
// to all top-level windows, sent or posted.
#pragma once

#include <windows.h>

namespace brevalo::testsupport {

class FontChangeListener {
public:
    FontChangeListener() {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &FontChangeListener::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"FontChangeListener";
            return RegisterClassW(&wc);
        }();
        if (atom)
            hwnd_ = CreateWindowExW(0, L"FontChangeListener", L"listener", WS_OVERLAPPED, 0, 0, 100,
                                    100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        Count() = 0;
    }
    FontChangeListener(const FontChangeListener&) = delete;
    FontChangeListener& operator=(const FontChangeListener&) = delete;
    ~FontChangeListener() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }

    HWND Handle() const { return hwnd_; }
    // The notices received since the listener was made.
    static int& Count() {
        static int count = 0;
        return count;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_FONTCHANGE)
            ++Count();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

} // namespace brevalo::testsupport
