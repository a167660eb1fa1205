// A transparent text label of fixed size whose text is wrapped at word
// boundaries and clipped to its bounds.
#pragma once

#include "FontSpec.h"
#include "GraphicControl.h"
#include "Handle.h"

#include <string>

namespace brevalo::controls {

class WrappedLabel : public gui::GraphicControl {
public:
    explicit WrappedLabel(gui::Form& parent, const FontSpec& font = MessageFontSpec());

    const std::string& Text() const noexcept { return text_; }
    void SetText(const std::string& text);

    const FontSpec& Font() const noexcept { return font_; }
    void SetFont(const FontSpec& font);

    void Paint(HDC dc) override;
    void RescaleForDpi(UINT oldDpi, UINT newDpi) override;
    // A label of a control shows the mnemonic of its text.
    wchar_t Mnemonic() const override;
    std::string AccessibleText() const override;

private:
    std::string text_;
    std::wstring wide_;
    FontSpec font_;
    base::Font handle_;
};

} // namespace brevalo::controls
