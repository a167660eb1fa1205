#include "LaunchTimer.h"

#include "Files.h"
#include "OsError.h"
#include "Strings.h"

#include <shellapi.h>

namespace brevalo::os {

using base::Widen;

void LaunchTimer(HWND owner, const std::string& switches, const std::string& verb) {
    const std::wstring wideVerb = Widen(verb);
    const std::wstring program = Widen(ProgramPath());
    const std::wstring parameters = Widen(switches);
    // A failure that sets no error code must not report an older one.
    SetLastError(ERROR_SUCCESS);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        owner, wideVerb.c_str(), program.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
    // Values of 32 and below are the shell's failure codes.
    if (result <= 32)
        base::RaiseLastOsError();
}

} // namespace brevalo::os
