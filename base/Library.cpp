#include "Library.h"

#include <delayimp.h>

#include <string>

namespace brevalo::base {

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// Windows 8 and later, and Windows 7 with its loader update, know the
// LOAD_LIBRARY_SEARCH_* flags.
SetDefaultDllDirectoriesFunction SetDefaultDllDirectoriesOrNull() noexcept {
    SetDefaultDllDirectoriesFunction set;
    LoadFunction(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories", set);
    return set;
}

// The delay-load helper asks this hook before it loads a DLL; the DLL comes
// from the system folder, whatever the search order is.
FARPROC WINAPI DelayLoadNotify(unsigned reason, PDelayLoadInfo info) {
    if (reason != dliNotePreLoadLibrary || !info || !info->szDll)
        return nullptr;
    std::wstring name;
    for (const char* c = info->szDll; *c; ++c)
        name += wchar_t(static_cast<unsigned char>(*c));
    return reinterpret_cast<FARPROC>(LoadSystemLibrary(name.c_str()));
}

} // namespace

void RestrictLibrarySearch() noexcept {
    if (const auto set = SetDefaultDllDirectoriesOrNull())
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else
        SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
    if (SetDefaultDllDirectoriesOrNull())
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH]{};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
}

} // namespace brevalo::base

// The delay-load helper's hooks: defined here so that every program that
// restricts its library search also loads its delay-loaded DLLs through the
// system folder.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = brevalo::base::DelayLoadNotify;
PfnDliHook __pfnDliFailureHook2 = nullptr;
}
