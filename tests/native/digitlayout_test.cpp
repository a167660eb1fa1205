// The digits' layout: font sizes from the client height, shrinking to the
// window's width, and the placement of the seconds beside the digits.
#include "DigitLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevalo {
namespace {

// A font whose text is `perPoint` pixels wide per point and 1.5 points high.
std::function<TextExtent(int)> Linear(int perPoint, std::vector<int>* asked = nullptr) {
    return [perPoint, asked](int points) {
        if (asked)
            asked->push_back(points);
        return TextExtent{points * perPoint, points * 3 / 2};
    };
}

TEST(DigitLayout, ClientHeight300StartsAt48AndShrinksInStepsOf3UntilItFits) {
    std::vector<int> asked;
    // 48 points are 480 px wide: too wide for 400; 45 -> 450, 42 -> 420, 39 -> 390 fits.
    const DigitLayout layout = LayoutDigits(400, 330, 300, 0, Linear(10, &asked), Linear(4));
    EXPECT_EQ(asked, (std::vector<int>{48, 45, 42, 39}));
    EXPECT_EQ(layout.label1Size, 39);
    EXPECT_EQ(layout.label2Size, 19);
}

TEST(DigitLayout, AWideWindowKeepsTheStartingSize) {
    const DigitLayout layout = LayoutDigits(1000, 330, 300, 0, Linear(10), Linear(4));
    EXPECT_EQ(layout.label1Size, 48);
    EXPECT_EQ(layout.label2Size, 24);
}

TEST(DigitLayout, ThePairIsCentredWithTheSecondsTheGapRight) {
    // Client height 560: 112 less 22 = 90 pt, 900 x 135; the seconds at 45 pt
    // are 180 x 67; the seconds label was 50 wide before.
    const DigitLayout layout = LayoutDigits(1000, 600, 560, 50, Linear(10), Linear(4));
    ASSERT_EQ(layout.label1Size, 90);
    ASSERT_EQ(layout.label2Size, 45);
    // Centred with the old seconds width: 500 - (900 - 50 - 15) / 2 = 83,
    // then moved left by the new seconds' width and 7: 83 - 187 = -104.
    EXPECT_EQ(layout.label1Left, -104);
    // The seconds stand the gap right of the digits (900 wide) ...
    EXPECT_EQ(layout.label2Left - (layout.label1Left + 900), DigitGap);
    // ... the digits are centred up and down (135 high in 600), and the
    // seconds (67 high) end at the digits' middle.
    EXPECT_EQ(layout.label1Top, 233);
    EXPECT_EQ(layout.label2Top + 67, layout.label1Top + 135 / 2);
}

TEST(DigitLayout, DivisionsTruncateTowardZero) {
    // Odd sizes everywhere: 7 px per point at 3 points for C = 19 is the minimum.
    const DigitLayout layout = LayoutDigits(101, 51, 19, 3, Linear(7), Linear(5));
    EXPECT_EQ(layout.label1Size, 3);
    EXPECT_EQ(layout.label2Size, 1);
    // 50 - (21 - 3 - 15) / 2 - (5 + 7), each division cut towards zero.
    EXPECT_EQ(layout.label1Left, 37);
    EXPECT_EQ(layout.label1Top, 23);
}

TEST(DigitLayout, ATinyOrNarrowWindowNeverGoesBelowTheMinimumSize) {
    std::vector<int> asked;
    const DigitLayout layout = LayoutDigits(5, 40, 30, 0, Linear(10, &asked), Linear(4));
    EXPECT_GE(layout.label1Size, MinimumDigitSize);
    EXPECT_LT(asked.size(), 10u);
    const DigitLayout zero = LayoutDigits(0, 0, 0, 0, Linear(10), Linear(4));
    EXPECT_EQ(zero.label1Size, MinimumDigitSize);
}

} // namespace
} // namespace brevalo
