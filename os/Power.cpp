#include "Power.h"

#include "Clock.h"

#include <windows.h>

namespace brevalo::os {

void SystemPowerRequests::KeepSystemAwake(bool awake) {
    SetThreadExecutionState(awake ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

void SystemPowerRequests::WakeAt(std::optional<DateTime> localTime) {
    if (!localTime) {
        if (wakeTimer_)
            CancelWaitableTimer(wakeTimer_.Get());
        return;
    }
    SYSTEMTIME local = ToSystemTime(*localTime), utc{};
    FILETIME due{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &due))
        return;
    if (!wakeTimer_)
        wakeTimer_.Reset(CreateWaitableTimerW(nullptr, TRUE, nullptr));
    if (!wakeTimer_)
        return;
    LARGE_INTEGER when;
    when.LowPart = due.dwLowDateTime;
    when.HighPart = LONG(due.dwHighDateTime);
    // Positive: an absolute time. Where wake timers are not allowed the
    // timer is set all the same (ERROR_NOT_SUPPORTED) and simply wakes
    // nothing; the hold against idle sleep still stands.
    SetWaitableTimer(wakeTimer_.Get(), &when, 0, nullptr, nullptr, TRUE);
}

std::unique_ptr<PowerRequests> CreateSystemPowerRequests() {
    return std::make_unique<SystemPowerRequests>();
}

} // namespace brevalo::os
