#include "JpegDecode.h"

#include <climits>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <string>
#include <vector>

#include <jpeglib.h>

namespace brevalo::gui {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
// It jumps back into Decode, which then returns false; the message is kept.
struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void ErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (for example about a truncated file, whose missing part is
// filled in) are not printed anywhere.
extern "C" void OutputMessage(j_common_ptr) {}

// Everything the decoder changes lives here, outside the frame that calls
// setjmp, so that nothing is lost or left unreleased by the long jump.
struct DecodeState {
    jpeg_decompress_struct info{};
    ErrorManager error{};
    bool created = false;
    bool cmyk = false;
    std::vector<unsigned char> row;

    ~DecodeState() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

void CmykRowToPixels(const unsigned char* cmyk, std::uint32_t* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        // Here the values are the amounts of light let through.
        const unsigned r = c * k / 255, g = m * k / 255, b = y * k / 255;
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

// Runs the library. Returns false when the library reported an error. This
// frame holds no object with a destructor, so the long jump into it skips
// none; errors of `allocate` leave it as ordinary exceptions.
bool Decode(DecodeState& s, const unsigned char* data, unsigned long size,
            const std::function<std::uint32_t*(int, int)>& allocate) {
    s.info.err = jpeg_std_error(&s.error.manager);
    s.error.manager.error_exit = ErrorExit;
    s.error.manager.output_message = OutputMessage;
    if (setjmp(s.error.jump))
        return false;

    jpeg_create_decompress(&s.info);
    s.created = true;
    jpeg_mem_src(&s.info, data, size);
    jpeg_read_header(&s.info, TRUE);

    s.cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
    s.info.out_color_space = s.cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    const std::int64_t pixels = std::int64_t(s.info.image_width) * s.info.image_height;
    if (pixels > MaxPicturePixels)
        throw PictureError("The JPEG image is too large (" + std::to_string(s.info.image_width) +
                           " x " + std::to_string(s.info.image_height) + ")");

    jpeg_start_decompress(&s.info);
    const int width = int(s.info.output_width), height = int(s.info.output_height);
    std::uint32_t* out = allocate(width, height);
    if (s.cmyk)
        s.row.resize(std::size_t(width) * 4);
    while (s.info.output_scanline < s.info.output_height) {
        std::uint32_t* line = out + std::size_t(s.info.output_scanline) * std::size_t(width);
        JSAMPROW target = s.cmyk ? s.row.data() : reinterpret_cast<JSAMPROW>(line);
        if (jpeg_read_scanlines(&s.info, &target, 1) != 1)
            return false;
        if (s.cmyk)
            CmykRowToPixels(s.row.data(), line, width, s.info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&s.info);
    return true;
}

} // namespace

void DecodeJpeg(const void* data, std::size_t size,
                const std::function<std::uint32_t*(int width, int height)>& allocate) {
    if (!data || size == 0)
        throw PictureError("The JPEG image is empty");
    if (size > ULONG_MAX)
        throw PictureError("The JPEG image is too large");
    DecodeState state;
    if (!Decode(state, static_cast<const unsigned char*>(data), static_cast<unsigned long>(size),
                allocate))
        throw PictureError(std::string("The JPEG image cannot be read: ") +
                           (state.error.message[0] ? state.error.message : "no image data"));
}

} // namespace brevalo::gui
