// A DLL that stands in for a system DLL of the same name put beside the
// program: loaded into a process, it writes its own path into the record
// file that BREVALO_E2E_PLANTED names, so a test sees that it was loaded.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t record[MAX_PATH]{};
    wchar_t self[MAX_PATH]{};
    if (GetEnvironmentVariableW(L"BREVALO_E2E_PLANTED", record, MAX_PATH) == 0 ||
        GetModuleFileNameW(instance, self, MAX_PATH) == 0)
        return TRUE;
    HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, self, DWORD(lstrlenW(self) * sizeof(wchar_t)), &written, nullptr);
        WriteFile(file, L"\n", sizeof(wchar_t), &written, nullptr);
        CloseHandle(file);
    }
    return TRUE;
}
