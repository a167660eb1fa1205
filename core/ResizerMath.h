// The arithmetic of the form resizer: the ratios between a form's current and
// initial size, and the bounds and font size each control gets from them.
#pragma once

#include <optional>

namespace brevalo {

struct ResizerBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ResizerBounds&, const ResizerBounds&) = default;
};

struct OwnerSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const OwnerSize&, const OwnerSize&) = default;
};

struct ResizeRatios {
    double height = 1.0;
    double width = 1.0;
};

// What is known of one control from the moment the resizer started.
struct ResizerRecord {
    ResizerBounds initial;
    OwnerSize form; // the owner's size at the start
    bool hasFont = false;
    int initialFontSize = 0; // points
    bool resizeLeft = true;
    bool resizeTop = true;
    bool resizeWidth = true; // false for labels: their width follows the text
    bool resizeHeight = true;
    bool resizeFonts = false;
    int minFontSize = 8;
    int maxFontSize = 48;
};

struct ResizeOutcome {
    ResizerBounds bounds;
    std::optional<int> fontSize; // set when the font is to be (re)assigned
};

// Rounds to the nearest integer, halves to the even neighbour; values beyond
// the range of int stop at its ends.
int RoundHalfEven(double value);

// With `enforce`, a dimension below its initial value is set back to it.
OwnerSize EnforceMinimumSize(OwnerSize current, OwnerSize initial, bool enforce);

// Current over initial size, per dimension. An initial size of 0 gives the
// ratio 1, so that nothing is divided by zero.
ResizeRatios RatiosFor(OwnerSize current, OwnerSize initial);

// A font size scaled by the height ratio, then kept within the limits (the
// minimum winning over the maximum).
int ScaledFontSize(double heightRatio, int initialSize, int minSize, int maxSize);

// The bounds (and font size) of one control for the owner's current size:
// its initial ones when the owner is back at its initial size, the scaled
// ones otherwise. Bounds whose flag is clear keep their `current` value.
ResizeOutcome ResizeRecord(const ResizerRecord& record, OwnerSize owner, ResizeRatios ratios,
                           const ResizerBounds& current);

} // namespace brevalo
