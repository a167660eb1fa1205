// Registry changes this process has no right to make: Windows runs the
// system's registry tool with administrator rights once the user allows it.
#pragma once

#include "TimerSettings.h"

#include <windows.h>

#include <string>

namespace brevalo::os {

// The key as the Registry Editor shows it, for telling the user where a
// value is: the root's full name, and for a 32-bit program on 64-bit
// Windows under HKEY_LOCAL_MACHINE the 32-bit view's "WOW6432Node" branch,
// which is where its values are.
std::string RegistryKeyPath(RegistryRoot root, const std::string& subKey);

// Asks Windows to delete value `name` of root\subKey with administrator
// rights, in this process's registry view; the user confirms (UAC). Waits
// for the tool to end. True when it ran and reported success; false when the
// user refused, the tool could not start or it failed.
bool DeleteValueElevated(RegistryRoot root, const std::string& subKey, const std::string& name,
                         HWND owner);

} // namespace brevalo::os
