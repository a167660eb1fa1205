// The hidden window that hears the completion broadcast.
#include "DriverSupport.h"

namespace brevalo::bench {

namespace {

constexpr wchar_t ClassName[] = L"BenchTimeUpListener";

} // namespace

TimeUpListener::TimeUpListener() {
    message_ = RegisterWindowMessageW(L"WM_TIME_UP");
    WNDCLASSW wc{};
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = ClassName;
    RegisterClassW(&wc);
    // A top-level window (not message-only): broadcasts reach only those. It
    // is never shown.
    window_ = CreateWindowExW(0, ClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, this);
}

TimeUpListener::~TimeUpListener() {
    if (window_)
        DestroyWindow(window_);
}

std::optional<TimeUpListener::Arrival> TimeUpListener::Find(const std::wstring& name) const {
    for (const Arrival& a : arrivals_)
        if (a.name == name)
            return a;
    return std::nullopt;
}

LRESULT CALLBACK TimeUpListener::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TimeUpListener*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message != 0 && message == self->message_) {
        // The time first: everything after it is the listener's own cost.
        const long long local = LocalNowTicks();
        const double steady = NowMs();
        wchar_t name[256] = {};
        const ATOM atom = ATOM(wParam);
        if (atom) {
            GlobalGetAtomNameW(atom, name, 256);
            GlobalDeleteAtom(atom);
        }
        try {
            self->arrivals_.push_back({local, steady, name});
        } catch (...) {
            // Out of memory: the arrival is lost and the run counts as missed.
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace brevalo::bench
