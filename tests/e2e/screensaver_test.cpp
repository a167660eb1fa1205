// The screen saver around a timer. Its state is the display's, shared by
// every program on it, so this program runs alone (RUN_SERIAL): another
// timer counting at the same time would hold the screen saver off too.
#include "Driver.h"
#include "Listener.h"

#include <gtest/gtest.h>

namespace brevalo::e2e {
namespace {

bool ScreenSaverActive() {
    BOOL on = FALSE;
    SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &on, 0);
    return on != FALSE;
}

// The screen saver is off while a timer counts, and afterwards as it was
// before: a timer does not turn on a screen saver the user had off.
TEST(ScreenSaver, IsHeldOffWhileCountingAndThenLeftAsItWas) {
    for (const bool before : {true, false}) {
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, before, nullptr, 0));
        ASSERT_EQ(ScreenSaverActive(), before);
        BroadcastListener listener;
        Process timer = Process::Start(L"/q2 /u /s0 /cTea");
        ASSERT_TRUE(WaitForWindow(timer.Id(), IsTimerWindow));
        EXPECT_FALSE(ScreenSaverActive()) << before;
        ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s));
        EXPECT_TRUE(timer.WaitForExit(15s));
        EXPECT_EQ(ScreenSaverActive(), before);
    }
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}

} // namespace
} // namespace brevalo::e2e
