// The arithmetic of the colour drop-down button: its palette of 40 colours,
// the palette window's metrics and layout, the size rules of the button
// itself, where the palette opens, which palette button shows a colour, and
// the rectangles its colour swatches are painted in.
#pragma once

#include "Colour.h"
#include "PixelRect.h"

#include <array>

namespace brevalo {

inline constexpr int PaletteColumns = 8;
inline constexpr int PaletteRows = 5;
inline constexpr int PaletteCellCount = PaletteColumns * PaletteRows;

// The fixed colours, cell i in row i / 8 and column i % 8.
extern const std::array<TColor, PaletteCellCount> PaletteColors;

// The ten metrics of the palette window, in pixels.
enum class PaletteMetric {
    TopMargin,
    BottomMargin,
    HoriMargin,
    DragBarHeight,
    DragBarSpace,
    ColorSpace,
    ColorSpaceTop,
    ColorSpaceBottom,
    ColorSize,
    ButtonHeight,
};

struct PaletteMetrics {
    int topMargin = 2;
    int bottomMargin = 4;
    int horiMargin = 7;
    int dragBarHeight = 7;
    int dragBarSpace = 3;
    int colorSpace = 0;
    int colorSpaceTop = 4;
    int colorSpaceBottom = 4;
    int colorSize = 18;
    int buttonHeight = 22;

    int& operator[](PaletteMetric metric);
    int operator[](PaletteMetric metric) const;
    friend bool operator==(const PaletteMetrics&, const PaletteMetrics&) = default;
};

// The smallest value each metric may take (its default, but for ColorSpace 0).
int PaletteMetricMinimum(PaletteMetric metric);

// Writes one metric: nothing happens for the value it already has (false);
// otherwise the value is stored, raised to the metric's minimum if below it,
// and the result is true (the caller then leaves the word-processor style and
// lays the palette out again).
bool WritePaletteMetric(PaletteMetrics& metrics, PaletteMetric metric, int value);

struct PaletteLayout {
    int clientWidth = 0;
    int clientHeight = 0;
    PixelRect dragBar; // empty without the drag bar
    PixelRect automatic;
    std::array<PixelRect, PaletteCellCount> cells{};
    PixelRect other;
};

// Everything in the palette window's client coordinates. Without the drag bar
// everything moves up by the drag bar's height (its space below is kept).
PaletteLayout LayoutPalette(const PaletteMetrics& metrics, bool withDragBar);

inline constexpr int MinDropDownWidth = 9;
inline constexpr int MinFaceWidth = 23;
inline constexpr int MinColorButtonHeight = 22;

struct ColorButtonSize {
    int width = 0;
    int height = 0;
    int dropDownWidth = 0;
    PixelRect face;  // the colour face, at the left
    PixelRect arrow; // the drop-down arrow, at the right
};

// The size rules: the arrow part is at least 9 wide, the face at least 23,
// the button at least 22 high.
ColorButtonSize AdjustColorButtonSize(int width, int height, int dropDownWidth);

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Where the palette window opens for a control at `control` (screen
// coordinates): below the control, its left edges aligned; pulled left to end
// at the screen's right edge, and above the control when it would pass the
// screen's bottom.
PixelPoint PlacePalette(const PixelRect& control, int windowWidth, int windowHeight,
                        int screenWidth, int screenHeight);

// Which palette button shows a colour: "Automatic" for its own colour, else
// the first cell with that colour, else none.
struct PaletteChoice {
    bool automatic = false;
    int cell = -1; // -1: no cell
    friend bool operator==(const PaletteChoice&, const PaletteChoice&) = default;
};
PaletteChoice FindPaletteButton(TColor color, TColor automaticColor,
                                const std::array<TColor, PaletteCellCount>& cells);

// Painting of a colour swatch button of `width` x `height` pixels: the area
// its marks are placed in.
PixelRect SwatchArea(int width, int height, bool flat, bool pressed);

// The solid colour bar under the face's picture: 2 x halfWidth wide and
// `barHeight` high, centred across, `drop` pixels below the middle, moved by
// one while pressed. The defaults are those at 96 DPI.
PixelRect FaceColorBar(int width, int height, bool pressed, int halfWidth = 8, int drop = 4,
                       int barHeight = 4);

// The "Automatic" button's marks: an outline around the whole area and a
// small square swatch at its left.
struct AutomaticMarks {
    PixelRect frame;
    PixelRect swatch;
};
AutomaticMarks AutomaticButtonMarks(const PixelRect& area);

// A colour cell's swatch, centred in the cell.
PixelRect CellSwatch(const PixelRect& area);

} // namespace brevalo
