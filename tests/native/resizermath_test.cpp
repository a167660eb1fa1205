// The form resizer's arithmetic: ratios, rounding, font sizes and the bounds
// of one control.
#include "ResizerMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace brevalo {
namespace {

TEST(ResizerMath, RoundingTakesHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(-0.6), -1);
    EXPECT_EQ(RoundHalfEven(1e12), INT_MAX);
    EXPECT_EQ(RoundHalfEven(-1e12), INT_MIN);
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(ResizerMath, EnforcedMinimumSizeRestoresEachSmallerDimension) {
    const OwnerSize initial{400, 300};
    EXPECT_EQ(EnforceMinimumSize({350, 200}, initial, true), initial);
    EXPECT_EQ(EnforceMinimumSize({500, 200}, initial, true), (OwnerSize{500, 300}));
    EXPECT_EQ(EnforceMinimumSize({350, 600}, initial, true), (OwnerSize{400, 600}));
    EXPECT_EQ(EnforceMinimumSize({350, 200}, initial, false), (OwnerSize{350, 200}));
}

TEST(ResizerMath, RatiosAreCurrentOverInitialAndOneForAZeroStart) {
    const ResizeRatios r = RatiosFor({600, 150}, {400, 300});
    EXPECT_DOUBLE_EQ(r.width, 1.5);
    EXPECT_DOUBLE_EQ(r.height, 0.5);
    const ResizeRatios zero = RatiosFor({600, 150}, {0, 0});
    EXPECT_DOUBLE_EQ(zero.width, 1.0);
    EXPECT_DOUBLE_EQ(zero.height, 1.0);
}

TEST(ResizerMath, FontSizesFollowTheHeightRatioWithinTheLimits) {
    EXPECT_EQ(ScaledFontSize(0.5, 8, 8, 48), 8);    // 4 -> the minimum
    EXPECT_EQ(ScaledFontSize(10.0, 12, 8, 48), 48); // 120 -> the maximum
    EXPECT_EQ(ScaledFontSize(1.5, 12, 8, 48), 18);
    EXPECT_EQ(ScaledFontSize(1.25, 10, 8, 48), 12); // 12.5 -> 12
    EXPECT_EQ(ScaledFontSize(1.35, 10, 8, 48), 14); // 13.5 -> 14
    // Crossed limits: the minimum is applied last and wins.
    EXPECT_EQ(ScaledFontSize(1.0, 20, 30, 10), 30);
}

ResizerRecord Record() {
    ResizerRecord r;
    r.initial = {10, 20, 100, 21};
    r.form = {400, 300};
    r.hasFont = true;
    r.initialFontSize = 8;
    return r;
}

TEST(ResizerMath, ScalingMultipliesPositionsAndSizesByTheirRatios) {
    const ResizerRecord r = Record();
    const ResizeOutcome out = ResizeRecord(r, {600, 450}, {1.5, 1.5}, r.initial);
    EXPECT_EQ(out.bounds, (ResizerBounds{15, 30, 150, 32})); // 31.5 -> 32
    EXPECT_FALSE(out.fontSize) << "fonts are left alone unless asked for";

    const ResizeOutcome uneven = ResizeRecord(r, {500, 150}, {0.5, 1.25}, r.initial);
    EXPECT_EQ(uneven.bounds, (ResizerBounds{12, 10, 125, 10})); // 12.5 -> 12, 10.5 -> 10
}

TEST(ResizerMath, ClearedFlagsKeepTheCurrentValue) {
    ResizerRecord r = Record();
    r.resizeWidth = false; // a label
    const ResizerBounds current{11, 22, 77, 23};
    const ResizeOutcome out = ResizeRecord(r, {800, 600}, {2.0, 2.0}, current);
    EXPECT_EQ(out.bounds, (ResizerBounds{20, 40, 77, 42}));
    r.resizeLeft = r.resizeTop = r.resizeHeight = false;
    EXPECT_EQ(ResizeRecord(r, {800, 600}, {2.0, 2.0}, current).bounds, current);
    // Back at the start the flags are respected too.
    EXPECT_EQ(ResizeRecord(r, r.form, {1.0, 1.0}, current).bounds, current);
}

TEST(ResizerMath, BackAtTheInitialSizeEveryControlGetsItsInitialBoundsWithoutDrift) {
    ResizerRecord r = Record();
    r.resizeFonts = true;
    r.initial = {7, 13, 33, 17};
    // Scale down and up again through sizes whose ratios do not round-trip.
    ResizerBounds bounds = r.initial;
    for (const OwnerSize size : {OwnerSize{333, 251}, OwnerSize{271, 199}}) {
        bounds = ResizeRecord(r, size, RatiosFor(size, r.form), bounds).bounds;
    }
    ASSERT_NE(bounds, r.initial);
    const ResizeOutcome back = ResizeRecord(r, r.form, RatiosFor(r.form, r.form), bounds);
    EXPECT_EQ(back.bounds, r.initial);
    EXPECT_EQ(back.fontSize, 8);
}

TEST(ResizerMath, FontsAreScaledOnlyForControlsWithAFontWhenAsked) {
    ResizerRecord r = Record();
    r.resizeFonts = true;
    r.initialFontSize = 12;
    EXPECT_EQ(ResizeRecord(r, {4000, 3000}, {10.0, 10.0}, r.initial).fontSize, 48);
    r.initialFontSize = 8;
    EXPECT_EQ(ResizeRecord(r, {200, 150}, {0.5, 0.5}, r.initial).fontSize, 8);
    // Font sizes follow the height ratio only.
    r.initialFontSize = 10;
    EXPECT_EQ(ResizeRecord(r, {800, 300}, {1.0, 2.0}, r.initial).fontSize, 10);
    r.hasFont = false;
    EXPECT_FALSE(ResizeRecord(r, {800, 600}, {2.0, 2.0}, r.initial).fontSize);
}

} // namespace
} // namespace brevalo
