// 32-bit colours (0x00BBGGRR) and their six-digit RRGGBB text form.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace brevalo {

using TColor = std::int32_t;

constexpr TColor ClNone = 0x1FFFFFFF;    // not painted
constexpr TColor ClDefault = 0x20000000; // "Automatic"

constexpr TColor Rgb(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

class ColourError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads RRGGBB (either case). Throws ColourError for text that is not a colour.
TColor ColourFromString(std::string_view text);
// Writes RRGGBB in upper case. Throws std::range_error for a negative
// (system) colour.
std::string ColourToString(TColor colour);

} // namespace brevalo
