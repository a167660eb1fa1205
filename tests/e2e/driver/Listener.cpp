#include "Listener.h"

#include <thread>

namespace brevalo::e2e {

BroadcastListener::BroadcastListener()
    : window_({L"WM_TIME_UP", L"WM_TIMER_STOPPED"}, [this](UINT message, ATOM atom) {
          received_.push_back({message == window_.Message(0) ? L"WM_TIME_UP" : L"WM_TIMER_STOPPED",
                               testsupport::AtomText(atom)});
      }) {}

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
