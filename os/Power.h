// What a timer asks of the system's power management so that its end action
// happens on time: no sleep on idle while it counts, and a wake-up at its end
// should the machine sleep anyway (lid, button, battery).
#pragma once

#include "DateTime.h"
#include "Handle.h"

#include <memory>
#include <optional>

namespace brevalo::os {

class PowerRequests {
public:
    virtual ~PowerRequests() = default;
    // Keeps the system from sleeping on idle, or lets it again. The display
    // may still turn off, and the screen saver keeps its own rules.
    virtual void KeepSystemAwake(bool awake) = 0;
    // Wakes the system at this local time where Windows allows wake timers;
    // nothing cancels an earlier wake-up.
    virtual void WakeAt(std::optional<DateTime> localTime) = 0;
};

// The system's: SetThreadExecutionState on the calling thread (the timer
// window's), and a waitable timer set to resume the system.
class SystemPowerRequests : public PowerRequests {
public:
    void KeepSystemAwake(bool awake) override;
    void WakeAt(std::optional<DateTime> localTime) override;

private:
    base::KernelHandle wakeTimer_;
};

std::unique_ptr<PowerRequests> CreateSystemPowerRequests();

} // namespace brevalo::os
