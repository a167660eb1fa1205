// Pictures: JPEG images decoded with libjpeg (colour, grey, CMYK, damaged,
// oversized), bitmaps, copies and change events, drawing at size, stretched
// and transparent, and the placement of a picture by DrawWizardImage.
#include "Application.h"
#include "KCommon.h"
#include "OsError.h"
#include "Picture.h"
#include "PixelCanvas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace brevalo::gui {
namespace {

using testsupport::PixelCanvas;

// A bitmap picture whose pixels come from `colour(x, y)`.
Picture PaintedPicture(int width, int height, const std::function<COLORREF(int, int)>& colour) {
    base::WindowDc screen(nullptr);
    base::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    {
        base::MemoryDc dc(CreateCompatibleDC(screen.Get()));
        base::SelectObjectScope select(dc.Get(), bitmap.Get());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetPixel(dc.Get(), x, y, colour(x, y));
    }
    Picture picture;
    picture.AssignBitmap(bitmap.Get());
    return picture;
}

Picture Solid(int width, int height, COLORREF colour) {
    return PaintedPicture(width, height, [colour](int, int) { return colour; });
}

bool Near(COLORREF a, COLORREF b, int tolerance = 12) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class PictureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Application::Instance().Initialize(GetModuleHandleW(nullptr)); }
};

// Encodes an image with libjpeg: `components` bytes per pixel from `pixel`.
std::vector<unsigned char> EncodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                                      const std::function<void(int, int, unsigned char*)>& pixel,
                                      bool adobeMarker = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (adobeMarker)
        info.write_Adobe_marker = TRUE;
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(std::size_t(width * components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixel(x, y, &row[std::size_t(x * components)]);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> data(out, out + size);
    std::free(out);
    return data;
}

// Four quadrants: red, green / blue, white.
std::vector<unsigned char> QuadrantJpeg(int width, int height) {
    return EncodeJpeg(width, height, 3, JCS_RGB, [=](int x, int y, unsigned char* p) {
        const bool right = x >= width / 2, bottom = y >= height / 2;
        const COLORREF c = !bottom ? (right ? RGB(0, 255, 0) : RGB(255, 0, 0))
                                   : (right ? RGB(255, 255, 255) : RGB(0, 0, 255));
        p[0] = GetRValue(c);
        p[1] = GetGValue(c);
        p[2] = GetBValue(c);
    });
}

TEST_F(PictureTest, DecodesAColourJpeg) {
    const auto data = QuadrantJpeg(64, 48);
    Picture picture;
    picture.LoadJpeg(data.data(), data.size());
    EXPECT_EQ(picture.Width(), 64);
    EXPECT_EQ(picture.Height(), 48);
    EXPECT_EQ(picture.Kind(), Picture::Format::Jpeg);
    EXPECT_FALSE(picture.Empty());
    // Away from the quadrant edges, where compression blurs.
    EXPECT_TRUE(Near(picture.Pixel(8, 8), RGB(255, 0, 0))) << std::hex << picture.Pixel(8, 8);
    EXPECT_TRUE(Near(picture.Pixel(56, 8), RGB(0, 255, 0))) << std::hex << picture.Pixel(56, 8);
    EXPECT_TRUE(Near(picture.Pixel(8, 40), RGB(0, 0, 255))) << std::hex << picture.Pixel(8, 40);
    EXPECT_TRUE(Near(picture.Pixel(56, 40), RGB(255, 255, 255)));

    // It draws as decoded.
    PixelCanvas canvas(80, 60, RGB(1, 2, 3));
    picture.Draw(canvas.Dc(), 10, 5);
    EXPECT_TRUE(Near(canvas.At(18, 13), RGB(255, 0, 0)));
    EXPECT_TRUE(Near(canvas.At(66, 45), RGB(255, 255, 255)));
    EXPECT_EQ(canvas.At(9, 13), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(74, 13), RGB(1, 2, 3));
}

TEST_F(PictureTest, DecodesGreyAndCmykJpegs) {
    const auto grey = EncodeJpeg(16, 16, 1, JCS_GRAYSCALE,
                                 [](int x, int, unsigned char* p) { *p = x < 8 ? 40 : 200; });
    Picture picture;
    picture.LoadJpeg(grey.data(), grey.size());
    EXPECT_TRUE(Near(picture.Pixel(2, 8), RGB(40, 40, 40), 6));
    EXPECT_TRUE(Near(picture.Pixel(13, 8), RGB(200, 200, 200), 6));

    // With an Adobe marker CMYK values are stored inverted (255 = no ink):
    // no cyan, full magenta and yellow, no black is red.
    const auto cmyk = EncodeJpeg(
        16, 16, 4, JCS_CMYK,
        [](int, int, unsigned char* p) {
            p[0] = 255;
            p[1] = 0;
            p[2] = 0;
            p[3] = 255;
        },
        true);
    picture.LoadJpeg(cmyk.data(), cmyk.size());
    EXPECT_TRUE(Near(picture.Pixel(8, 8), RGB(255, 0, 0))) << std::hex << picture.Pixel(8, 8);
}

TEST_F(PictureTest, BadDataIsRefusedAndKeepsThePicture) {
    const auto good = QuadrantJpeg(32, 32);
    Picture picture;
    picture.LoadJpeg(good.data(), good.size());
    int changes = 0;
    picture.OnChange = [&] { ++changes; };

    const std::vector<unsigned char> garbage{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    try {
        picture.LoadJpeg(garbage.data(), garbage.size());
        FAIL() << "garbage decoded";
    } catch (const PictureError& e) {
        EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
    }
    EXPECT_THROW(picture.LoadJpeg(good.data(), 0), PictureError);
    EXPECT_THROW(picture.LoadJpeg(nullptr, 10), PictureError);
    // The header alone is not enough.
    EXPECT_THROW(picture.LoadJpeg(good.data(), 20), PictureError);
    EXPECT_EQ(picture.Width(), 32);
    EXPECT_TRUE(Near(picture.Pixel(4, 4), RGB(255, 0, 0)));
    EXPECT_EQ(changes, 0);

    // A file cut short in its image data still gives a whole picture.
    const auto large = QuadrantJpeg(64, 64);
    std::size_t scan = 0; // the start-of-scan marker
    while (scan + 1 < large.size() && !(large[scan] == 0xFF && large[scan + 1] == 0xDA))
        ++scan;
    ASSERT_LT(scan + 20, large.size());
    picture.LoadJpeg(large.data(), scan + (large.size() - scan) / 2);
    EXPECT_EQ(picture.Width(), 64);
    EXPECT_EQ(picture.Height(), 64);
    EXPECT_EQ(changes, 1);
}

TEST_F(PictureTest, HugeDimensionsAreRefusedBeforeAllocating) {
    auto data = QuadrantJpeg(16, 16);
    // Rewrite the frame header (FF C0, length, precision, height, width) to
    // claim 60000 x 60000 pixels.
    bool patched = false;
    for (std::size_t i = 0; i + 8 < data.size(); ++i) {
        if (data[i] == 0xFF && data[i + 1] == 0xC0) {
            data[i + 5] = 0xEA;
            data[i + 6] = 0x60;
            data[i + 7] = 0xEA;
            data[i + 8] = 0x60;
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    Picture picture;
    try {
        picture.LoadJpeg(data.data(), data.size());
        FAIL() << "decoded";
    } catch (const PictureError& e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(picture.Empty());
}

TEST_F(PictureTest, BitmapsResourcesCopiesAndChangeEvents) {
    Picture picture;
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Kind(), Picture::Format::None);
    int changes = 0;
    picture.OnChange = [&] { ++changes; };

    // A bitmap resource (one of the system's own).
    picture.LoadBitmapResource(nullptr, MAKEINTRESOURCEW(32760)); // OBM_CHECK
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Kind(), Picture::Format::Bitmap);
    EXPECT_GT(picture.Width(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(picture.LoadBitmapResource(GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP"), base::OsError);
    EXPECT_THROW(picture.LoadJpegResource(GetModuleHandleW(nullptr), L"NO_SUCH_PICTURE"), base::OsError);
    EXPECT_EQ(changes, 1);

    picture = Solid(5, 3, RGB(9, 8, 7));
    EXPECT_EQ(changes, 2);
    Picture copy(picture);
    EXPECT_FALSE(copy.OnChange);
    EXPECT_NE(copy.Handle(), picture.Handle());
    EXPECT_EQ(copy.Pixel(4, 2), RGB(9, 8, 7));
    copy.Clear();
    EXPECT_EQ(picture.Pixel(4, 2), RGB(9, 8, 7)); // the original keeps its image
    picture.SetTransparent(true);
    picture.SetTransparent(true);
    EXPECT_EQ(changes, 3);
    picture.Clear();
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(changes, 4);
}

TEST_F(PictureTest, StretchedAndTransparentDrawing) {
    // Left half red, right half green; the bottom-left pixel is the
    // transparent colour when drawn transparently.
    Picture picture = PaintedPicture(4, 2, [](int x, int y) {
        if (x == 0 && y == 1)
            return RGB(255, 0, 255);
        return x < 2 ? RGB(255, 0, 0) : RGB(0, 255, 0);
    });
    PixelCanvas stretched(40, 20, RGB(0, 0, 0));
    picture.StretchDraw(stretched.Dc(), RECT{0, 0, 40, 20});
    EXPECT_TRUE(Near(stretched.At(10, 2), RGB(255, 0, 0), 40));
    EXPECT_TRUE(Near(stretched.At(30, 10), RGB(0, 255, 0), 40));

    picture.SetTransparent(true);
    EXPECT_EQ(picture.TransparentColor(), RGB(255, 0, 255));
    PixelCanvas canvas(8, 4, RGB(1, 2, 3));
    picture.Draw(canvas.Dc(), 2, 1);
    EXPECT_EQ(canvas.At(2, 2), RGB(1, 2, 3)); // the transparent pixel
    EXPECT_EQ(canvas.At(3, 2), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(2, 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(5, 1), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(6, 1), RGB(1, 2, 3));
}

TEST(DrawWizardImage, PlacesThePictureInTheRectangle) {
    using controls::DrawWizardImage;
    const Picture red = Solid(20, 10, RGB(255, 0, 0));
    const COLORREF white = RGB(255, 255, 255), redColour = RGB(255, 0, 0);
    const RECT area{0, 0, 100, 50};
    {
        // Centred both ways at its own size: 40..59 x 20..29.
        PixelCanvas canvas(100, 50, white);
        DrawWizardImage(canvas.Dc(), red, area, TKImageAlignment::iaCenter,
                        TKImageLayout::ilCenter);
        EXPECT_EQ(canvas.At(40, 20), redColour);
        EXPECT_EQ(canvas.At(59, 29), redColour);
        EXPECT_EQ(canvas.At(39, 25), white);
        EXPECT_EQ(canvas.At(60, 25), white);
        EXPECT_EQ(canvas.At(50, 19), white);
        EXPECT_EQ(canvas.At(50, 30), white);
    }
    {
        // Right and bottom.
        PixelCanvas canvas(100, 50, white);
        DrawWizardImage(canvas.Dc(), red, area, TKImageAlignment::iaRight, TKImageLayout::ilBottom);
        EXPECT_EQ(canvas.At(80, 40), redColour);
        EXPECT_EQ(canvas.At(99, 49), redColour);
        EXPECT_EQ(canvas.At(79, 45), white);
        EXPECT_EQ(canvas.At(90, 39), white);
    }
    {
        // Stretched one way: the whole height, centred horizontally.
        PixelCanvas canvas(100, 50, white);
        DrawWizardImage(canvas.Dc(), red, area, TKImageAlignment::iaCenter,
                        TKImageLayout::ilStretch);
        EXPECT_EQ(canvas.At(40, 0), redColour);
        EXPECT_EQ(canvas.At(59, 49), redColour);
        EXPECT_EQ(canvas.At(39, 0), white);
        EXPECT_EQ(canvas.At(60, 49), white);
    }
    {
        // Stretched over the whole rectangle; an empty picture draws nothing.
        PixelCanvas canvas(100, 50, white);
        DrawWizardImage(canvas.Dc(), Picture(), area, TKImageAlignment::iaStretch,
                        TKImageLayout::ilStretch);
        EXPECT_EQ(canvas.At(50, 25), white);
        DrawWizardImage(canvas.Dc(), red, area, TKImageAlignment::iaStretch,
                        TKImageLayout::ilStretch);
        EXPECT_EQ(canvas.At(0, 0), redColour);
        EXPECT_EQ(canvas.At(99, 49), redColour);
    }
}

} // namespace
} // namespace brevalo::gui
