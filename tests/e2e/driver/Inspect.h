// More of what the end-to-end tests look at: the clipboard's text, the
// windows of any process by class, and another process's command line.
#pragma once

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

} // namespace brevalo::e2e
