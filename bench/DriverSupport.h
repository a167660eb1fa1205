// What the benchmark driver needs from Windows: a clock, child processes,
// the child's window and its pixels, and a listener for the completion
// broadcast.
#pragma once

#include "BroadcastWindow.h"
#include "DigitPixels.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brevalo::bench {

// Milliseconds of a steady clock.
double NowMs();
// The local wall-clock time in FILETIME units (100 ns), the clock both
// programs count against.
long long LocalNowTicks();
SYSTEMTIME TicksToSystemTime(long long ticks);

// Handles every queued message, waiting at most timeoutMs for the first.
// Sent messages (broadcasts of the children) are answered here too.
void PumpMessages(DWORD timeoutMs);

class Child {
public:
    // Starts the command line (program path quoted first); false on failure.
    // `cpuToken`: an argument of this child's alone, by which CpuMs finds
    // its Linux process and reads the scheduler's exact account.
    bool Start(const std::wstring& commandLine, std::string cpuToken = {});
    ~Child();

    DWORD Pid() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }
    bool Running() const;
    // Waits, pumping messages, until the process has ended.
    bool WaitExit(DWORD timeoutMs);
    // Asks the window to close, then ends the process if it stays.
    void Stop();
    // Kernel plus user time so far, in milliseconds; negative on failure.
    // From Linux's scheduler where the child's process is found (see Start),
    // else from Wine's thread times.
    double CpuMs() const;
    // Looks for the child's Linux process once (a walk over /proc); CpuMs
    // does it at its first call. A measure calls it for all its children
    // before its first readings, so that these come close together.
    void FindCpuClock() const;
    bool PreciseCpu() const { return unixPid_ > 0; }
    // Peak working set in bytes; negative on failure.
    double PeakWorkingSet() const;

private:
    PROCESS_INFORMATION info_{};
    std::string cpuToken_;
    mutable int unixPid_ = 0; // 0: not looked for yet; -1: not found
};

// The process's largest visible top-level window, or null.
HWND FindMainWindow(DWORD pid);
// Pixels of the colour in the window's client area, read back from the
// screen; -1 when the capture failed.
int CountClientPixels(HWND window, Rgb colour, int tolerance);
// The client area's pixels as they are on the screen (top-down rows of
// 0x00RRGGBB), or those of a part of it (client coordinates); false when
// the capture failed.
bool CaptureClient(HWND window, std::vector<std::uint32_t>& pixels, int& width, int& height,
                   const Box* part = nullptr);
// The signature of those pixels, none when the capture failed.
std::optional<std::uint64_t> ClientSignature(HWND window, const Box* part = nullptr);

// A hidden top-level window that receives the registered "WM_TIME_UP"
// broadcast and notes when it arrived.
class TimeUpListener {
public:
    struct Arrival {
        long long localTicks;
        double steadyMs;
        std::wstring name;
    };

    TimeUpListener();
    TimeUpListener(const TimeUpListener&) = delete;
    TimeUpListener& operator=(const TimeUpListener&) = delete;

    void Clear() { arrivals_.clear(); }
    // The first arrival whose atom held the name.
    std::optional<Arrival> Find(const std::wstring& name) const;

private:
    std::vector<Arrival> arrivals_;
    testsupport::BroadcastWindow window_;
};

} // namespace brevalo::bench
