// The rules of the integer spin edit that are plain arithmetic: reading the
// number back from the text, clamping to the limits, the step of one click,
// which typed characters are accepted, and where the arrow buttons and the
// text go.
#pragma once

#include "PixelRect.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevalo {

// Equal limits mean no limits: the value is left as it is. Otherwise a value
// below the minimum becomes the minimum, then one above the maximum becomes
// the maximum. Values beyond the range of int are first brought into it.
int ClampSpinValue(std::int64_t value, int minValue, int maxValue);

// The text as a decimal integer (an optional sign, then digits, within the
// range of int), or nothing.
std::optional<int> ParseSpinText(std::string_view text);

// The value the text stands for: the number, or the minimum for text that is
// not a number.
int ReadSpinValue(std::string_view text, int minValue);

// The value after one up or down step, clamped. A step that would pass the
// range of int stops at its end.
int SpinStep(int value, int increment, bool up, int minValue, int maxValue);

// Whether a typed character reaches the edit: the sign characters, the digits,
// the locale's decimal separator and the control characters other than
// carriage return; with the editor disabled, backspace and the printable
// characters are refused as well.
bool IsValidSpinChar(char32_t c, char32_t decimalSeparator, bool editorEnabled);

// The spin button never gets narrower than this.
inline constexpr int MinSpinButtonWidth = 15;

struct SpinEditLayout {
    // Where the text may go, in the edit's client coordinates: never under the
    // arrow buttons.
    PixelRect formatRect;
    // The arrow buttons, in the edit's client coordinates.
    PixelRect button;
};

// `width` and `height` are the edit's outer size, `clientWidth` and
// `clientHeight` its inner size; `sunken` is the 3-D look.
SpinEditLayout LayoutSpinEdit(int width, int height, int clientWidth, int clientHeight,
                              int buttonWidth, bool sunken);

// The least height of the spin edit for its font.
int SpinEditMinHeight(int borderHeight, int fontTextHeight, int systemFontTextHeight);

struct SpinButtonParts {
    PixelRect up;
    PixelRect down;
};

// The up arrow takes the upper half; the down arrow starts one pixel above the
// end of the up arrow and runs to the bottom.
SpinButtonParts LayoutSpinButton(int width, int height);

// The focus rectangle of an arrow button: inset 3 pixels, moved by one while
// the button is pressed.
PixelRect SpinFocusRect(const PixelRect& button, bool pressed);

} // namespace brevalo
