// The arithmetic of the wizard control and its page decorations: the page
// search behind every move, the button bar's height and button positions,
// the etched lines, the placement of pictures, titles, the header image, the
// watermark band and the panel. Pure functions over integer rectangles.
#pragma once

#include "PixelRect.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

namespace brevalo {

// One navigation button, in the order the buttons are created.
enum class TKWizardButtonKind : std::uint8_t {
    bkStart,
    bkLast,
    bkBack,
    bkNext,
    bkFinish,
    bkCancel,
    bkHelp
};
inline constexpr int WizardButtonKindCount = 7;

// A set of button kinds: bit n stands for the kind with ordinal n.
class TKWizardButtonSet {
public:
    constexpr TKWizardButtonSet() noexcept = default;
    constexpr TKWizardButtonSet(std::initializer_list<TKWizardButtonKind> kinds) noexcept {
        for (TKWizardButtonKind kind : kinds)
            bits_ = std::uint8_t(bits_ | Bit(kind));
    }
    static constexpr TKWizardButtonSet All() noexcept { return FromBits(0x7F); }
    static constexpr TKWizardButtonSet FromBits(std::uint8_t bits) noexcept {
        TKWizardButtonSet set;
        set.bits_ = std::uint8_t(bits & 0x7F);
        return set;
    }

    constexpr std::uint8_t Bits() const noexcept { return bits_; }
    constexpr bool Empty() const noexcept { return bits_ == 0; }
    constexpr bool Contains(TKWizardButtonKind kind) const noexcept { return bits_ & Bit(kind); }
    constexpr void Include(TKWizardButtonKind kind) noexcept {
        bits_ = std::uint8_t(bits_ | Bit(kind));
    }
    constexpr void Exclude(TKWizardButtonKind kind) noexcept {
        bits_ = std::uint8_t(bits_ & ~Bit(kind));
    }
    friend constexpr bool operator==(TKWizardButtonSet, TKWizardButtonSet) = default;

private:
    static constexpr std::uint8_t Bit(TKWizardButtonKind kind) noexcept {
        return std::uint8_t(1u << unsigned(kind));
    }
    std::uint8_t bits_ = 0;
};

// The buttons a page shows when nothing else is said, and the sets used
// while no page is active.
inline constexpr TKWizardButtonSet DefaultVisibleButtons{
    TKWizardButtonKind::bkBack, TKWizardButtonKind::bkNext, TKWizardButtonKind::bkCancel};
inline constexpr TKWizardButtonSet NoPageEnabledButtons{TKWizardButtonKind::bkCancel};

enum class TKImageAlignment : std::uint8_t { iaLeft, iaRight, iaCenter, iaStretch };
enum class TKImageLayout : std::uint8_t { ilTop, ilBottom, ilCenter, ilStretch };
enum class TKImageLeftRight : std::uint8_t { iaLeft, iaRight };
enum class TKWizardLeftRight : std::uint8_t { alLeft, alRight };

// Metrics of the button bar, in pixels.
inline constexpr int WizardButtonBarHeight = 42;
inline constexpr int WizardButtonHeight = 25;
// A bar this high or lower holds no buttons and draws no divider.
inline constexpr int WizardCollapsedBarLimit = 25;

// Index of the next page from `index` in direction `step` (+1 or -1): the
// first page whose `enabled` is true, or simply the next page when
// `skipDisabled` is false. No wrap-around: -1 when the search leaves the
// list.
int FindNextPageIndex(int index, int step, int count, const std::function<bool(int)>& enabled,
                      bool skipDisabled);

// 42 while no page is active or the active page shows any button, else 0.
int ButtonBarHeightFor(bool hasActivePage, TKWizardButtonSet visibleButtons);

// The bounds of the seven buttons (indexed by kind) for a wizard whose
// client rectangle is `client`. Buttons outside `placement` keep `current`.
std::array<PixelRect, WizardButtonKindCount>
LayoutWizardButtons(const PixelRect& client, int buttonBarHeight, TKWizardButtonSet placement,
                    const std::array<int, WizardButtonKindCount>& widths,
                    std::array<PixelRect, WizardButtonKindCount> current);

// The area left for the pages: the client rectangle without the bar, when
// the bar is shown.
PixelRect WizardPageArea(const PixelRect& client, int buttonBarHeight);

// Edges of an etched line or frame.
enum EtchedEdge : unsigned {
    EdgeLeft = 1,
    EdgeTop = 2,
    EdgeRight = 4,
    EdgeBottom = 8,
    EdgeAll = 15
};

// One straight line from (x0, y0) towards (x1, y1), the end point excluded.
struct EtchedSegment {
    bool highlight = false; // highlight colour, else shadow colour
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    friend constexpr bool operator==(const EtchedSegment&, const EtchedSegment&) = default;
};

struct EtchedLines {
    std::vector<EtchedSegment> segments; // in drawing order
    PixelRect inside;                    // the rectangle left inside the drawn edges
};

// The highlight lines, then the shadow lines, of an etched frame on the
// chosen edges of `rect`. The shadow lines lie on `rect` shrunk by one pixel
// at its right and bottom, the highlight lines on that rectangle moved one
// pixel right and down; right and bottom lines lie one pixel inside their
// rectangle. Each drawn edge of `inside` is moved inward by 2 pixels.
EtchedLines EtchedLineSegments(const PixelRect& rect, unsigned edges);

// Where a picture of the given size goes in `rect`; stretched means it is
// stretched over `target`, else drawn at its own size at target's top-left.
struct ImagePlacement {
    PixelRect target;
    bool stretched = false;
    friend constexpr bool operator==(const ImagePlacement&, const ImagePlacement&) = default;
};
// Nothing for an empty picture (no width or height).
std::optional<ImagePlacement> PlaceWizardImage(const PixelRect& rect, int pictureWidth,
                                               int pictureHeight, TKImageAlignment alignment,
                                               TKImageLayout layout);

// Anchors of a page title.
enum TitleAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

// The rectangle of a title whose one-line text measures width x height in
// the area `area`.
PixelRect PlaceTitle(const PixelRect& area, int textWidth, int textHeight, unsigned anchors,
                     int anchorPlacement, int indent);

// The header image of the given size in the header rectangle, and what
// remains of the header's text area beside it.
struct HeaderImagePlacement {
    PixelRect image;
    PixelRect textArea;
};
HeaderImagePlacement PlaceHeaderImage(const PixelRect& header, int imageWidth, int imageHeight,
                                      TKImageLeftRight alignment, int imageOffset);

// The watermark's coloured band (inside its border) and the working
// rectangle that is left beside the band.
struct WatermarkPlacement {
    PixelRect band;
    PixelRect remaining;
};
WatermarkPlacement PlaceWatermark(const PixelRect& rect, TKWizardLeftRight align, int width,
                                  int borderWidth);

// The area of a page for aligned child controls.
PixelRect PageChildArea(const PixelRect& client, bool headerVisible, int headerHeight,
                        bool hasVisibleWatermark, TKWizardLeftRight watermarkAlign,
                        int watermarkWidth);

// The panel's frame rectangle (the etched frame goes on its edges and the
// colour fills it shrunk by 2 more pixels), or nothing when the panel draws
// nothing.
std::optional<PixelRect> PanelFrame(const PixelRect& rect, bool visible, int borderWidth);

} // namespace brevalo
