#include "VendorSite.h"

#include "Strings.h"
#include "VendorAddress.h"

#include <windows.h>

namespace brevalo::os {

namespace {

std::wstring EnvironmentVariable(const wchar_t* name) {
    std::wstring value(64, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(name, value.data(), DWORD(value.size()));
        if (length == 0)
            return {}; // not set, or set to nothing
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length); // the size needed, terminator included
    }
}

} // namespace

std::string VendorSiteUrl() {
    std::string site = base::Narrow(EnvironmentVariable(L"BREVALO_VENDOR_URL"));
    while (!site.empty() && site.back() == '/')
        site.pop_back();
    // The variable ships with the program, so it may only point at a secure
    // site or at this computer.
    return IsAcceptedVendorSite(site) ? site : std::string(kVendorSite);
}

std::string VersionFileUrl() {
    return VendorSiteUrl() + "/bvver.txt";
}

std::string HelpPageUrl() {
    return VendorSiteUrl() + "/help/index.html";
}

} // namespace brevalo::os
