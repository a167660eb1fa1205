#include "WrappedLabel.h"

#include "Form.h"
#include "KCommon.h"
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
    DrawTextW(dc, wide_.c_str(), int(wide_.size()), &r, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
}

} // namespace brevalo::controls
