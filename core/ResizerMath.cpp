#include "ResizerMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brevalo {

int RoundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double Low = std::numeric_limits<int>::min();
    constexpr double High = std::numeric_limits<int>::max();
    double rounded = std::floor(value);
    const double fraction = value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    return static_cast<int>(std::clamp(rounded, Low, High));
}

OwnerSize EnforceMinimumSize(OwnerSize current, OwnerSize initial, bool enforce) {
    if (enforce) {
        if (current.height < initial.height)
            current.height = initial.height;
        if (current.width < initial.width)
            current.width = initial.width;
    }
    return current;
}

ResizeRatios RatiosFor(OwnerSize current, OwnerSize initial) {
    ResizeRatios ratios;
    if (initial.height != 0)
        ratios.height = double(current.height) / double(initial.height);
    if (initial.width != 0)
        ratios.width = double(current.width) / double(initial.width);
    return ratios;
}

int ScaledFontSize(double heightRatio, int initialSize, int minSize, int maxSize) {
    int size = RoundHalfEven(heightRatio * initialSize);
    size = std::min(size, maxSize);
    size = std::max(size, minSize);
    return size;
}

ResizeOutcome ResizeRecord(const ResizerRecord& r, OwnerSize owner, ResizeRatios ratios,
                           const ResizerBounds& current) {
    ResizeOutcome out{current, std::nullopt};
    const bool useFont = r.hasFont && r.resizeFonts;
    if (owner == r.form) {
        // Back at the start: the recorded values, free of rounding drift.
        if (r.resizeLeft)
            out.bounds.left = r.initial.left;
        if (r.resizeTop)
            out.bounds.top = r.initial.top;
        if (r.resizeWidth)
            out.bounds.width = r.initial.width;
        if (r.resizeHeight)
            out.bounds.height = r.initial.height;
        if (useFont)
            out.fontSize = r.initialFontSize;
        return out;
    }
    if (r.resizeHeight)
        out.bounds.height = RoundHalfEven(r.initial.height * ratios.height);
    if (r.resizeWidth)
        out.bounds.width = RoundHalfEven(r.initial.width * ratios.width);
    if (r.resizeLeft)
        out.bounds.left = RoundHalfEven(ratios.width * r.initial.left);
    if (r.resizeTop)
        out.bounds.top = RoundHalfEven(ratios.height * r.initial.top);
    if (useFont)
        out.fontSize =
            ScaledFontSize(ratios.height, r.initialFontSize, r.minFontSize, r.maxFontSize);
    return out;
}

} // namespace brevalo
