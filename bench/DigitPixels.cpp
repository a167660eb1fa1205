#include "DigitPixels.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace brevalo::bench {

namespace {

bool Matches(std::uint32_t p, Rgb colour, int tolerance) {
    const int red = int((p >> 16) & 0xFF);
    const int green = int((p >> 8) & 0xFF);
    const int blue = int(p & 0xFF);
    return std::abs(red - colour.red) <= tolerance && std::abs(green - colour.green) <= tolerance &&
           std::abs(blue - colour.blue) <= tolerance;
}

} // namespace

int CountColourPixels(const std::uint32_t* pixels, int width, int height, Rgb colour,
                      int tolerance) {
    int count = 0;
    for (int i = 0; i < width * height; ++i)
        count += Matches(pixels[i], colour, tolerance);
    return count;
}

Box ColourBounds(const std::uint32_t* pixels, int width, int height, Rgb colour, int tolerance) {
    Box box{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (Matches(pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)], colour,
                        tolerance)) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box.right > box.left ? box : Box{};
}

std::uint64_t ImageSignature(const std::uint32_t* pixels, int width, int height) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (int i = 0; i < width * height; ++i) {
        hash ^= pixels[i] & 0xFFFFFFu; // the fourth byte of a DIB pixel is unused
        hash *= 0x100000001b3ull;
    }
    return hash;
}

} // namespace brevalo::bench
