// Starting a new timer process from a finished switch string.
#pragma once

#include <windows.h>

#include <string>

namespace brevalo::os {

// Has the shell run this program's own file with `verb` ("open" or "Open"),
// the switch string as its parameters, no working folder and the normal show
// state, owned by `owner`. Throws base::OsError with the system's last error
// when the shell reports failure.
void LaunchTimer(HWND owner, const std::string& switches, const std::string& verb);

} // namespace brevalo::os
