// Libraries of Windows itself: loaded from the system folder and nowhere
// else (a DLL of the same name beside the program, in a Downloads folder, or
// in the current folder is never loaded in their place), and functions of
// them looked up at run time, for what the program can do without: the
// executable gains no import for them, and the library is loaded only when
// first needed.
#pragma once

#include <windows.h>

namespace brevalo::base {

// The function `name` of `module`, or null when either is missing.
template <typename Function>
void LoadFunction(HMODULE module, const char* name, Function& function) noexcept {
    function =
        module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

// Limits the search of every later LoadLibrary of the process, the
// delay-loaded DLLs' included, to the system folder. Called first thing at
// start. Where Windows lacks SetDefaultDllDirectories, only the current
// folder is taken out of the search; the delay-loaded DLLs come through
// LoadSystemLibrary all the same (the delay-load helper's hook).
void RestrictLibrarySearch() noexcept;

// Loads `name` (a DLL of Windows, such as L"wininet.dll") from the system
// folder; null with the reason in the thread's last error.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;

} // namespace brevalo::base
