// Runs the timer and the baseline side by side and prints a Markdown table:
// CPU time per minute of counting, peak working set, start-up to the first
// painted digits, the completion latency (from the end moment to the
// "WM_TIME_UP" broadcast at a listener), how soon after each true second
// the seconds digit changes on the screen, and the CPU time of many timers
// counting at once.
//
//   bench_driver [--runs N] [--cpu-seconds S] [--lead S] [--seconds N] [--timers N]
//                [--loaded 0|1] [--timer exe] [--baseline exe]
#include "BenchReport.h"
#include "BenchText.h"
#include "DriverSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>

namespace {

using namespace brevalo::bench;

constexpr long long TicksPerSecond = 10'000'000;
// Both programs paint their digits in this colour on black.
constexpr Rgb DigitColour{0x00, 0x80, 0xFF};
constexpr int ColourTolerance = 40;
// A few stray pixels are not digits; one painted digit is thousands.
constexpr int MinDigitPixels = 30;
constexpr double StartupTimeoutMs = 60'000;

struct Options {
    int runs = 20;
    int cpuSeconds = 60;
    int leadSeconds = 4;
    int seconds = 60;
    int timers = 50;
    bool loaded = false;
    std::wstring timer;
    std::wstring baseline;
};

struct Program {
    const char* label;
    std::wstring exe;
    // Switches for a timer counting to the end text, and for a long count.
    std::wstring (*endSwitches)(const std::string& endText);
    std::wstring longSwitches;
    ProgramResults results;
};

std::wstring Widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string Narrow(const std::wstring& ascii) {
    return std::string(ascii.begin(), ascii.end());
}

std::wstring TimerSwitches(const std::string& endText) {
    // No update check, no sound; the name comes back in the broadcast.
    return L"/t\"" + Widen(endText) + L"\" /u /s0 /x1 /f0080FF /b000000 /cBench";
}

std::wstring BaselineSwitches(const std::string& endText) {
    return L"/t\"" + Widen(endText) + L"\" /cBench";
}

std::wstring ExeDir() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

std::int64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (std::int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool StartProgram(Child& child, const Program& program, const std::wstring& switches,
                  std::string cpuToken = {}) {
    if (child.Start(L"\"" + program.exe + L"\" " + switches, std::move(cpuToken)))
        return true;
    std::fprintf(stderr, "bench_driver: cannot start %ls (error %lu)\n", program.exe.c_str(),
                 GetLastError());
    return false;
}

// Starts a long count. Its caption (the last switch) ends in a number of its
// own, by which the child's Linux process is found for its CPU time.
bool StartLongCount(Child& child, const Program& program) {
    static int serial = 0;
    const std::wstring number = std::to_wstring(++serial);
    const std::wstring switches = program.longSwitches + number;
    const std::wstring caption = switches.substr(switches.rfind(L' ') + 1);
    return StartProgram(child, program, switches, Narrow(caption));
}

struct StartTimes {
    double window = NAN; // the first visible window
    double digits = NAN; // the first painted digits
};

// Polls (about every 2 ms) until the child's window shows digits; the times
// are counted from `start`, NaN when never reached.
StartTimes WaitForDigits(Child& child, double start) {
    StartTimes times;
    while (NowMs() - start < StartupTimeoutMs && child.Running()) {
        if (HWND window = FindMainWindow(child.Pid())) {
            if (std::isnan(times.window))
                times.window = NowMs() - start;
            if (CountClientPixels(window, DigitColour, ColourTolerance) >= MinDigitPixels) {
                times.digits = NowMs() - start;
                break;
            }
        }
        PumpMessages(2);
    }
    return times;
}

// Both programs count for a long time at once; CPU is taken over the same
// stretch of wall-clock time once both show digits.
void MeasureCpu(Program& timer, Program& baseline, int seconds) {
    Child children[2];
    Program* programs[2] = {&timer, &baseline};
    for (int i = 0; i < 2; ++i) {
        const double start = NowMs();
        if (!StartLongCount(children[i], *programs[i]) ||
            std::isnan(WaitForDigits(children[i], start).digits)) {
            std::fprintf(stderr, "bench_driver: %s showed no digits\n", programs[i]->label);
            return;
        }
    }
    for (const Child& child : children)
        child.FindCpuClock();
    double cpu0[2];
    for (int i = 0; i < 2; ++i)
        cpu0[i] = children[i].CpuMs();
    const double t0 = NowMs();
    while (NowMs() - t0 < seconds * 1000.0)
        PumpMessages(100);
    const double elapsedMinutes = (NowMs() - t0) / 60'000.0;
    for (int i = 0; i < 2; ++i) {
        const double cpu1 = children[i].CpuMs();
        if (cpu0[i] >= 0 && cpu1 >= 0)
            programs[i]->results.cpuMsPerMinute = (cpu1 - cpu0[i]) / elapsedMinutes;
        const double peak = children[i].PeakWorkingSet();
        if (peak >= 0)
            programs[i]->results.peakWorkingSetMiB = peak / (1024.0 * 1024.0);
        std::fprintf(stderr, "bench_driver: %s: cpu %.1f ms over %.1f s (%s), peak set %.1f MiB\n",
                     programs[i]->label, cpu1 - cpu0[i], elapsedMinutes * 60,
                     children[i].PreciseCpu() ? "Linux scheduler" : "Wine thread times",
                     programs[i]->results.peakWorkingSetMiB);
    }
    for (Child& child : children)
        child.Stop();
}

// The wall-clock moment `ticks` (FILETIME units) as the /t text of a timer.
std::string EndTextAt(long long ticks) {
    const SYSTEMTIME st = TicksToSystemTime(ticks);
    return FormatEndText({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
}

// One timer counting to a whole second a few seconds ahead: start-up to the
// first digits, and the arrival of its broadcast after that moment.
// The start is delayed by `offsetMs` first: the latency depends on where the
// 200 ms ticks fall against the end's whole second, which follows from when
// the program started, so the runs spread their starts over the second.
void CompletionRun(Program& program, TimeUpListener& listener, int leadSeconds, int offsetMs) {
    const double wait = NowMs() + offsetMs;
    while (NowMs() < wait)
        PumpMessages(DWORD(std::max(1.0, wait - NowMs())));
    const long long now = LocalNowTicks();
    const long long end = (now / TicksPerSecond + 1 + leadSeconds) * TicksPerSecond;
    const std::string endText = EndTextAt(end);

    listener.Clear();
    Child child;
    const double start = NowMs();
    if (!StartProgram(child, program, program.endSwitches(endText))) {
        program.results.startupMs.push_back(NAN);
        program.results.windowMs.push_back(NAN);
        program.results.latencyMs.push_back(NAN);
        return;
    }
    const StartTimes startup = WaitForDigits(child, start);

    // The broadcast comes about a tick after the end moment.
    const double deadline = NowMs() + double(end - LocalNowTicks()) / 10'000.0 + 15'000;
    std::optional<TimeUpListener::Arrival> arrival;
    while (!(arrival = listener.Find(L"Bench")) && NowMs() < deadline) {
        PumpMessages(child.Running() ? 20 : 0);
        if (!child.Running() && !(arrival = listener.Find(L"Bench"))) {
            PumpMessages(50); // a message posted just before the exit
            arrival = listener.Find(L"Bench");
            break;
        }
    }
    const double latency = arrival ? double(arrival->localTicks - end) / 10'000.0 : NAN;
    if (!child.WaitExit(20'000)) {
        std::fprintf(stderr, "bench_driver: %s did not close after completion\n", program.label);
        child.Stop();
    }
    program.results.startupMs.push_back(startup.digits);
    program.results.windowMs.push_back(startup.window);
    program.results.latencyMs.push_back(latency);
    std::fprintf(stderr,
                 "bench_driver: %s end %s: window %.0f ms, digits %.0f ms, latency %.0f ms\n",
                 program.label, endText.c_str(), startup.window, startup.digits, latency);
}

// A timer counting to a whole second well ahead: the client area is read
// back from the screen as fast as the capture allows, and each change of
// its pixels (the seconds, and with them the other digits, change only on a
// second) is timed against the true second before it. The time of a change
// is the start of the capture that first shows it, so the figures are high
// by up to one capture's length.
void SecondsRun(Program& program, int count) {
    const long long now = LocalNowTicks();
    const long long end = (now / TicksPerSecond + count + 10) * TicksPerSecond;
    Child child;
    const double start = NowMs();
    if (!StartProgram(child, program, program.endSwitches(EndTextAt(end))) ||
        std::isnan(WaitForDigits(child, start).digits)) {
        std::fprintf(stderr, "bench_driver: %s showed no digits\n", program.label);
        return;
    }
    const HWND window = FindMainWindow(child.Pid());
    // Only the seconds are read back: the right quarter of the digits, their
    // upper half (the seconds stand there, right of the other digits). A
    // small part reads back many times faster than the whole window.
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    Box seconds{};
    if (CaptureClient(window, pixels, width, height)) {
        const Box digits = ColourBounds(pixels.data(), width, height, DigitColour, ColourTolerance);
        seconds = {digits.right - (digits.right - digits.left) / 4, digits.top, digits.right + 2,
                   digits.top + (digits.bottom - digits.top) / 2 + 2};
    }
    if (seconds.right <= seconds.left) {
        std::fprintf(stderr, "bench_driver: %s: no digits to time\n", program.label);
        child.Stop();
        return;
    }
    std::optional<std::uint64_t> last = ClientSignature(window, &seconds);
    int changes = 0;
    double capturesMs = 0;
    int captures = 0;
    // The first change may come from the start; the ones after it count.
    while (int(program.results.secondsLagMs.size()) < count && child.Running() &&
           NowMs() - start < (count + 8) * 1000.0) {
        const long long before = LocalNowTicks();
        const double t0 = NowMs();
        const std::optional<std::uint64_t> signature = ClientSignature(window, &seconds);
        capturesMs += NowMs() - t0;
        ++captures;
        if (signature && last && *signature != *last && ++changes > 1) {
            double lag = double(before % TicksPerSecond) / 10'000.0;
            if (lag > 500)
                lag -= 1000; // before the second it belongs to
            program.results.secondsLagMs.push_back(lag);
        }
        if (signature)
            last = signature;
        PumpMessages(0);
    }
    child.Stop();
    std::fprintf(stderr, "bench_driver: %s: %zu seconds timed, capture %.1f ms on average\n",
                 program.label, program.results.secondsLagMs.size(),
                 captures ? capturesMs / captures : 0.0);
}

// Many timers counting at once: their CPU time together over the same
// stretch of wall-clock time as the single timer's.
void ManyTimersRun(Program& program, int count, int seconds) {
    std::vector<Child> children(static_cast<std::size_t>(count));
    for (Child& child : children) {
        const double start = NowMs();
        if (!StartLongCount(child, program) ||
            std::isnan(WaitForDigits(child, start).digits)) {
            std::fprintf(stderr, "bench_driver: one of %d timers showed no digits\n", count);
            return;
        }
    }
    const auto total = [&] {
        double sum = 0;
        for (const Child& child : children) {
            const double cpu = child.CpuMs();
            if (cpu < 0)
                return -1.0;
            sum += cpu;
        }
        return sum;
    };
    for (const Child& child : children)
        child.FindCpuClock();
    const double cpu0 = total();
    const double t0 = NowMs();
    while (NowMs() - t0 < seconds * 1000.0)
        PumpMessages(100);
    const double cpu1 = total();
    const double minutes = (NowMs() - t0) / 60'000.0;
    program.results.manyTimers = count;
    if (cpu0 >= 0 && cpu1 >= 0)
        program.results.manyTimersCpuMsPerMinute = (cpu1 - cpu0) / minutes;
    std::fprintf(stderr, "bench_driver: %d timers: cpu %.0f ms over %.1f s\n", count, cpu1 - cpu0,
                 minutes * 60);
    for (Child& child : children)
        child.Stop();
}

// The end text is written in the en-US form; the timer reads it in the
// user's formats, so they must match.
bool LocaleMatches() {
    wchar_t date[80] = {}, time[80] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, date, 80);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, time, 80);
    if (std::wcscmp(date, L"M/d/yyyy") == 0 && std::wcscmp(time, L"h:mm:ss tt") == 0)
        return true;
    std::fprintf(stderr, "bench_driver: needs the en-US formats, the user has %ls and %ls\n", date,
                 time);
    return false;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring name = argv[i];
        const std::wstring value = argv[i + 1];
        if (name == L"--runs")
            options.runs = _wtoi(value.c_str());
        else if (name == L"--cpu-seconds")
            options.cpuSeconds = _wtoi(value.c_str());
        else if (name == L"--lead")
            options.leadSeconds = _wtoi(value.c_str());
        else if (name == L"--seconds")
            options.seconds = _wtoi(value.c_str());
        else if (name == L"--timers")
            options.timers = _wtoi(value.c_str());
        else if (name == L"--loaded")
            options.loaded = value == L"1";
        else if (name == L"--timer")
            options.timer = value;
        else if (name == L"--baseline")
            options.baseline = value;
        else
            return false;
    }
    return argc % 2 == 1 && options.runs > 0 && options.cpuSeconds > 0 && options.leadSeconds > 0 &&
           options.seconds > 0 && options.timers > 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    options.timer = ExeDir() + L"Brevalo.exe";
    options.baseline = ExeDir() + L"bench_baseline.exe";
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: bench_driver [--runs N] [--cpu-seconds S] [--lead S] "
                             "[--seconds N] [--timers N] [--loaded 0|1] [--timer exe] "
                             "[--baseline exe]\n");
        return 2;
    }
    if (!LocaleMatches())
        return 2;

    Program timer{"Brevalo",
                  options.timer,
                  &TimerSwitches,
                  L"/q36000 /u /s0 /x1 /f0080FF /b000000 /cBench",
                  {}};
    Program baseline{"baseline", options.baseline, &BaselineSwitches, L"/q36000 /cBench", {}};
    timer.results.exeBytes = FileSize(timer.exe);
    baseline.results.exeBytes = FileSize(baseline.exe);

    TimeUpListener listener;
    MeasureCpu(timer, baseline, options.cpuSeconds);
    ManyTimersRun(timer, options.timers, options.cpuSeconds);
    SecondsRun(timer, options.seconds);
    // Interleaved, so that a change in the machine's load meets both.
    for (int run = 0; run < options.runs; ++run) {
        // Start offsets spread over the second, the same for both programs.
        const int offsetMs = run * 397 % 1000;
        CompletionRun(timer, listener, options.leadSeconds, offsetMs);
        CompletionRun(baseline, listener, options.leadSeconds, offsetMs);
    }

    Targets targets;
    targets.loaded = options.loaded;
    targets.exeBytes = ExeLimit(sizeof(void*) == 8);
    std::printf("%s\n%s", ReportTable(timer.results, baseline.results, targets).c_str(),
                RunDetails(timer.results, baseline.results).c_str());
    return 0;
}
