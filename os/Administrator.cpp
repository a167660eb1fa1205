#include "Administrator.h"

#include <windows.h>

namespace brevalo::os {

bool IsAdministrator() {
    OSVERSIONINFOW version{sizeof version};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&version) && version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return true;
#pragma GCC diagnostic pop

    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                  0, 0, 0, 0, 0, &administrators))
        return false;
    // The thread's token when it impersonates, else the process's. Only an
    // enabled group counts: a non-elevated administrator holds the group for
    // deny only, and writes under HKEY_LOCAL_MACHINE are refused to it.
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators, &member))
        member = FALSE;
    FreeSid(administrators);
    return member != FALSE;
}

} // namespace brevalo::os
