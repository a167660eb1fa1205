// The spin edit's arithmetic: reading the number back, clamping, stepping,
// the character filter and the placement of the arrows and the text.
#include "SpinRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string_view>

namespace brevalo {
namespace {

TEST(SpinRules, EqualLimitsLeaveEveryValueAlone) {
    EXPECT_EQ(ClampSpinValue(-25, 0, 0), -25);
    EXPECT_EQ(ClampSpinValue(123456, 0, 0), 123456);
    EXPECT_EQ(ClampSpinValue(7, 5, 5), 7);
}

TEST(SpinRules, LimitsRaiseLowAndLowerHighValues) {
    EXPECT_EQ(ClampSpinValue(15, 1, 10), 10);
    EXPECT_EQ(ClampSpinValue(-3, 1, 10), 1);
    EXPECT_EQ(ClampSpinValue(1, 1, 10), 1);
    EXPECT_EQ(ClampSpinValue(10, 1, 10), 10);
    EXPECT_EQ(ClampSpinValue(4, 1, 10), 4);
    // Crossed limits: the minimum is checked first, the maximum only for values
    // not below it.
    EXPECT_EQ(ClampSpinValue(0, 10, 1), 10);
    EXPECT_EQ(ClampSpinValue(20, 10, 1), 1);
}

TEST(SpinRules, ValuesBeyondIntStopAtItsEnds) {
    EXPECT_EQ(ClampSpinValue(std::int64_t{INT_MAX} + 5, 0, 0), INT_MAX);
    EXPECT_EQ(ClampSpinValue(std::int64_t{INT_MIN} - 5, 0, 0), INT_MIN);
}

TEST(SpinRules, TextReadsAsDecimalIntegerOrAsTheMinimum) {
    EXPECT_EQ(ReadSpinValue("42", 0), 42);
    EXPECT_EQ(ReadSpinValue("-17", 0), -17);
    EXPECT_EQ(ReadSpinValue("+5", 3), 5);
    EXPECT_EQ(ReadSpinValue("007", 0), 7);
    EXPECT_EQ(ReadSpinValue("2147483647", 0), INT_MAX);
    EXPECT_EQ(ReadSpinValue("-2147483648", 0), INT_MIN);
    // Not a number: the minimum.
    EXPECT_EQ(ReadSpinValue("12a", 1), 1);
    EXPECT_EQ(ReadSpinValue("", 4), 4);
    EXPECT_EQ(ReadSpinValue("-", 4), 4);
    EXPECT_EQ(ReadSpinValue("1.5", 0), 0);
    EXPECT_EQ(ReadSpinValue("$10", 0), 0);
    EXPECT_EQ(ReadSpinValue("0x10", 0), 0);
    EXPECT_EQ(ReadSpinValue("1 ", 9), 9);
    EXPECT_EQ(ReadSpinValue("2147483648", -1), -1);
    EXPECT_EQ(ReadSpinValue("-2147483649", -1), -1);
    EXPECT_EQ(ReadSpinValue("99999999999999999999", 2), 2);
}

TEST(SpinRules, StepsAddOrSubtractTheIncrementAndClamp) {
    EXPECT_EQ(SpinStep(5, 1, true, 0, 0), 6);
    EXPECT_EQ(SpinStep(0, 1, false, 0, 0), -1);
    EXPECT_EQ(SpinStep(5, 3, false, 0, 0), 2);
    EXPECT_EQ(SpinStep(9, 5, true, 1, 10), 10);
    EXPECT_EQ(SpinStep(2, 5, false, 1, 10), 1);
    // A negative increment turns the arrows round.
    EXPECT_EQ(SpinStep(5, -2, true, 0, 0), 3);
    // No wrap-around at the ends of int.
    EXPECT_EQ(SpinStep(INT_MAX, 1, true, 0, 0), INT_MAX);
    EXPECT_EQ(SpinStep(INT_MIN, 1, false, 0, 0), INT_MIN);
    EXPECT_EQ(SpinStep(INT_MIN, INT_MIN, false, 0, 0), 0);
}

TEST(SpinRules, TypedCharactersAreFilteredWithTheEditorEnabled) {
    for (char32_t c : std::u32string_view(U"0123456789+-,"))
        EXPECT_TRUE(IsValidSpinChar(c, U',', true)) << char(c);
    for (char32_t c : std::u32string_view(U"aZ .e/*="))
        EXPECT_FALSE(IsValidSpinChar(c, U',', true)) << char(c);
    // The decimal separator is the locale's, not always ".".
    EXPECT_TRUE(IsValidSpinChar(U'.', U'.', true));
    EXPECT_TRUE(IsValidSpinChar(U'\x066B', U'\x066B', true));
    // Control characters pass, carriage return does not.
    EXPECT_TRUE(IsValidSpinChar(8, U'.', true));
    EXPECT_TRUE(IsValidSpinChar(22, U'.', true)); // Ctrl+V
    EXPECT_TRUE(IsValidSpinChar(27, U'.', true));
    EXPECT_FALSE(IsValidSpinChar(13, U'.', true));
    EXPECT_FALSE(IsValidSpinChar(U'\x00E9', U'.', true));
}

TEST(SpinRules, WithTheEditorDisabledOnlyControlCharactersOtherThanBackspacePass) {
    EXPECT_FALSE(IsValidSpinChar(U'5', U'.', false));
    EXPECT_FALSE(IsValidSpinChar(U'-', U'.', false));
    EXPECT_FALSE(IsValidSpinChar(U'.', U'.', false));
    EXPECT_FALSE(IsValidSpinChar(8, U'.', false));
    EXPECT_FALSE(IsValidSpinChar(13, U'.', false));
    EXPECT_TRUE(IsValidSpinChar(3, U'.', false)); // Ctrl+C
    EXPECT_TRUE(IsValidSpinChar(9, U'.', false));
}

TEST(SpinRules, ArrowsSitAtTheRightEdgeAndTheTextStopsBeforeThem) {
    // A sunken edit of 113 x 22 has a client area of 109 x 18.
    const SpinEditLayout sunken = LayoutSpinEdit(113, 22, 109, 18, 15, true);
    EXPECT_EQ(sunken.button, (PixelRect{93, 0, 108, 17}));
    EXPECT_EQ(sunken.formatRect, (PixelRect{0, 0, 92, 19}));
    // Without the 3-D look the client area is the whole control.
    const SpinEditLayout plain = LayoutSpinEdit(113, 22, 113, 22, 15, false);
    EXPECT_EQ(plain.button, (PixelRect{98, 1, 113, 20}));
    EXPECT_EQ(plain.formatRect, (PixelRect{0, 0, 96, 23}));
}

TEST(SpinRules, MinimumHeightFollowsTheFontAndTheSmallerOfTheTwoFonts) {
    // 4 x 1 + 13 + min(16, 13) / 4 + 2 = 22.
    EXPECT_EQ(SpinEditMinHeight(1, 13, 16), 22);
    // A large font: the system font's height is the smaller one.
    EXPECT_EQ(SpinEditMinHeight(1, 40, 16), 4 + 40 + 4 + 2);
    EXPECT_EQ(SpinEditMinHeight(2, 10, 16), 8 + 10 + 2 + 2);
}

TEST(SpinRules, TheArrowsSplitTheButtonWithOnePixelOverlap) {
    const SpinButtonParts even = LayoutSpinButton(15, 17);
    EXPECT_EQ(even.up, (PixelRect{0, 0, 15, 8}));
    EXPECT_EQ(even.down, (PixelRect{0, 7, 15, 17}));
    const SpinButtonParts odd = LayoutSpinButton(15, 20);
    EXPECT_EQ(odd.up, (PixelRect{0, 0, 15, 10}));
    EXPECT_EQ(odd.down, (PixelRect{0, 9, 15, 20}));
}

TEST(SpinRules, FocusRectangleIsInsetAndFollowsThePress) {
    const PixelRect button{0, 0, 15, 8};
    EXPECT_EQ(SpinFocusRect(button, false), (PixelRect{3, 3, 12, 5}));
    EXPECT_EQ(SpinFocusRect(button, true), (PixelRect{4, 4, 13, 6}));
}

} // namespace
} // namespace brevalo
