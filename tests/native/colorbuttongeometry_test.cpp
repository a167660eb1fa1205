// The colour button's arithmetic: the palette, its metrics and layout, the
// button's size rules, the palette's placement on the screen, the choice of
// the palette button for a colour, the swatch rectangles and the custom
// colour list.
#include "ColorButtonGeometry.h"
#include "CustomColors.h"

#include <gtest/gtest.h>

#include <set>

namespace brevalo {
namespace {

TEST(ColorButtonPalette, HoldsTheFortyColoursInRowOrder) {
    // Spot checks across the table, read as RGB.
    EXPECT_EQ(PaletteColors[0], Rgb(0x00, 0x00, 0x00));
    EXPECT_EQ(PaletteColors[1], Rgb(0x99, 0x33, 0x00));
    EXPECT_EQ(PaletteColors[4], Rgb(0x00, 0x33, 0x66));
    EXPECT_EQ(PaletteColors[7], Rgb(0x33, 0x33, 0x33));
    EXPECT_EQ(PaletteColors[8], Rgb(0x80, 0x00, 0x00));
    EXPECT_EQ(PaletteColors[9], Rgb(0xFF, 0x66, 0x00));
    EXPECT_EQ(PaletteColors[13], Rgb(0x00, 0x00, 0xFF));
    EXPECT_EQ(PaletteColors[16], Rgb(0xFF, 0x00, 0x00));
    EXPECT_EQ(PaletteColors[19], Rgb(0x33, 0x99, 0x66));
    EXPECT_EQ(PaletteColors[21], Rgb(0x33, 0x66, 0xFF));
    EXPECT_EQ(PaletteColors[25], Rgb(0xFF, 0xCC, 0x00));
    EXPECT_EQ(PaletteColors[29], Rgb(0x00, 0xCC, 0xFF));
    EXPECT_EQ(PaletteColors[30], Rgb(0x99, 0x33, 0x66));
    EXPECT_EQ(PaletteColors[31], Rgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(PaletteColors[32], Rgb(0xFF, 0x99, 0xCC));
    EXPECT_EQ(PaletteColors[38], Rgb(0xCC, 0x99, 0xFF));
    EXPECT_EQ(PaletteColors[39], Rgb(0xFF, 0xFF, 0xFF));
    // All distinct, all explicit colours.
    const std::set<TColor> distinct(PaletteColors.begin(), PaletteColors.end());
    EXPECT_EQ(distinct.size(), PaletteColors.size());
    for (TColor c : PaletteColors)
        EXPECT_EQ(c & 0xFF000000, 0);
}

TEST(ColorButtonPalette, MetricsStartAtTheirDefaultsWhichAreTheMinimums) {
    const PaletteMetrics m;
    EXPECT_EQ(m[PaletteMetric::TopMargin], 2);
    EXPECT_EQ(m[PaletteMetric::BottomMargin], 4);
    EXPECT_EQ(m[PaletteMetric::HoriMargin], 7);
    EXPECT_EQ(m[PaletteMetric::DragBarHeight], 7);
    EXPECT_EQ(m[PaletteMetric::DragBarSpace], 3);
    EXPECT_EQ(m[PaletteMetric::ColorSpace], 0);
    EXPECT_EQ(m[PaletteMetric::ColorSpaceTop], 4);
    EXPECT_EQ(m[PaletteMetric::ColorSpaceBottom], 4);
    EXPECT_EQ(m[PaletteMetric::ColorSize], 18);
    EXPECT_EQ(m[PaletteMetric::ButtonHeight], 22);
    EXPECT_EQ(PaletteMetricMinimum(PaletteMetric::ColorSize), 18);
    EXPECT_EQ(PaletteMetricMinimum(PaletteMetric::ColorSpace), 0);
}

TEST(ColorButtonPalette, WritingAMetricStoresItNotBelowItsMinimum) {
    PaletteMetrics m;
    EXPECT_FALSE(WritePaletteMetric(m, PaletteMetric::ColorSize, 18)) << "unchanged";
    EXPECT_TRUE(WritePaletteMetric(m, PaletteMetric::ColorSize, 10));
    EXPECT_EQ(m.colorSize, 18);
    EXPECT_TRUE(WritePaletteMetric(m, PaletteMetric::ColorSize, 24));
    EXPECT_EQ(m.colorSize, 24);
    EXPECT_TRUE(WritePaletteMetric(m, PaletteMetric::ColorSpace, -3));
    EXPECT_EQ(m.colorSpace, 0);
    EXPECT_TRUE(WritePaletteMetric(m, PaletteMetric::ButtonHeight, 30));
    EXPECT_EQ(m.buttonHeight, 30);
    // Only the written metric changes.
    PaletteMetrics expected;
    expected.colorSize = 24;
    expected.buttonHeight = 30;
    EXPECT_EQ(m, expected);
}

TEST(ColorButtonPalette, DefaultLayoutWithTheDragBar) {
    const PaletteLayout l = LayoutPalette(PaletteMetrics{}, true);
    EXPECT_EQ(l.clientWidth, 158);
    EXPECT_EQ(l.clientHeight, 158);
    EXPECT_EQ(l.dragBar, (PixelRect{4, 2, 154, 9}));
    EXPECT_EQ(l.automatic, RectAt(7, 12, 144, 22));
    EXPECT_EQ(l.cells[0], RectAt(7, 38, 18, 18));
    EXPECT_EQ(l.cells[7], RectAt(133, 38, 18, 18));
    EXPECT_EQ(l.cells[8], RectAt(7, 56, 18, 18));
    EXPECT_EQ(l.cells[39], RectAt(133, 110, 18, 18));
    EXPECT_EQ(l.cells[39].bottom, 128);
    EXPECT_EQ(l.other, RectAt(7, 132, 144, 22));
    // The last button ends at the bottom margin.
    EXPECT_EQ(l.other.bottom + 4, l.clientHeight);
}

TEST(ColorButtonPalette, WithoutTheDragBarEverythingMovesUpByItsHeight) {
    const PaletteLayout with = LayoutPalette(PaletteMetrics{}, true);
    const PaletteLayout without = LayoutPalette(PaletteMetrics{}, false);
    EXPECT_EQ(without.clientWidth, 158);
    EXPECT_EQ(without.clientHeight, 151);
    EXPECT_TRUE(without.dragBar.Empty());
    EXPECT_EQ(without.automatic, RectAt(7, 5, 144, 22));
    for (int i = 0; i < PaletteCellCount; ++i) {
        EXPECT_EQ(without.cells[i].top, with.cells[i].top - 7) << i;
        EXPECT_EQ(without.cells[i].left, with.cells[i].left) << i;
    }
    EXPECT_EQ(without.other, RectAt(7, 125, 144, 22));
}

TEST(ColorButtonPalette, LayoutFollowsChangedMetrics) {
    PaletteMetrics m;
    m.colorSize = 24;
    EXPECT_EQ(LayoutPalette(m, true).clientWidth, 2 * 7 + 8 * 24);

    m = PaletteMetrics{};
    m.colorSpace = 2;
    m.horiMargin = 10;
    m.topMargin = 5;
    const PaletteLayout l = LayoutPalette(m, true);
    EXPECT_EQ(l.clientWidth, 20 + 8 * 18 + 7 * 2);
    EXPECT_EQ(l.clientHeight, 5 + 4 + 7 + 3 + 4 + 4 + 5 * 18 + 4 * 2 + 2 * 22);
    EXPECT_EQ(l.dragBar, (PixelRect{5, 5, l.clientWidth - 5, 12}));
    EXPECT_EQ(l.automatic, RectAt(10, 15, l.clientWidth - 20, 22));
    // Cell 10 is in row 1, column 2: two and one steps of size plus space.
    EXPECT_EQ(l.cells[10], RectAt(10 + 2 * 20, 15 + 22 + 4 + 20, 18, 18));
    EXPECT_EQ(l.other.top, l.cells[39].bottom + 4);
    EXPECT_EQ(l.other.Width(), l.automatic.Width());
}

TEST(ColorButtonSize, ArrowAndFaceKeepTheirMinimumWidths) {
    const ColorButtonSize standard = AdjustColorButtonSize(32, 22, 9);
    EXPECT_EQ(standard.width, 32);
    EXPECT_EQ(standard.face, RectAt(0, 0, 23, 22));
    EXPECT_EQ(standard.arrow, RectAt(23, 0, 9, 22));

    const ColorButtonSize narrowArrow = AdjustColorButtonSize(40, 22, 5);
    EXPECT_EQ(narrowArrow.dropDownWidth, 9);
    EXPECT_EQ(narrowArrow.width, 40);
    EXPECT_EQ(narrowArrow.face.Width(), 31);

    const ColorButtonSize narrow = AdjustColorButtonSize(20, 22, 9);
    EXPECT_EQ(narrow.width, 32);

    const ColorButtonSize low = AdjustColorButtonSize(49, 10, 12);
    EXPECT_EQ(low.height, 22);
    EXPECT_EQ(low.face, RectAt(0, 0, 37, 22));
    EXPECT_EQ(low.arrow, RectAt(37, 0, 12, 22));

    // The advanced dialog's buttons: 49 x 25.
    const ColorButtonSize dialog = AdjustColorButtonSize(49, 25, 9);
    EXPECT_EQ(dialog.face, RectAt(0, 0, 40, 25));
    EXPECT_EQ(dialog.arrow, RectAt(40, 0, 9, 25));
}

TEST(ColorButtonPlacement, OpensBelowOrAboveAndStaysInsideTheRightEdge) {
    const PixelRect control = RectAt(100, 200, 32, 22);
    EXPECT_EQ(PlacePalette(control, 164, 164, 1280, 1024), (PixelPoint{100, 222}));
    // Too low: above the control.
    const PixelRect low = RectAt(100, 900, 32, 22);
    EXPECT_EQ(PlacePalette(low, 164, 164, 1280, 1024), (PixelPoint{100, 736}));
    // Exactly fitting is not passing the edge.
    EXPECT_EQ(PlacePalette(RectAt(100, 838, 32, 22), 164, 164, 1280, 1024).y, 860);
    // Too far right: pulled left to end at the edge.
    const PixelRect right = RectAt(1200, 200, 32, 22);
    EXPECT_EQ(PlacePalette(right, 164, 164, 1280, 1024), (PixelPoint{1116, 222}));
    EXPECT_EQ(PlacePalette(RectAt(1116, 200, 32, 22), 164, 164, 1280, 1024).x, 1116);
    // Both at once.
    EXPECT_EQ(PlacePalette(RectAt(1250, 1000, 32, 22), 164, 164, 1280, 1024),
              (PixelPoint{1116, 836}));
}

TEST(ColorButtonChoice, AutomaticFirstThenTheFirstMatchingCellElseNone) {
    EXPECT_EQ(FindPaletteButton(ClDefault, ClDefault, PaletteColors), (PaletteChoice{true, -1}));
    EXPECT_EQ(FindPaletteButton(0x0000FF, ClDefault, PaletteColors), (PaletteChoice{false, 16}));
    EXPECT_EQ(FindPaletteButton(0xFFFFFF, ClDefault, PaletteColors), (PaletteChoice{false, 39}));
    EXPECT_EQ(FindPaletteButton(0x000000, ClDefault, PaletteColors), (PaletteChoice{false, 0}));
    EXPECT_EQ(FindPaletteButton(0x123456, ClDefault, PaletteColors), (PaletteChoice{}));
    // A system colour is not an explicit one.
    EXPECT_EQ(FindPaletteButton(TColor(0xFF000005), ClDefault, PaletteColors), (PaletteChoice{}));
    // With a repeated colour the first cell wins.
    auto cells = PaletteColors;
    cells[30] = cells[3];
    EXPECT_EQ(FindPaletteButton(cells[3], ClDefault, cells).cell, 3);
    // "Automatic" wins over a cell of the same colour.
    EXPECT_EQ(FindPaletteButton(0, 0, PaletteColors), (PaletteChoice{true, -1}));
}

TEST(ColorButtonSwatches, FlatButtonsLoseTheirLastRowAndColumn) {
    EXPECT_EQ(SwatchArea(18, 18, true, false), (PixelRect{0, 0, 17, 17}));
    EXPECT_EQ(SwatchArea(18, 18, true, true), (PixelRect{0, 0, 17, 17}));
    EXPECT_EQ(SwatchArea(18, 18, false, false), (PixelRect{0, 0, 17, 17}));
    EXPECT_EQ(SwatchArea(18, 18, false, true), (PixelRect{1, 1, 18, 18}));
}

TEST(ColorButtonSwatches, DefaultSizesGiveTheKnownRectangles) {
    // The face, 23 x 22: the bar covers (4, 15)-(20, 19), one further while pressed.
    EXPECT_EQ(FaceColorBar(23, 22, false), (PixelRect{4, 15, 20, 19}));
    EXPECT_EQ(FaceColorBar(23, 22, true), (PixelRect{5, 16, 21, 20}));
    EXPECT_EQ(FaceColorBar(46, 44, false, 16, 8, 8), (PixelRect{7, 30, 39, 38}));
    // "Automatic", 144 x 22 flat: an outline inset 3 and an 11 x 11 square.
    const AutomaticMarks marks = AutomaticButtonMarks(SwatchArea(144, 22, true, false));
    EXPECT_EQ(marks.frame, (PixelRect{3, 3, 140, 18}));
    EXPECT_EQ(marks.swatch, (PixelRect{7, 6, 18, 17}));
    // A cell, 18 x 18 flat: a 12 x 12 swatch.
    const PixelRect cell = CellSwatch(SwatchArea(18, 18, true, false));
    EXPECT_EQ(cell, (PixelRect{3, 3, 15, 15}));
    // Larger cells keep the swatch centred.
    EXPECT_EQ(CellSwatch(SwatchArea(24, 24, true, false)), (PixelRect{4, 4, 20, 20}));
}

TEST(CustomColors, ListRoundTripsAndUnnamedColoursAreWhite) {
    CustomColorArray colors;
    colors.fill(0xFFFFFF);
    colors[0] = 0x0080FF;
    colors[15] = 0x000001;
    const std::vector<std::string> list = CustomColorsToList(colors);
    ASSERT_EQ(list.size(), 16u);
    EXPECT_EQ(list[0], "ColorA=0080FF");
    EXPECT_EQ(list[1], "ColorB=FFFFFF");
    EXPECT_EQ(list[15], "ColorP=000001");
    EXPECT_EQ(CustomColorsFromList(list), colors);

    const CustomColorArray parsed =
        CustomColorsFromList({"ColorC=ff", "Colord=123456", "ColorQ=000000", "ColorE=12345G",
                              "ColorF=1234567", "junk", "ColorC=00ABCD", "ColorG="});
    EXPECT_EQ(parsed[2], 0x00ABCD) << "the later entry wins";
    EXPECT_EQ(parsed[3], 0x123456);
    EXPECT_EQ(parsed[4], 0xFFFFFF);
    EXPECT_EQ(parsed[5], 0xFFFFFF);
    EXPECT_EQ(parsed[6], 0xFFFFFF);
}

} // namespace
} // namespace brevalo
