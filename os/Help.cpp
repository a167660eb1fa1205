#include "Help.h"

#include "Settings.h"
#include "ShellOpen.h"
#include "VendorSite.h"

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
    ShellOpen(owner, "Open", HelpTarget());
}

} // namespace brevalo::os
