// More of what the end-to-end tests look at: the clipboard's text, the
// windows of any process by class, and another process's command line.
#pragma once

#include "DateTime.h"

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace brevalo::e2e {

// The clipboard's Unicode text, or nullopt when it holds none.
std::optional<std::wstring> ClipboardText();

// Waits for a visible top-level window of class `className` that belongs to
// a process other than `exceptProcess`; its process id in `processId`.
HWND WaitForOtherProcessWindow(const std::wstring& className, DWORD exceptProcess, DWORD& processId,
                               std::chrono::milliseconds timeout);

// The command line a process was started with, read from its process
// parameters; nullopt when it cannot be read.
std::optional<std::wstring> ProcessCommandLine(DWORD processId);

// A file name in the temp folder.
std::wstring TempFile(const std::wstring& name);

// The path of settings.ini; its folder is created when missing.
std::wstring SettingsFilePath();

// The local date and time now (milliseconds included), `addSeconds` later.
DateTime LocalNow(int addSeconds = 0);

// Programs started while this object lives (timers, their actions, opened
// documents) inherit BREVALO_E2E_RECORD: a copy of the test program started
// that way writes its own command line into the record file and ends.
class CommandLineRecord {
public:
    explicit CommandLineRecord(const std::wstring& name);
    CommandLineRecord(const CommandLineRecord&) = delete;
    CommandLineRecord& operator=(const CommandLineRecord&) = delete;
    ~CommandLineRecord();

    // Stops handing the variable to programs started from now on.
    void StopInheriting();
    // Waits for the recorded command line; nullopt when none came in time.
    std::optional<std::wstring> Wait(std::chrono::milliseconds timeout) const;
    // Forgets an earlier record.
    void Clear() const;

private:
    std::wstring file_;
};

} // namespace brevalo::e2e
