#include "Driver.h"

#include "OsError.h"

#include <thread>

namespace brevalo::e2e {

std::wstring ProgramPath() {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Brevalo.exe";
}

Process::~Process() {
    if (handle_ && Running())
        Terminate();
}

Process Process::Start(const std::wstring& arguments) {
    std::wstring line = L"\"" + ProgramPath() + L"\"";
    if (!arguments.empty())
        line += L" " + arguments;
    return StartCommandLine(line);
}

Process Process::StartCommandLine(const std::wstring& commandLine, HANDLE token) {
    Process process;
    process.commandLine_ = commandLine;
    std::wstring mutableLine = commandLine;
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    const BOOL started =
        token ? CreateProcessAsUserW(token, nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &si, &pi)
              : CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi);
    if (!started)
        base::RaiseLastOsError();
    CloseHandle(pi.hThread);
    process.handle_.Reset(pi.hProcess);
    process.id_ = pi.dwProcessId;
    return process;
}

bool Process::WaitForExit(std::chrono::milliseconds timeout, DWORD* code) const {
    if (WaitForSingleObject(handle_.Get(), DWORD(timeout.count())) != WAIT_OBJECT_0)
        return false;
    if (code)
        GetExitCodeProcess(handle_.Get(), code);
    return true;
}

bool Process::Running() const {
    return WaitForSingleObject(handle_.Get(), 0) == WAIT_TIMEOUT;
}

void Process::Terminate() {
    TerminateProcess(handle_.Get(), 99);
    WaitForSingleObject(handle_.Get(), 5000);
}

namespace {

struct EnumState {
    DWORD processId;
    std::vector<WindowInfo>* out;
};

std::wstring ClassName(HWND hwnd) {
    wchar_t name[256];
    const int length = GetClassNameW(hwnd, name, int(std::size(name)));
    return std::wstring(name, length > 0 ? length : 0);
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lParam) {
    auto* state = reinterpret_cast<EnumState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == state->processId && IsWindowVisible(hwnd))
        state->out->push_back({hwnd, ClassName(hwnd), WindowText(hwnd)});
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::wstring WithoutAmpersand(std::wstring text) {
    std::erase(text, L'&');
    return text;
}

} // namespace

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[4096];
    const LRESULT length = SendMessageW(hwnd, WM_GETTEXT, std::size(buffer), LPARAM(buffer));
    return std::wstring(buffer, std::size_t(length));
}

std::vector<WindowInfo> TopLevelWindows(DWORD processId) {
    std::vector<WindowInfo> windows;
    EnumState state{processId, &windows};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return windows;
}

std::optional<WindowInfo> WaitForWindow(DWORD processId,
                                        const std::function<bool(const WindowInfo&)>& match,
                                        std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        for (const WindowInfo& w : TopLevelWindows(processId))
            if (match(w))
                return w;
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

std::optional<WindowInfo> WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout) {
    return WaitForClass(processId, L"#32770", timeout);
}

std::optional<WindowInfo> WaitForClass(DWORD processId, const std::wstring& className,
                                       std::chrono::milliseconds timeout) {
    return WaitForWindow(
        processId, [&](const WindowInfo& w) { return w.className == className; }, timeout);
}

std::wstring MessageBoxText(HWND box) {
    // The message is the static child that is not the icon; the icon static
    // has no text.
    std::wstring text;
    for (HWND child : Children(box)) {
        if (ClassName(child) != L"Static")
            continue;
        std::wstring t = WindowText(child);
        if (!t.empty())
            text = t;
    }
    return text;
}

namespace {

// The colours shown on the screen inside a window's rectangle.
std::vector<COLORREF> ScreenPixels(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    HDC screen = GetDC(nullptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(screen, r.left + x, r.top + y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool IsRed(COLORREF c) {
    return GetRValue(c) > 160 && GetGValue(c) < 100 && GetBValue(c) < 100;
}
bool IsBlue(COLORREF c) {
    return GetBValue(c) > 160 && GetRValue(c) < 110;
}
bool IsYellow(COLORREF c) {
    return GetRValue(c) > 180 && GetGValue(c) > 150 && GetBValue(c) < 90;
}

} // namespace

namespace {

bool ShowsIcon(HWND box, LPCWSTR icon) {
    for (HWND child : Children(box)) {
        if (ClassName(child) != L"Static" ||
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        const std::vector<COLORREF> pixels = ScreenPixels(child);
        std::size_t red = 0, blue = 0, yellow = 0;
        for (COLORREF c : pixels) {
            red += IsRed(c);
            blue += IsBlue(c);
            yellow += IsYellow(c);
        }
        const std::size_t enough = pixels.size() / 5;
        if (icon == IDI_HAND)
            return red > enough && red > blue && red > yellow;
        if (icon == IDI_EXCLAMATION)
            return yellow > enough && yellow > red;
        return blue > enough && blue > red;
    }
    return false;
}

} // namespace

bool MessageBoxHasIcon(HWND box, LPCWSTR icon) {
    // Icons belong to the process that shows them, so the test looks at the
    // screen: the stop icon is mostly red, the warning icon yellow, the
    // question and information icons blue. The box may not have painted yet.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    do {
        if (ShowsIcon(box, icon))
            return true;
        std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

std::vector<std::wstring> ButtonCaptions(HWND dialog) {
    std::vector<std::wstring> captions;
    for (HWND child : Children(dialog))
        if (ClassName(child) == L"Button")
            captions.push_back(WithoutAmpersand(WindowText(child)));
    return captions;
}

bool ClickButton(HWND dialog, const std::wstring& caption) {
    for (HWND child : Children(dialog)) {
        if (ClassName(child) == L"Button" && WithoutAmpersand(WindowText(child)) == caption) {
            PostMessageW(child, BM_CLICK, 0, 0);
            return true;
        }
    }
    return false;
}

bool KeyExists(HKEY root, const std::wstring& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::pair<std::wstring, std::wstring>> StringValues(HKEY root,
                                                                const std::wstring& subKey) {
    std::vector<std::pair<std::wstring, std::wstring>> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    base::RegKey owner(key);
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = DWORD(std::size(name));
        std::vector<BYTE> data(65536);
        DWORD dataLength = DWORD(data.size()), type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &dataLength) !=
            ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()),
                          dataLength / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        values.emplace_back(std::wstring(name, nameLength), text);
    }
    return values;
}

void DeleteTree(HKEY root, const std::wstring& subKey) {
    RegDeleteTreeW(root, subKey.c_str()), RegDeleteKeyW(root, subKey.c_str());
}

void WriteDword(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        base::RaiseLastOsError();
    base::RegKey owner(key);
    RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

} // namespace brevalo::e2e
