// Clocks and the child processes the driver starts and measures.
#include "DriverSupport.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>

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

// A small file's bytes, read to its end (procfs files report no size); empty
// when it cannot be read.
std::string ReadSmallFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (bytes.size() < 65536 && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

// The numeric entries of a folder of Linux's /proc, seen through Wine's Z:.
std::vector<std::wstring> NumericEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (!name.empty() && name.find_first_not_of(L"0123456789") == std::wstring::npos)
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// The Linux process whose command line has `token` as a whole argument;
// 0 when none is found (not under Wine, or no /proc).
int FindUnixPid(const std::string& token) {
    for (const std::wstring& pid : NumericEntries(L"Z:\\proc")) {
        const std::string line = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\cmdline");
        for (std::size_t at = line.find(token); at != std::string::npos;
             at = line.find(token, at + 1)) {
            const std::size_t end = at + token.size();
            const bool starts = at == 0 || line[at - 1] == '\0' || line[at - 1] == ' ';
            const bool ends = end == line.size() || line[end] == '\0' || line[end] == ' ';
            if (starts && ends)
                return _wtoi(pid.c_str());
        }
    }
    return 0;
}

// Linux's scheduler account of the process's threads, in milliseconds:
// exact to the nanosecond, where the thread times Wine reports advance in
// whole clock ticks and charge a short wake-up either a full tick or
// nothing. Negative when it cannot be read.
double SchedulerCpuMs(int unixPid) {
    const std::wstring tasks = L"Z:\\proc\\" + std::to_wstring(unixPid) + L"\\task";
    double total = 0;
    bool any = false;
    for (const std::wstring& tid : NumericEntries(tasks)) {
        const std::string stat = ReadSmallFile(tasks + L"\\" + tid + L"\\schedstat");
        if (stat.empty() || stat[0] < '0' || stat[0] > '9')
            continue;
        total += double(std::strtoull(stat.c_str(), nullptr, 10)) / 1e6;
        any = true;
    }
    return any ? total : -1;
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

bool Child::Start(const std::wstring& commandLine, std::string cpuToken) {
    cpuToken_ = std::move(cpuToken);
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

void Child::FindCpuClock() const {
    if (!cpuToken_.empty() && unixPid_ == 0) {
        const int pid = FindUnixPid(cpuToken_);
        unixPid_ = pid > 0 ? pid : -1;
    }
}

double Child::CpuMs() const {
    FindCpuClock();
    // Once found, only this clock: two readings of one measure must agree.
    if (unixPid_ > 0)
        return SchedulerCpuMs(unixPid_);
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
