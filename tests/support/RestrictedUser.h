// The user a program of a non-elevated administrator runs as, and the
// machine-wide Run key protected as Windows protects it: what the tests of a
// timer without administrator rights need in a Wine prefix, whose user is an
// administrator and whose keys are open to everyone.
#pragma once

#include "Handle.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

namespace brevalo::testsupport {

// The SID of the built-in Administrators group, freed with the object.
class AdministratorsSid {
public:
    AdministratorsSid() {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                 0, 0, 0, 0, 0, &sid_);
    }
    ~AdministratorsSid() { FreeSid(sid_); }
    AdministratorsSid(const AdministratorsSid&) = delete;
    AdministratorsSid& operator=(const AdministratorsSid&) = delete;
    PSID Get() const { return sid_; }

private:
    PSID sid_ = nullptr;
};

// A copy of this process's token that holds Administrators for deny only,
// as a non-elevated administrator's token does; `type` is TokenPrimary to
// start a process with it, TokenImpersonation for a thread.
inline base::KernelHandle DenyOnlyAdministratorToken(TOKEN_TYPE type) {
    const AdministratorsSid administrators;
    HANDLE process = nullptr, restricted = nullptr, copy = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process);
    SID_AND_ATTRIBUTES disable{administrators.Get(), 0};
    CreateRestrictedToken(process, 0, 1, &disable, 0, nullptr, 0, nullptr, &restricted);
    DuplicateTokenEx(restricted, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, type, &copy);
    if (restricted)
        CloseHandle(restricted);
    if (process)
        CloseHandle(process);
    return base::KernelHandle(copy);
}

// While it lives, the machine-wide Run key (this process's view) lets
// everyone read and only enabled administrators and the system write, as on
// Windows; its own protection is put back afterwards.
class ProtectedMachineRunKey {
public:
    ProtectedMachineRunKey() {
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                            0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size);
        if (!size || RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size) !=
                         ERROR_SUCCESS)
            saved_.clear();
        PSECURITY_DESCRIPTOR protection = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
                L"D:P(A;;KR;;;WD)(A;;KA;;;BA)(A;;KA;;;SY)", SDDL_REVISION_1, &protection, nullptr))
            return;
        set_ = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, protection) == ERROR_SUCCESS;
        LocalFree(protection);
    }
    ~ProtectedMachineRunKey() {
        if (!saved_.empty())
            RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data());
        if (key_)
            RegCloseKey(key_);
    }
    ProtectedMachineRunKey(const ProtectedMachineRunKey&) = delete;
    ProtectedMachineRunKey& operator=(const ProtectedMachineRunKey&) = delete;
    bool Set() const { return set_; }

private:
    HKEY key_ = nullptr;
    std::vector<BYTE> saved_;
    bool set_ = false;
};

} // namespace brevalo::testsupport
