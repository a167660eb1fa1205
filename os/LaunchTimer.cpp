#include "LaunchTimer.h"

#include "Files.h"
#include "ShellOpen.h"

namespace brevalo::os {

void LaunchTimer(HWND owner, const std::string& switches, const std::string& verb) {
    ShellOpen(owner, verb, ProgramPath(), switches);
}

} // namespace brevalo::os
