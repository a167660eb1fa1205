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

TEST(DigitLayout, ThePairIsCentredWithTheSecondsFifteenPixelsRight) {
    // Client height 560: 112 less 22 = 90 pt, 900 x 135; the seconds at 45 pt
    // are 180 x 67; the seconds label was 50 wide before.
    const DigitLayout layout = LayoutDigits(1000, 600, 560, 50, Linear(10), Linear(4));
    ASSERT_EQ(layout.label1Size, 90);
    ASSERT_EQ(layout.label2Size, 45);
    const int w1 = 900, h1 = 135, w2 = 180, h2 = 67;
    int left = 1000 / 2 - (w1 - 50 - 15) / 2;
    left -= w2 + 7;
    EXPECT_EQ(layout.label1Left, left);
    EXPECT_EQ(layout.label2Left, left + w1 + 15);
    EXPECT_EQ(layout.label1Top, 600 / 2 - h1 / 2);
    EXPECT_EQ(layout.label2Top, layout.label1Top + h1 / 2 - h2);
}

TEST(DigitLayout, DivisionsTruncateTowardZero) {
    // Odd sizes everywhere: 7 px per point at 3 points for C = 19 is the minimum.
    const DigitLayout layout = LayoutDigits(101, 51, 19, 3, Linear(7), Linear(5));
    EXPECT_EQ(layout.label1Size, 3);
    EXPECT_EQ(layout.label2Size, 1);
    EXPECT_EQ(layout.label1Left, 101 / 2 - (21 - 3 - 15) / 2 - (5 + 7));
    EXPECT_EQ(layout.label1Top, 51 / 2 - 4 / 2);
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
