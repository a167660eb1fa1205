#include "Administrator.h"

#include "Handle.h"

#include <windows.h>

#include <vector>

namespace brevalo::os {

bool IsAdministrator() {
    OSVERSIONINFOW version{sizeof version};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&version) && version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return true;
#pragma GCC diagnostic pop

    HANDLE raw = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &raw)) {
        if (GetLastError() != ERROR_NO_TOKEN)
            return false;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
            return false;
    }
    gui::KernelHandle token(raw);

    // The group list is read into a buffer of 1024 bytes; a token with more
    // groups than fit is read again with the size the system asks for.
    std::vector<BYTE> buffer(1024);
    DWORD needed = 0;
    BOOL ok =
        GetTokenInformation(token.Get(), TokenGroups, buffer.data(), DWORD(buffer.size()), &needed);
    if (!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > buffer.size()) {
        buffer.resize(needed);
        ok = GetTokenInformation(token.Get(), TokenGroups, buffer.data(), DWORD(buffer.size()),
                                 &needed);
    }
    token.Reset();
    if (!ok)
        return false;

    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                  0, 0, 0, 0, 0, &administrators))
        return false;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    bool found = false;
    for (DWORD i = 0; i < groups->GroupCount && !found; ++i)
        found = EqualSid(groups->Groups[i].Sid, administrators);
    FreeSid(administrators);
    return found;
}

} // namespace brevalo::os
