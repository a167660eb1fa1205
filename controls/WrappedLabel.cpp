#include "WrappedLabel.h"

#include "Form.h"
#include "KCommon.h"
#include "Mnemonic.h"
#include "Strings.h"

namespace brevalo::controls {

WrappedLabel::WrappedLabel(gui::Form& parent, const FontSpec& font)
    : GraphicControl(parent), font_(font), handle_(font.Create(parent.Dpi())) {}

void WrappedLabel::SetText(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    wide_ = base::Widen(text);
    Invalidate();
}

void WrappedLabel::SetFont(const FontSpec& font) {
    font_ = font;
    handle_ = font.Create(Parent().Dpi());
    Invalidate();
}

void WrappedLabel::RescaleForDpi(UINT oldDpi, UINT newDpi) {
    GraphicControl::RescaleForDpi(oldDpi, newDpi);
    handle_ = font_.Create(Parent().Dpi());
}

void WrappedLabel::Paint(HDC dc) {
    base::SelectObjectScope select(dc, handle_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColor(font_.color));
    RECT r = Bounds();
    const UINT prefix =
        FocusControl() ? gui::MnemonicDrawFlags(Parent().Handle()) : UINT(DT_NOPREFIX);
    DrawTextW(dc, wide_.c_str(), int(wide_.size()), &r, DT_WORDBREAK | prefix | DT_LEFT);
}

wchar_t WrappedLabel::Mnemonic() const {
    return FocusControl() ? gui::MnemonicOf(wide_) : 0;
}

std::string WrappedLabel::AccessibleText() const {
    return FocusControl() ? gui::WithoutMnemonic(text_) : text_;
}

} // namespace brevalo::controls
