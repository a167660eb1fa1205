// A timer window on a real window for the Windows-side tests, counting with
// the test's own clock, and the message pumping and keys that drive it.
#pragma once

#include "Application.h"
#include "DateTime.h"
#include "Unit1.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace brevalo::testsupport {

class TimerWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }

    // A timer window on the given switches, counting with the test's clock.
    std::unique_ptr<TForm1> Open(const std::string& switches) {
        auto form = std::make_unique<TForm1>();
        form->NowSource = [this] { return now; };
        form->TickSource = [this] { return tick; };
        form->FormCreate(CommandLine("\"Brevalo.exe\" " + switches));
        ShowWindow(form->Handle(), SW_SHOWNORMAL);
        Pump();
        return form;
    }

    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    void Advance(double seconds) {
        now = AddSeconds(now, 0) + seconds / 86400.0;
        tick += std::uint32_t(seconds * 1000);
    }

    void KeyUp(TForm1& form, WORD key) {
        SendMessageW(form.Handle(), WM_KEYUP, key, 0);
        Pump();
    }

    DateTime now = *EncodeDateTime({2026, 12, 8, 12, 0, 0, 0});
    std::uint32_t tick = 1'000'000;
};

} // namespace brevalo::testsupport
