#include "Inspect.h"

#include "Handle.h"

#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <thread>

namespace brevalo::e2e {

using namespace std::chrono_literals;

namespace {

struct WindowSearch {
    std::wstring className;
    DWORD exceptProcess;
    HWND found = nullptr;
    DWORD processId = 0;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    wchar_t cls[128] = {};
    GetClassNameW(hwnd, cls, 128);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (search->className == cls && pid != search->exceptProcess && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        search->processId = pid;
        return FALSE;
    }
    return TRUE;
}

// The parts of the process structures that lead to the command line (32-bit).
struct BasicInformation {
    LONG exitStatus;
    void* pebBase;
    ULONG_PTR affinity;
    LONG basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentId;
};
struct CountedString {
    USHORT length;
    USHORT maximumLength;
    wchar_t* buffer;
};
using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

} // namespace

std::optional<std::wstring> ClipboardText() {
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

HWND WaitForOtherProcessWindow(const std::wstring& className, DWORD exceptProcess, DWORD& processId,
                               std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
        WindowSearch search{className, exceptProcess};
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            processId = search.processId;
            return search.found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

std::optional<std::wstring> ProcessCommandLine(DWORD processId) {
    base::KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process)
        return std::nullopt;
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query)
        return std::nullopt;
    BasicInformation basic{};
    if (query(process.Get(), 0, &basic, sizeof basic, nullptr) != 0)
        return std::nullopt;
    // The process parameters' pointer is at 0x10 in the PEB and the command
    // line at 0x40 in the parameters in the 32-bit layout; 0x20 and 0x70 in
    // the 64-bit one (the driver and the program are of one flavour).
    constexpr std::size_t parametersAt = sizeof(void*) == 8 ? 0x20 : 0x10;
    constexpr std::size_t commandLineAt = sizeof(void*) == 8 ? 0x70 : 0x40;
    void* parameters = nullptr;
    if (!ReadProcessMemory(process.Get(), static_cast<char*>(basic.pebBase) + parametersAt,
                           &parameters, sizeof parameters, nullptr))
        return std::nullopt;
    CountedString line{};
    if (!ReadProcessMemory(process.Get(), static_cast<char*>(parameters) + commandLineAt, &line,
                           sizeof line,
                           nullptr))
        return std::nullopt;
    std::wstring text(line.length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process.Get(), line.buffer, text.data(), line.length, nullptr))
        return std::nullopt;
    return text;
}

std::wstring TempFile(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

std::wstring SettingsFilePath() {
    wchar_t data[MAX_PATH];
    SHGetSpecialFolderPathW(nullptr, data, CSIDL_COMMON_APPDATA, FALSE);
    const std::wstring folder = std::wstring(data) + L"\\Orsenic Software\\Velloro";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folder + L"\\settings.ini";
}

DateTime LocalNow(int addSeconds) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    const DateTime now = *EncodeDateTime(
        {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
    return AddSeconds(now, addSeconds);
}

CommandLineRecord::CommandLineRecord(const std::wstring& name) : file_(TempFile(name)) {
    Clear();
    SetEnvironmentVariableW(L"BREVALO_E2E_RECORD", file_.c_str());
}

CommandLineRecord::~CommandLineRecord() {
    StopInheriting();
    Clear();
}

void CommandLineRecord::StopInheriting() {
    SetEnvironmentVariableW(L"BREVALO_E2E_RECORD", nullptr);
}

void CommandLineRecord::Clear() const {
    DeleteFileW(file_.c_str());
}

std::optional<std::wstring> CommandLineRecord::Wait(std::chrono::milliseconds timeout) const {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
        // The recorder writes UTF-16 without a terminator.
        std::ifstream in(file_.c_str(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        if (!bytes.empty())
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < until);
    return std::nullopt;
}

} // namespace brevalo::e2e
