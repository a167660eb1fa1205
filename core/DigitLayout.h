// Where the two digit labels of the timer window go and how large their font
// is, as a function of the window's size and the labels' measured text.
#pragma once

#include <functional>

namespace brevalo {

struct TextExtent {
    int width = 0;
    int height = 0;
};

struct DigitLayout {
    int label1Size = 0; // points
    int label1Left = 0;
    int label1Top = 0;
    int label2Size = 0;
    int label2Left = 0;
    int label2Top = 0;
};

// The smallest font size the layout shrinks to; a window too narrow for even
// that keeps it rather than going to zero or negative sizes.
inline constexpr int MinimumDigitSize = 3;

// The seconds label stands this many pixels right of the other digits.
inline constexpr int DigitGap = 15;

// `windowWidth` and `windowHeight` are the window's outer size, `clientHeight`
// its inner height; `label2WidthBefore` is the seconds label's width before
// this layout; the extents give a label's text size at a font size in points.
DigitLayout LayoutDigits(int windowWidth, int windowHeight, int clientHeight, int label2WidthBefore,
                         const std::function<TextExtent(int points)>& label1Extent,
                         const std::function<TextExtent(int points)>& label2Extent);

} // namespace brevalo
