// What a window needs when its DPI changes: lengths and rectangles scaled by
// new/old DPI, and for each font of the old DPI its successor at the new one.
#pragma once

#include "Handle.h"

#include <windows.h>

#include <map>
#include <vector>

namespace brevalo::gui {

// MulDiv(length, newDpi, oldDpi), rounding to nearest.
int RescaleLength(int length, UINT oldDpi, UINT newDpi) noexcept;
// Each edge rescaled, so that neighbouring rectangles stay neighbours.
RECT RescaleRect(const RECT& r, UINT oldDpi, UINT newDpi) noexcept;

class DpiFonts {
public:
    DpiFonts(UINT oldDpi, UINT newDpi) noexcept : oldDpi_(oldDpi), newDpi_(newDpi) {}

    // `to` (owned by the caller) succeeds `from`.
    void Map(HFONT from, HFONT to);
    // The successor of `font`: the one mapped, else a copy of it whose height
    // is rescaled, made once and owned here. Null for null.
    HFONT Successor(HFONT font);
    // The copies made, for the caller to keep while the windows use them.
    std::vector<base::Font> TakeCreated() noexcept { return std::move(created_); }

private:
    UINT oldDpi_, newDpi_;
    std::map<HFONT, HFONT> successors_;
    std::vector<base::Font> created_;
};

} // namespace brevalo::gui
