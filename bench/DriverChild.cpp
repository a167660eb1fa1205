// Clocks and the child processes the driver starts and measures.
#include "DriverSupport.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>

namespace brevalo::bench {

namespace {

double FileTimeMs(const FILETIME& ft) {
    const auto ticks =
        (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return double(ticks) / 10'000.0;
}

double ThreadCpuMs(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    double total = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        if (HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID)) {
            FILETIME created, exited, kernel, user;
            if (GetThreadTimes(thread, &created, &exited, &kernel, &user))
                total += FileTimeMs(kernel) + FileTimeMs(user);
            CloseHandle(thread);
        }
    }
    CloseHandle(snapshot);
    return total;
}

} // namespace

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / frequency;
}

long long LocalNowTicks() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

SYSTEMTIME TicksToSystemTime(long long ticks) {
    FILETIME ft;
    ft.dwLowDateTime = DWORD(ticks & 0xFFFFFFFF);
    ft.dwHighDateTime = DWORD(ticks >> 32);
    SYSTEMTIME st{};
    FileTimeToSystemTime(&ft, &st);
    return st;
}

void PumpMessages(DWORD timeoutMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool Child::Start(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring mutableLine = commandLine; // CreateProcessW may write to it
    return CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info_) != FALSE;
}

Child::~Child() {
    if (info_.hProcess) {
        if (Running())
            TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool Child::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Child::WaitExit(DWORD timeoutMs) {
    const double until = NowMs() + timeoutMs;
    while (Running()) {
        if (NowMs() >= until)
            return false;
        // Keep answering the child's sent broadcasts while it winds down.
        MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, 20, QS_ALLINPUT);
        PumpMessages(0);
    }
    return true;
}

void Child::Stop() {
    if (!Running())
        return;
    if (HWND window = FindMainWindow(Pid()))
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (!WaitExit(10'000))
        TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5'000);
}

double Child::CpuMs() const {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(info_.hProcess, &created, &exited, &kernel, &user))
        return -1;
    const double process = FileTimeMs(kernel) + FileTimeMs(user);
    // Wine reports no times for another process, only for its threads; the
    // sum misses threads that have already ended.
    return std::max(process, ThreadCpuMs(info_.dwProcessId));
}

double Child::PeakWorkingSet() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(info_.hProcess, &counters, sizeof counters))
        return -1;
    return double(counters.PeakWorkingSetSize);
}

} // namespace brevalo::bench
