#include "DialogFontRule.h"

#include <algorithm>
#include <string_view>

namespace brevalo {

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

DialogFont AdjustedDialogFont(const DialogFont& font, unsigned major, unsigned minor) {
    DialogFont result = font;
    if (major == 5 && (minor == 0 || minor == 1)) {
        if (!SameNameIgnoringCase(font.name, "Tahoma"))
            result.name = "Tahoma";
    } else if (major == 6) {
        if (!SameNameIgnoringCase(font.name, "Segoe UI")) {
            result.name = "Segoe UI";
            result.size = font.size + 1;
        }
    }
    return result;
}

} // namespace brevalo
