#include "Help.h"

#include "OsError.h"
#include "Settings.h"
#include "Strings.h"
#include "VendorSite.h"

#include <shellapi.h>

namespace brevalo::os {

std::string HelpTarget() {
    if (auto local = LocalHelpFile())
        return *local;
    return HelpPageUrl();
}

std::string HelpCaption() {
    return LocalHelpFile() ? "Help" : "Online help";
}

void OpenHelp(HWND owner) {
    const std::wstring target = base::Widen(HelpTarget());
    SetLastError(0);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, L"Open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        base::RaiseLastOsError();
}

} // namespace brevalo::os
