#include "DigitLayout.h"

namespace brevalo {

DigitLayout LayoutDigits(int windowWidth, int windowHeight, int clientHeight, int label2WidthBefore,
                         const std::function<TextExtent(int points)>& label1Extent,
                         const std::function<TextExtent(int points)>& label2Extent) {
    DigitLayout layout;
    // A fifth of the client height, less a fifth of that.
    const int fifth = clientHeight / 5;
    layout.label1Size = fifth - fifth / 5;
    if (layout.label1Size < MinimumDigitSize)
        layout.label1Size = MinimumDigitSize;
    TextExtent label1 = label1Extent(layout.label1Size);
    // Shrink in steps of 3 points until the digits fit the window's width.
    while (label1.width > windowWidth && layout.label1Size - 3 >= MinimumDigitSize) {
        layout.label1Size -= 3;
        label1 = label1Extent(layout.label1Size);
    }
    // Centre the pair, first with the seconds label's old width ...
    layout.label1Left = windowWidth / 2 - (label1.width - label2WidthBefore - DigitGap) / 2;
    // ... then with the seconds at half size, the gap right of the digits.
    layout.label2Size = layout.label1Size / 2;
    const TextExtent label2 = label2Extent(layout.label2Size);
    layout.label1Left -= label2.width + 7;
    layout.label2Left = layout.label1Left + label1.width + DigitGap;
    // Vertically centred; the seconds' bottom at the digits' middle.
    layout.label1Top = windowHeight / 2 - label1.height / 2;
    layout.label2Top = layout.label1Top + label1.height / 2 - label2.height;
    return layout;
}

} // namespace brevalo
