// The wizard's arithmetic: page search, button bar, etched lines and the
// placement of pictures, titles, header images, watermark and panel.
#include "WizardGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevalo {
namespace {

using Kind = TKWizardButtonKind;

std::function<bool(int)> EnabledPages(std::vector<bool> enabled) {
    return [enabled](int i) { return enabled.at(std::size_t(i)); };
}

TEST(FindNextPageIndex, SkipsDisabledPagesWithoutWrappingAround) {
    const auto enabled = EnabledPages({false, true, false, true, false});
    EXPECT_EQ(FindNextPageIndex(-1, +1, 5, enabled, true), 1);
    EXPECT_EQ(FindNextPageIndex(1, +1, 5, enabled, true), 3);
    EXPECT_EQ(FindNextPageIndex(3, +1, 5, enabled, true), -1); // past the last enabled page
    EXPECT_EQ(FindNextPageIndex(5, -1, 5, enabled, true), 3);
    EXPECT_EQ(FindNextPageIndex(3, -1, 5, enabled, true), 1);
    EXPECT_EQ(FindNextPageIndex(1, -1, 5, enabled, true), -1);
    // Without skipping, the neighbour is returned whatever its state.
    EXPECT_EQ(FindNextPageIndex(1, +1, 5, enabled, false), 2);
    EXPECT_EQ(FindNextPageIndex(-1, +1, 5, enabled, false), 0);
    EXPECT_EQ(FindNextPageIndex(4, +1, 5, enabled, false), -1);
}

TEST(FindNextPageIndex, EmptyOrAllDisabledListsYieldNothing) {
    EXPECT_EQ(FindNextPageIndex(-1, +1, 0, EnabledPages({}), true), -1);
    EXPECT_EQ(FindNextPageIndex(0, -1, 0, EnabledPages({}), true), -1);
    const auto none = EnabledPages({false, false, false});
    EXPECT_EQ(FindNextPageIndex(-1, +1, 3, none, true), -1);
    EXPECT_EQ(FindNextPageIndex(3, -1, 3, none, true), -1);
    // An index far outside the list starts from the nearer end.
    EXPECT_EQ(FindNextPageIndex(-50, +1, 3, EnabledPages({true, true, true}), true), 0);
    EXPECT_EQ(FindNextPageIndex(99, -1, 3, EnabledPages({true, true, true}), true), 2);
}

TEST(ButtonBar, IsHiddenOnlyForAnActivePageWithoutButtons) {
    EXPECT_EQ(ButtonBarHeightFor(false, TKWizardButtonSet{}), 42);
    EXPECT_EQ(ButtonBarHeightFor(true, TKWizardButtonSet{}), 0);
    EXPECT_EQ(ButtonBarHeightFor(true, TKWizardButtonSet{Kind::bkHelp}), 42);
    EXPECT_EQ(WizardPageArea({0, 0, 640, 380}, 42), (PixelRect{0, 0, 640, 338}));
    EXPECT_EQ(WizardPageArea({0, 0, 640, 380}, 0), (PixelRect{0, 0, 640, 380}));
    EXPECT_EQ(WizardPageArea({0, 0, 640, 380}, 25), (PixelRect{0, 0, 640, 380}));
}

TEST(ButtonSet, HoldsOneBitPerKind) {
    TKWizardButtonSet set{Kind::bkStart, Kind::bkHelp};
    EXPECT_EQ(set.Bits(), 0x41);
    set.Include(Kind::bkBack);
    set.Exclude(Kind::bkStart);
    EXPECT_EQ(set.Bits(), 0x44);
    EXPECT_TRUE(set.Contains(Kind::bkBack));
    EXPECT_FALSE(set.Contains(Kind::bkStart));
    EXPECT_EQ(TKWizardButtonSet::All().Bits(), 0x7F);
    EXPECT_EQ(TKWizardButtonSet::FromBits(0xFF), TKWizardButtonSet::All());
    EXPECT_EQ(DefaultVisibleButtons.Bits(), 0x2C);
}

class ButtonLayout : public ::testing::Test {
protected:
    // The default widths: 85 for Start and Last, 75 for the others.
    static constexpr std::array<int, 7> Widths{85, 85, 75, 75, 75, 75, 75};
    static constexpr PixelRect Client{0, 0, 640, 380};

    std::array<PixelRect, 7> Layout(TKWizardButtonSet placement, int bar = 42) {
        std::array<PixelRect, 7> old;
        old.fill(PixelRect{-1, -1, -1, -1});
        return LayoutWizardButtons(Client, bar, placement, Widths, old);
    }
    static PixelRect At(int left, int right) { return PixelRect{left, 348, right, 373}; }
};

TEST_F(ButtonLayout, DefaultSetStandsAtTheRightEdgeOfA640By380Wizard) {
    const auto r = Layout(DefaultVisibleButtons);
    EXPECT_EQ(r[int(Kind::bkCancel)], At(557, 632));
    EXPECT_EQ(r[int(Kind::bkNext)], At(472, 547));
    EXPECT_EQ(r[int(Kind::bkBack)], At(396, 471));
    // Buttons outside the set keep their old bounds.
    EXPECT_EQ(r[int(Kind::bkFinish)], (PixelRect{-1, -1, -1, -1}));
    EXPECT_EQ(r[int(Kind::bkHelp)], (PixelRect{-1, -1, -1, -1}));
}

TEST_F(ButtonLayout, TheWideGapSeparatesFinishFromNextOnlyWhenBothStand) {
    const auto all = Layout({Kind::bkBack, Kind::bkNext, Kind::bkFinish, Kind::bkCancel});
    EXPECT_EQ(all[int(Kind::bkCancel)], At(557, 632));
    EXPECT_EQ(all[int(Kind::bkFinish)], At(481, 556));
    EXPECT_EQ(all[int(Kind::bkNext)], At(396, 471));
    EXPECT_EQ(all[int(Kind::bkBack)], At(320, 395));

    const auto finish = Layout({Kind::bkBack, Kind::bkFinish, Kind::bkCancel});
    EXPECT_EQ(finish[int(Kind::bkCancel)], At(557, 632));
    EXPECT_EQ(finish[int(Kind::bkFinish)], At(472, 547));
    EXPECT_EQ(finish[int(Kind::bkBack)], At(396, 471));
}

TEST_F(ButtonLayout, LeftGroupReadsHelpStartLast) {
    const auto r = Layout({Kind::bkHelp, Kind::bkStart, Kind::bkLast});
    EXPECT_EQ(r[int(Kind::bkHelp)], At(8, 83));
    EXPECT_EQ(r[int(Kind::bkStart)], At(93, 178));
    EXPECT_EQ(r[int(Kind::bkLast)], At(179, 264));
    const auto lastOnly = Layout({Kind::bkLast});
    EXPECT_EQ(lastOnly[int(Kind::bkLast)], At(8, 93));
}

TEST_F(ButtonLayout, ALowBarCollapsesEveryButton) {
    for (int bar : {0, 25}) {
        const auto r = Layout(TKWizardButtonSet::All(), bar);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(r[std::size_t(i)], (PixelRect{0, 0, Widths[std::size_t(i)], 0})) << i;
    }
    // 26 pixels is a bar: the buttons stand 16 pixels above the bottom.
    EXPECT_EQ(Layout(DefaultVisibleButtons, 26)[int(Kind::bkBack)],
              (PixelRect{396, 364, 471, 389}));
}

TEST(EtchedLines, DividerAboveTheButtonBar) {
    // The wizard's divider: the top edge of the bar's rectangle.
    const EtchedLines lines = EtchedLineSegments({0, 338, 640, 380}, EdgeTop);
    ASSERT_EQ(lines.segments.size(), 2u);
    EXPECT_EQ(lines.segments[0], (EtchedSegment{true, 1, 339, 640, 339}));
    EXPECT_EQ(lines.segments[1], (EtchedSegment{false, 0, 338, 639, 338}));
    EXPECT_EQ(lines.inside, (PixelRect{0, 340, 640, 380}));
}

TEST(EtchedLines, HeaderDividerLiesOnTheLastTwoRows) {
    const EtchedLines lines = EtchedLineSegments({0, 0, 476, 70}, EdgeBottom);
    ASSERT_EQ(lines.segments.size(), 2u);
    EXPECT_EQ(lines.segments[0], (EtchedSegment{true, 1, 69, 476, 69}));
    EXPECT_EQ(lines.segments[1], (EtchedSegment{false, 0, 68, 475, 68}));
}

TEST(EtchedLines, FrameDrawsHighlightFirstAndShrinksByTwo) {
    const EtchedLines lines = EtchedLineSegments({10, 20, 110, 70}, EdgeAll);
    const std::vector<EtchedSegment> expected{{true, 11, 21, 11, 70},    {true, 11, 21, 110, 21},
                                              {true, 109, 21, 109, 70},  {true, 11, 69, 110, 69},
                                              {false, 10, 20, 10, 69},   {false, 10, 20, 109, 20},
                                              {false, 108, 20, 108, 69}, {false, 10, 68, 109, 68}};
    EXPECT_EQ(lines.segments, expected);
    EXPECT_EQ(lines.inside, (PixelRect{12, 22, 108, 68}));
    EXPECT_TRUE(EtchedLineSegments({0, 0, 5, 5}, 0).segments.empty());
}

TEST(PlaceWizardImage, EmptyPictureDrawsNothing) {
    EXPECT_FALSE(
        PlaceWizardImage({0, 0, 100, 100}, 0, 10, TKImageAlignment::iaLeft, TKImageLayout::ilTop));
    EXPECT_FALSE(PlaceWizardImage({0, 0, 100, 100}, 10, 0, TKImageAlignment::iaStretch,
                                  TKImageLayout::ilStretch));
}

TEST(PlaceWizardImage, SmallPictureCentredAtItsOwnSizeOrStretched) {
    const PixelRect body{0, 70, 640, 338};
    EXPECT_EQ(PlaceWizardImage(body, 100, 50, TKImageAlignment::iaCenter, TKImageLayout::ilCenter),
              (ImagePlacement{{270, 179, 370, 229}, false}));
    EXPECT_EQ(
        PlaceWizardImage(body, 100, 50, TKImageAlignment::iaStretch, TKImageLayout::ilStretch),
        (ImagePlacement{body, true}));
    // Centred one way and stretched the other: the centred side keeps the
    // picture's size, the other is stretched.
    EXPECT_EQ(PlaceWizardImage(body, 100, 50, TKImageAlignment::iaCenter, TKImageLayout::ilStretch),
              (ImagePlacement{{270, 70, 370, 338}, true}));
    EXPECT_EQ(PlaceWizardImage(body, 100, 50, TKImageAlignment::iaStretch, TKImageLayout::ilCenter),
              (ImagePlacement{{0, 179, 640, 229}, true}));
    // Odd leftovers round the offset down.
    EXPECT_EQ(
        PlaceWizardImage({0, 0, 11, 11}, 4, 4, TKImageAlignment::iaCenter, TKImageLayout::ilCenter),
        (ImagePlacement{{3, 3, 7, 7}, false}));
}

TEST(PlaceWizardImage, RightBottomAndOversizedPictures) {
    const PixelRect r{10, 20, 110, 220};
    EXPECT_EQ(PlaceWizardImage(r, 30, 40, TKImageAlignment::iaRight, TKImageLayout::ilBottom),
              (ImagePlacement{{80, 180, 110, 220}, false}));
    EXPECT_EQ(PlaceWizardImage(r, 30, 40, TKImageAlignment::iaLeft, TKImageLayout::ilTop),
              (ImagePlacement{{10, 20, 40, 60}, false}));
    // Larger than the rectangle: never shifted left or up.
    EXPECT_EQ(PlaceWizardImage(r, 300, 400, TKImageAlignment::iaCenter, TKImageLayout::ilCenter),
              (ImagePlacement{{10, 20, 310, 420}, false}));
    EXPECT_EQ(PlaceWizardImage(r, 300, 400, TKImageAlignment::iaRight, TKImageLayout::ilBottom),
              (ImagePlacement{{10, 20, 310, 420}, false}));
}

TEST(PlaceTitle, HeaderDefaultsLeaveFourPixelsAround) {
    const PixelRect header{0, 0, 640, 70};
    const unsigned titleAnchors = akLeft | akTop | akRight;
    const PixelRect title = PlaceTitle(header, 120, 20, titleAnchors, 4, 0);
    EXPECT_EQ(title, (PixelRect{4, 4, 636, 24}));
    // The subtitle fills the rest down to 4 pixels above the bottom.
    const PixelRect rest{header.left, title.bottom, header.right, header.bottom};
    EXPECT_EQ(PlaceTitle(rest, 50, 13, titleAnchors | akBottom, 4, 0), (PixelRect{4, 28, 636, 66}));
}

TEST(PlaceTitle, DefaultAnchorsIndentAndClipping) {
    const PixelRect area{10, 10, 110, 40};
    EXPECT_EQ(PlaceTitle(area, 30, 12, akLeft | akTop, 4, 0), (PixelRect{14, 14, 44, 26}));
    EXPECT_EQ(PlaceTitle(area, 30, 12, akLeft | akTop, 4, 5), (PixelRect{19, 14, 39, 26}));
    EXPECT_EQ(PlaceTitle(area, 30, 12, 0, 4, 0), (PixelRect{10, 10, 40, 22}));
    // Text wider and taller than the area is clipped to it.
    EXPECT_EQ(PlaceTitle(area, 500, 50, akLeft | akTop, 4, 0), (PixelRect{14, 14, 110, 40}));
}

TEST(PlaceHeaderImage, RightOrLeftWithTheTextAreaBeside) {
    const PixelRect header{0, 0, 640, 70};
    const HeaderImagePlacement right =
        PlaceHeaderImage(header, 48, 48, TKImageLeftRight::iaRight, 0);
    EXPECT_EQ(right.image, (PixelRect{588, 11, 636, 59}));
    EXPECT_EQ(right.textArea, (PixelRect{0, 0, 588, 70}));

    const HeaderImagePlacement left = PlaceHeaderImage(header, 32, 31, TKImageLeftRight::iaLeft, 6);
    EXPECT_EQ(left.image, (PixelRect{6, 19, 38, 50}));
    EXPECT_EQ(left.textArea, (PixelRect{38, 0, 640, 70}));

    // An image taller than the header: the offset rounds toward zero.
    const HeaderImagePlacement tall = PlaceHeaderImage(header, 10, 75, TKImageLeftRight::iaLeft, 0);
    EXPECT_EQ(tall.image, (PixelRect{0, -2, 10, 73}));
}

TEST(PlaceWatermark, DefaultBandOnTheLeftWithItsBorder) {
    const WatermarkPlacement left =
        PlaceWatermark({0, 0, 640, 338}, TKWizardLeftRight::alLeft, 164, 1);
    EXPECT_EQ(left.band, (PixelRect{1, 1, 163, 337}));
    EXPECT_EQ(left.remaining, (PixelRect{164, 0, 640, 338}));

    const WatermarkPlacement right =
        PlaceWatermark({0, 0, 640, 338}, TKWizardLeftRight::alRight, 100, 0);
    EXPECT_EQ(right.band, (PixelRect{540, 0, 640, 338}));
    EXPECT_EQ(right.remaining, (PixelRect{0, 0, 540, 338}));
}

TEST(PageChildArea, LosesTheHeaderAndTheWatermark) {
    const PixelRect client{0, 0, 640, 338};
    EXPECT_EQ(PageChildArea(client, true, 70, false, TKWizardLeftRight::alLeft, 164),
              (PixelRect{0, 70, 640, 338}));
    EXPECT_EQ(PageChildArea(client, false, 70, true, TKWizardLeftRight::alLeft, 164),
              (PixelRect{164, 0, 640, 338}));
    EXPECT_EQ(PageChildArea(client, true, 70, true, TKWizardLeftRight::alRight, 164),
              (PixelRect{0, 70, 476, 338}));
}

TEST(PanelFrame, OnlyAVisiblePanelWithABorderIsDrawn) {
    EXPECT_FALSE(PanelFrame({0, 0, 100, 100}, false, 7));
    EXPECT_FALSE(PanelFrame({0, 0, 100, 100}, true, 0));
    EXPECT_EQ(PanelFrame({0, 70, 640, 338}, true, 7), (PixelRect{7, 77, 633, 331}));
}

} // namespace
} // namespace brevalo
