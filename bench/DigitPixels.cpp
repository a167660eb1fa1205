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

} // namespace brevalo::bench
