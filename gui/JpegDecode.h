// Decoding of JPEG images with libjpeg, into 32-bit pixels in the layout of
// a top-down device-independent bitmap (blue, green, red, unused).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace brevalo::gui {

// A picture that cannot be decoded or loaded.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Pictures larger than this many pixels are refused rather than allocated.
inline constexpr std::int64_t MaxPicturePixels = 32 * 1024 * 1024;

// Decodes the JPEG image in data[0, size). Once the size is known,
// `allocate(width, height)` must return storage for width × height pixels,
// row after row from the top; the pixels are written there. Grey, colour and
// CMYK images are accepted. Throws PictureError for data that is not a
// readable JPEG image or is too large; errors of `allocate` pass through.
void DecodeJpeg(const void* data, std::size_t size,
                const std::function<std::uint32_t*(int width, int height)>& allocate);

} // namespace brevalo::gui
