// Finding painted digits in a captured image.
#pragma once

#include <cstdint>

namespace brevalo::bench {

// An 8-bit-per-channel colour, red first.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// Counts the pixels of a 32-bit top-down image (each pixel 0x00RRGGBB, as a
// DIB section holds it) whose channels all lie within the tolerance of the
// colour. Antialiased edges blend with the background, so the tolerance
// keeps the count to the glyphs' solid inside.
int CountColourPixels(const std::uint32_t* pixels, int width, int height, Rgb colour,
                      int tolerance);

// The smallest box holding every pixel of the colour (within the
// tolerance); empty (right <= left) when there is none.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
};
Box ColourBounds(const std::uint32_t* pixels, int width, int height, Rgb colour, int tolerance);

// A hash of the image's pixels (64-bit FNV-1a): two captures of the same
// painted digits have the same signature, any change of a pixel another.
std::uint64_t ImageSignature(const std::uint32_t* pixels, int width, int height);

} // namespace brevalo::bench
