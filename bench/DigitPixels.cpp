#include "DigitPixels.h"

#include <cstdlib>

namespace brevalo::bench {

int CountColourPixels(const std::uint32_t* pixels, int width, int height, Rgb colour,
                      int tolerance) {
    int count = 0;
    for (int i = 0; i < width * height; ++i) {
        const std::uint32_t p = pixels[i];
        const int red = int((p >> 16) & 0xFF);
        const int green = int((p >> 8) & 0xFF);
        const int blue = int(p & 0xFF);
        if (std::abs(red - colour.red) <= tolerance &&
            std::abs(green - colour.green) <= tolerance &&
            std::abs(blue - colour.blue) <= tolerance)
            ++count;
    }
    return count;
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
