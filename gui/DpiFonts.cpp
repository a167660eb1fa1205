#include "DpiFonts.h"

namespace brevalo::gui {

int RescaleLength(int length, UINT oldDpi, UINT newDpi) noexcept {
    if (oldDpi == newDpi || oldDpi == 0)
        return length;
    return MulDiv(length, int(newDpi), int(oldDpi));
}

RECT RescaleRect(const RECT& r, UINT oldDpi, UINT newDpi) noexcept {
    return RECT{RescaleLength(r.left, oldDpi, newDpi), RescaleLength(r.top, oldDpi, newDpi),
                RescaleLength(r.right, oldDpi, newDpi), RescaleLength(r.bottom, oldDpi, newDpi)};
}

void DpiFonts::Map(HFONT from, HFONT to) {
    if (from && to)
        successors_[from] = to;
}

HFONT DpiFonts::Successor(HFONT font) {
    if (!font)
        return nullptr;
    if (const auto found = successors_.find(font); found != successors_.end())
        return found->second;
    LOGFONTW description{};
    if (GetObjectW(font, sizeof description, &description) != sizeof description)
        return font;
    description.lfHeight = RescaleLength(description.lfHeight, oldDpi_, newDpi_);
    description.lfWidth = RescaleLength(description.lfWidth, oldDpi_, newDpi_);
    base::Font copy(CreateFontIndirectW(&description));
    if (!copy)
        return font;
    const HFONT successor = copy.Get();
    created_.push_back(std::move(copy));
    successors_[font] = successor;
    return successor;
}

} // namespace brevalo::gui
