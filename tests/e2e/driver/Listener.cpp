#include "Listener.h"

#include <thread>

namespace brevalo::e2e {

BroadcastListener::BroadcastListener() {
    timeUp_ = RegisterWindowMessageW(L"WM_TIME_UP");
    stopped_ = RegisterWindowMessageW(L"WM_TIMER_STOPPED");
    WNDCLASSW wc{};
    wc.lpfnWndProc = &BroadcastListener::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrevaloBroadcastListener";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                            nullptr, wc.hInstance, this);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

BroadcastListener::~BroadcastListener() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

LRESULT CALLBACK BroadcastListener::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* self = reinterpret_cast<BroadcastListener*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && (message == self->timeUp_ || message == self->stopped_)) {
        wchar_t name[256] = {};
        const UINT length = GlobalGetAtomNameW(ATOM(wParam), name, 256);
        self->received_.push_back({message == self->timeUp_ ? L"WM_TIME_UP" : L"WM_TIMER_STOPPED",
                                   std::wstring(name, length)});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void BroadcastListener::Pump(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < deadline);
}

bool BroadcastListener::WaitFor(const std::wstring& message, std::chrono::milliseconds timeout,
                                std::wstring* name) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        for (const Received& r : received_) {
            if (r.message == message) {
                if (name)
                    *name = r.name;
                return true;
            }
        }
        Pump(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

} // namespace brevalo::e2e
