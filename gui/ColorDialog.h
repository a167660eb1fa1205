// The system's colour picker (ChooseColorW): a colour in and out, and the 16
// custom colours, which the object keeps from one opening to the next.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

namespace brevalo::gui {

class ColorDialog {
public:
    using CustomColorList = std::array<COLORREF, 16>;

    // The colour shown at opening and, after a confirmed Execute, the chosen
    // one, as 0x00BBGGRR. A system colour (high byte 0xFF, its index in the
    // low byte) opens as its current value.
    COLORREF Color() const noexcept { return color_; }
    void SetColor(COLORREF color) noexcept { color_ = color; }

    // The custom colours, white until changed here or in the dialog.
    const CustomColorList& CustomColors() const noexcept { return custom_; }
    void SetCustomColor(std::size_t index, COLORREF color);

    // Opens the full dialog at once, custom-colour part included.
    bool FullOpen() const noexcept { return fullOpen_; }
    void SetFullOpen(bool on) noexcept { fullOpen_ = on; }

    // Shows the dialog modally; true when the user confirmed a colour. Throws
    // when the dialog cannot be shown at all.
    bool Execute(HWND owner);

    // A colour as plain RGB: system colours are resolved.
    static COLORREF ToRgb(COLORREF color) noexcept;

private:
    COLORREF color_ = RGB(0, 0, 0);
    CustomColorList custom_ = MakeWhite();
    bool fullOpen_ = false;

    static CustomColorList MakeWhite() noexcept {
        CustomColorList list;
        list.fill(RGB(255, 255, 255));
        return list;
    }
};

} // namespace brevalo::gui
