#include "uVistaFuncs.h"

#include "OsError.h"
#include "Strings.h"

#include <cwchar>

namespace brevalo::controls {

WindowsVersion ReportedWindowsVersion() {
    OSVERSIONINFOW info{sizeof info};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    base::CheckOs(GetVersionExW(&info));
#pragma GCC diagnostic pop
    return WindowsVersion{unsigned(info.dwMajorVersion), unsigned(info.dwMinorVersion)};
}

void AdjustSystemFont(DialogFont& font) {
    const WindowsVersion version = ReportedWindowsVersion();
    font = AdjustedDialogFont(font, version.major, version.minor);
}

base::Font CreateDialogFont(const DialogFont& font, UINT dpi) {
    LOGFONTW description{};
    description.lfHeight = -MulDiv(font.size, int(dpi), 72);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = DEFAULT_QUALITY;
    const std::wstring name = base::Widen(font.name);
    wcsncpy(description.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    base::Font result(CreateFontIndirectW(&description));
    if (!result)
        base::RaiseLastOsError();
    return result;
}

} // namespace brevalo::controls
