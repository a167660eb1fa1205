#include "ShellOpen.h"

#include "OsError.h"
#include "Strings.h"

#include <shellapi.h>

namespace brevalo::os {

void ShellOpen(HWND owner, const std::string& verb, const std::string& file,
               const std::string& parameters) {
    const std::wstring wideVerb = base::Widen(verb);
    const std::wstring wideFile = base::Widen(file);
    const std::wstring wideParameters = base::Widen(parameters);
    // A failure that sets no error code must not report an older one.
    SetLastError(ERROR_SUCCESS);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        owner, wideVerb.c_str(), wideFile.c_str(),
        parameters.empty() ? nullptr : wideParameters.c_str(), nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        base::RaiseLastOsError();
}

} // namespace brevalo::os
