// What the end-to-end tests use to start Brevalo.exe and look at it from the
// outside: its windows, message boxes, registry values and broadcasts.
#pragma once

#include "Handle.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brevalo::e2e {

using namespace std::chrono_literals;

// Full path of Brevalo.exe (beside the test program).
std::wstring ProgramPath();

// A started program; terminated when the object goes away, if still running.
class Process {
public:
    Process() = default;
    Process(Process&&) = default;
    Process& operator=(Process&&) = default;
    ~Process();

    // Starts Brevalo.exe with `arguments` appended to its quoted path.
    static Process Start(const std::wstring& arguments);
    // Starts a whole command line, as the system does with an autorun value;
    // with `token`, as the user that token stands for.
    static Process StartCommandLine(const std::wstring& commandLine, HANDLE token = nullptr);

    DWORD Id() const noexcept { return id_; }
    HANDLE Handle() const noexcept { return handle_.Get(); }
    // True when the process ended within the time; its exit code in `code`.
    bool WaitForExit(std::chrono::milliseconds timeout, DWORD* code = nullptr) const;
    bool Running() const;
    void Terminate();
    // The raw command line the process was started with.
    const std::wstring& CommandLine() const noexcept { return commandLine_; }

private:
    base::KernelHandle handle_;
    DWORD id_ = 0;
    std::wstring commandLine_;
};

struct WindowInfo {
    HWND hwnd = nullptr;
    std::wstring className;
    std::wstring caption;
};

// The program's own registry key and the autorun key, under HKEY_CURRENT_USER.
inline const std::wstring BrevaloKeyPath = L"Software\\Orsenic Software\\Brevalo";
inline const std::wstring RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A running timer's window.
inline bool IsTimerWindow(const WindowInfo& w) {
    return w.className == L"TForm1";
}
// The advanced front end's dialog.
inline bool IsCreateDialog(const WindowInfo& w) {
    return w.caption == L"Create a timer";
}

// The visible top-level windows of a process.
std::vector<WindowInfo> TopLevelWindows(DWORD processId);
// Waits for a visible top-level window of the process that matches.
std::optional<WindowInfo> WaitForWindow(DWORD processId,
                                        const std::function<bool(const WindowInfo&)>& match,
                                        std::chrono::milliseconds timeout = 15s);
// Waits for a message box (#32770 dialog) of the process.
std::optional<WindowInfo> WaitForMessageBox(DWORD processId,
                                            std::chrono::milliseconds timeout = 15s);
// Waits for a window of the process with class `className` (any caption).
std::optional<WindowInfo> WaitForClass(DWORD processId, const std::wstring& className,
                                       std::chrono::milliseconds timeout = 15s);

std::wstring WindowText(HWND hwnd);
// The text of a message box: its static text child.
std::wstring MessageBoxText(HWND box);
// True when the message box shows the system's icon `icon` (IDI_HAND ...).
bool MessageBoxHasIcon(HWND box, LPCWSTR icon);
// The captions of a dialog's buttons.
std::vector<std::wstring> ButtonCaptions(HWND dialog);
// Clicks a dialog button by caption ("OK", "&Yes" or "Yes"); false if none.
bool ClickButton(HWND dialog, const std::wstring& caption);

// Registry helpers on HKEY_CURRENT_USER (or another root).
bool KeyExists(HKEY root, const std::wstring& subKey);
std::vector<std::pair<std::wstring, std::wstring>> StringValues(HKEY root,
                                                                const std::wstring& subKey);
void DeleteTree(HKEY root, const std::wstring& subKey);
void WriteDword(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD value);

} // namespace brevalo::e2e
