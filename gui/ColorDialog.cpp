#include "ColorDialog.h"

#include <commdlg.h>

#include <stdexcept>
#include <string>

namespace brevalo::gui {

void ColorDialog::SetCustomColor(std::size_t index, COLORREF color) {
    custom_.at(index) = ToRgb(color);
}

COLORREF ColorDialog::ToRgb(COLORREF color) noexcept {
    if ((color & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(int(color & 0xFFu));
    return color & 0x00FFFFFFu;
}

bool ColorDialog::Execute(HWND owner) {
    // The dialog writes the custom colours back into the array it is given.
    CHOOSECOLORW choose{sizeof choose};
    choose.hwndOwner = owner;
    choose.rgbResult = ToRgb(color_);
    choose.lpCustColors = custom_.data();
    choose.Flags = CC_RGBINIT | CC_ANYCOLOR | (fullOpen_ ? CC_FULLOPEN : 0);
    if (ChooseColorW(&choose)) {
        color_ = choose.rgbResult;
        return true;
    }
    // Cancelled, or the dialog could not be shown: only the latter has a code.
    if (const DWORD error = CommDlgExtendedError()) {
        throw std::runtime_error("The colour dialog could not be opened (code " +
                                 std::to_string(error) + ")");
    }
    return false;
}

} // namespace brevalo::gui
