// A hidden top-level window that records the broadcasts a timer posts.
#pragma once

#include "BroadcastWindow.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace brevalo::e2e {

class BroadcastListener {
public:
    BroadcastListener();
    BroadcastListener(const BroadcastListener&) = delete;
    BroadcastListener& operator=(const BroadcastListener&) = delete;

    struct Received {
        std::wstring message; // "WM_TIME_UP" or "WM_TIMER_STOPPED"
        std::wstring name;    // the atom's text
    };

    // Pumps messages until a broadcast of that name arrives; its atom's text,
    // or nothing when the time ran out.
    bool WaitFor(const std::wstring& message, std::chrono::milliseconds timeout,
                 std::wstring* name = nullptr);
    // Pumps messages for a while.
    void Pump(std::chrono::milliseconds duration);
    const std::vector<Received>& All() const noexcept { return received_; }

private:
    std::vector<Received> received_;
    testsupport::BroadcastWindow window_;
};

} // namespace brevalo::e2e
