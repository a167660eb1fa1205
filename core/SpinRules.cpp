#include "SpinRules.h"

#include <algorithm>
#include <limits>

namespace brevalo {

namespace {

constexpr std::int64_t IntMin = std::numeric_limits<int>::min();
constexpr std::int64_t IntMax = std::numeric_limits<int>::max();

} // namespace

int ClampSpinValue(std::int64_t value, int minValue, int maxValue) {
    value = std::clamp(value, IntMin, IntMax);
    if (minValue != maxValue) {
        if (value < minValue)
            value = minValue;
        else if (value > maxValue)
            value = maxValue;
    }
    return static_cast<int>(value);
}

std::optional<int> ParseSpinText(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > IntMax + 1)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > IntMax)
        return std::nullopt;
    return static_cast<int>(value);
}

int ReadSpinValue(std::string_view text, int minValue) {
    return ParseSpinText(text).value_or(minValue);
}

int SpinStep(int value, int increment, bool up, int minValue, int maxValue) {
    const std::int64_t step = up ? std::int64_t{increment} : -std::int64_t{increment};
    return ClampSpinValue(std::int64_t{value} + step, minValue, maxValue);
}

bool IsValidSpinChar(char32_t c, char32_t decimalSeparator, bool editorEnabled) {
    constexpr char32_t Backspace = 8, CarriageReturn = 13;
    const bool accepted = c == '+' || c == '-' || (c >= '0' && c <= '9') || c == decimalSeparator ||
                          (c < 32 && c != CarriageReturn);
    if (!accepted)
        return false;
    if (!editorEnabled && (c >= 32 || c == Backspace))
        return false;
    return true;
}

SpinEditLayout LayoutSpinEdit(int width, int height, int clientWidth, int clientHeight,
                              int buttonWidth, bool sunken) {
    SpinEditLayout layout;
    layout.formatRect = PixelRect{0, 0, clientWidth - buttonWidth - 2, clientHeight + 1};
    layout.button = sunken ? RectAt(width - buttonWidth - 5, 0, buttonWidth, height - 5)
                           : RectAt(width - buttonWidth, 1, buttonWidth, height - 3);
    return layout;
}

int SpinEditMinHeight(int borderHeight, int fontTextHeight, int systemFontTextHeight) {
    return 4 * borderHeight + fontTextHeight + std::min(systemFontTextHeight, fontTextHeight) / 4 +
           2;
}

SpinButtonParts LayoutSpinButton(int width, int height) {
    const int half = height / 2;
    SpinButtonParts parts;
    parts.up = RectAt(0, 0, width, half);
    parts.down = PixelRect{0, half - 1, width, height};
    return parts;
}

PixelRect SpinFocusRect(const PixelRect& button, bool pressed) {
    PixelRect r{button.left + 3, button.top + 3, button.right - 3, button.bottom - 3};
    if (pressed) {
        r.left += 1;
        r.top += 1;
        r.right += 1;
        r.bottom += 1;
    }
    return r;
}

} // namespace brevalo
