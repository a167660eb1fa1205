// A hidden top-level window (broadcasts reach only top-level windows) that
// hears registered messages posted to HWND_BROADCAST and hands each, with the
// atom it carries, to a handler. The end-to-end tests and the benchmark
// driver listen with it for the timer's broadcasts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace brevalo::testsupport {

class BroadcastWindow {
public:
    using Handler = std::function<void(UINT message, ATOM atom)>;

    BroadcastWindow(const std::vector<std::wstring>& messageNames, Handler handler)
        : handler_(std::move(handler)) {
        for (const std::wstring& name : messageNames)
            messages_.push_back(RegisterWindowMessageW(name.c_str()));
        WNDCLASSW wc{};
        wc.lpfnWndProc = &WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BrevaloBroadcastListener";
        RegisterClassW(&wc); // fails harmlessly when already registered
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"listener", WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, wc.hInstance, this);
    }
    BroadcastWindow(const BroadcastWindow&) = delete;
    BroadcastWindow& operator=(const BroadcastWindow&) = delete;
    ~BroadcastWindow() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }

    // The registered number of the index-th message name.
    UINT Message(std::size_t index) const { return messages_.at(index); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<BroadcastWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message >= 0xC000) { // registered messages only
            for (UINT wanted : self->messages_) {
                if (message == wanted) {
                    try {
                        self->handler_(message, ATOM(wParam));
                    } catch (...) {
                        // Out of memory in the handler: the broadcast is lost,
                        // which the caller sees as one missing.
                    }
                    return 0;
                }
            }
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    std::vector<UINT> messages_;
    Handler handler_;
    HWND hwnd_ = nullptr;
};

// The text of a broadcast's atom (empty for none).
inline std::wstring AtomText(ATOM atom) {
    wchar_t name[256] = {};
    const UINT length = atom ? GlobalGetAtomNameW(atom, name, 256) : 0;
    return std::wstring(name, length);
}

} // namespace brevalo::testsupport
