// The digit font: the file in the temporary folder, its registration, what
// the font itself looks like to GDI, and the font-change notice.
#include "DigitFont.h"
#include "FontChangeListener.h"
#include "Handle.h"
#include "OsError.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevalo {
namespace {

std::string ResourceFont() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, L"DFONT", RT_RCDATA);
    if (!info)
        return {};
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, info)));
    return std::string(data, SizeofResource(module, info));
}

bool ReadWholeFile(const std::wstring& path, std::string& contents) {
    base::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    contents.clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        contents.append(buffer, got);
    return true;
}

void WriteWholeFile(const std::wstring& path, const std::string& contents) {
    base::FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), contents.data(), DWORD(contents.size()), &written, nullptr));
    ASSERT_EQ(written, contents.size());
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    std::wstring folder(buffer, GetTempPathW(MAX_PATH + 1, buffer));
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

class DigitFontTest : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    // Leaves no registration and no file behind, so the cases stay
    // independent when they share one process.
    static void Clean() {
        const std::wstring path = DigitFontPath();
        for (int i = 0; i < 8 && RemoveFontResourceW(path.c_str()); ++i) {
        }
        DeleteFileW(path.c_str());
    }
};

TEST_F(DigitFontTest, WritesTheResourceBytesAsDsDigitTtfInTheTemporaryFolder) {
    const std::string resource = ResourceFont();
    ASSERT_GT(resource.size(), 1000u);
    EXPECT_EQ(resource.substr(0, 4), std::string("\x00\x01\x00\x00", 4)) << "not TrueType";

    const std::wstring path = DigitFontPath();
    EXPECT_EQ(path, TempFolder() + L"DS-DIGIT.TTF");
    std::string contents;
    ASSERT_FALSE(ReadWholeFile(path, contents));

    InstallDigitFont();
    ASSERT_TRUE(ReadWholeFile(path, contents));
    EXPECT_EQ(contents.size(), resource.size());
    EXPECT_TRUE(contents == resource) << "the file differs from the resource";

    // The scratch file the bytes went through is gone.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((TempFolder() + L"dsd*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "left behind: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(DigitFontTest, AnExistingFileIsUsedAsItIs) {
    // A valid font with extra bytes at the end: still usable, and the extra
    // bytes show whether the file was rewritten.
    const std::string kept = ResourceFont() + "kept as it was";
    WriteWholeFile(DigitFontPath(), kept);

    InstallDigitFont();
    std::string contents;
    ASSERT_TRUE(ReadWholeFile(DigitFontPath(), contents));
    EXPECT_EQ(contents.size(), kept.size());
    EXPECT_TRUE(contents == kept) << "the existing file was rewritten";
    EXPECT_TRUE(ScreenFontListed(L"DS-Digital"));
}

TEST_F(DigitFontTest, AnUnusableFileRaisesTheSystemErrorAndStaysAsItIs) {
    WriteWholeFile(DigitFontPath(), "not a font at all");

    EXPECT_THROW(InstallDigitFont(), base::OsError);
    std::string contents;
    ASSERT_TRUE(ReadWholeFile(DigitFontPath(), contents));
    EXPECT_TRUE(contents == "not a font at all") << "the existing file was rewritten";
    EXPECT_FALSE(ScreenFontListed(L"DS-Digital"));
}

int CALLBACK CollectFaces(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM param) {
    const auto* full = reinterpret_cast<const ENUMLOGFONTEXW*>(font);
    auto* faces = reinterpret_cast<std::vector<std::pair<ENUMLOGFONTEXW, DWORD>>*>(param);
    faces->emplace_back(*full, type);
    return 1;
}

TEST_F(DigitFontTest, AfterInstallingTheFamilyIsListedAsOneBoldItalicTrueTypeFace) {
    EXPECT_FALSE(ScreenFontListed(L"DS-Digital"));
    InstallDigitFont();
    EXPECT_TRUE(ScreenFontListed(L"DS-Digital"));
    EXPECT_TRUE(ScreenFontListed(L"ds-digital"));
    EXPECT_FALSE(ScreenFontListed(L"DS-Digita"));

    base::WindowDc screen(nullptr);
    LOGFONTW wanted{};
    wanted.lfCharSet = ANSI_CHARSET;
    wcscpy(wanted.lfFaceName, L"DS-Digital");
    std::vector<std::pair<ENUMLOGFONTEXW, DWORD>> faces;
    EnumFontFamiliesExW(screen.Get(), &wanted, CollectFaces, reinterpret_cast<LPARAM>(&faces), 0);
    ASSERT_EQ(faces.size(), 1u);
    const ENUMLOGFONTEXW& face = faces[0].first;
    EXPECT_TRUE(faces[0].second & TRUETYPE_FONTTYPE);
    EXPECT_STREQ(face.elfLogFont.lfFaceName, L"DS-Digital");
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(face.elfStyle), L"Bold Italic");
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(face.elfFullName), L"DS-Digital Bold Italic");
    EXPECT_EQ(face.elfLogFont.lfWeight, FW_BOLD);
    EXPECT_TRUE(face.elfLogFont.lfItalic);
}

// Draws `text` white on black and counts the lit pixels in the left and the
// right half of the text's cell.
struct Ink {
    int left = 0;
    int right = 0;
};

Ink DrawInk(HDC dc, const wchar_t* text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text, int(wcslen(text)), &size);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    base::Bitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || size.cx <= 0)
        return {};
    base::SelectObjectScope select(dc, bitmap.Get());
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(255, 255, 255));
    RECT all{0, 0, size.cx, size.cy};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, text, UINT(wcslen(text)), nullptr);
    GdiFlush();
    Ink ink;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if ((pixels[y * size.cx + x] & 0xFF) > 128)
                (x < size.cx / 2 ? ink.left : ink.right)++;
    return ink;
}

TEST_F(DigitFontTest, TheFaceDrawsSevenSegmentDigitsOfOneAdvanceWidth) {
    InstallDigitFont();
    base::MemoryDc dc(CreateCompatibleDC(nullptr));
    base::Font font(CreateFontW(-120, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH, L"DS-DIGITAL"));
    ASSERT_TRUE(dc && font);
    base::SelectObjectScope select(dc.Get(), font.Get());

    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    ASSERT_STREQ(face, L"DS-Digital") << "the system substituted another font";

    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(dc.Get(), &metrics));
    EXPECT_EQ(metrics.tmHeight, 120);
    EXPECT_TRUE(metrics.tmItalic);
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);

    ABC zero{}, one{};
    ASSERT_TRUE(GetCharABCWidthsW(dc.Get(), L'0', L'0', &zero));
    ASSERT_TRUE(GetCharABCWidthsW(dc.Get(), L'1', L'1', &one));
    const int advance = zero.abcA + int(zero.abcB) + zero.abcC;
    EXPECT_GT(advance, 0);
    EXPECT_EQ(one.abcA + int(one.abcB) + one.abcC, advance);
    EXPECT_GT(one.abcB, 0u);
    EXPECT_LT(one.abcB * 2, zero.abcB) << "a one is only the two right-hand segments";

    // Every digit, the space and the letters of AM and PM share the advance,
    // so a running countdown keeps its place.
    for (wchar_t c : std::wstring(L"0123456789 AP")) {
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32W(dc.Get(), &c, 1, &size));
        EXPECT_EQ(size.cx, advance) << char(c);
    }
    SIZE colon{}, countdown{};
    GetTextExtentPoint32W(dc.Get(), L":", 1, &colon);
    GetTextExtentPoint32W(dc.Get(), L"00:00:00", 8, &countdown);
    EXPECT_GT(colon.cx, 0);
    EXPECT_LT(colon.cx, advance);
    EXPECT_EQ(countdown.cx, 6 * advance + 2 * colon.cx);

    // The outlines really draw: an eight lights more than a one, and a one
    // lies on the right of its cell.
    const Ink eight = DrawInk(dc.Get(), L"8");
    const Ink ink1 = DrawInk(dc.Get(), L"1");
    EXPECT_GT(ink1.right, 0);
    EXPECT_GT(eight.left + eight.right, 2 * (ink1.left + ink1.right));
    EXPECT_LT(ink1.left * 4, ink1.right);
    EXPECT_GT(eight.left * 2, eight.right) << "an eight has segments on both sides";
}

TEST_F(DigitFontTest, InstallingTwiceAddsTheFontOnceAndAnnouncesItOnce) {
    {
        testsupport::FontChangeListener listener;
        ASSERT_NE(listener.Handle(), nullptr);

        InstallDigitFont();
        PumpMessages();
        // One notice sent, one posted.
        EXPECT_EQ(listener.Count(), 2);

        InstallDigitFont();
        PumpMessages();
        EXPECT_EQ(listener.Count(), 2) << "a listed font is not added or announced again";
    }

    // One registration: a single removal takes the font off the list.
    EXPECT_TRUE(RemoveFontResourceW(DigitFontPath().c_str()));
    EXPECT_FALSE(ScreenFontListed(L"DS-Digital"));
}

// A top-level window whose thread stops taking messages until released.
struct HungWindow {
    base::KernelHandle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    base::KernelHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

DWORD WINAPI HangAfterCreating(void* param) {
    auto* hung = static_cast<HungWindow*>(param);
    HWND window = CreateWindowExW(0, L"STATIC", L"hung", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    SetEvent(hung->ready.Get());
    WaitForSingleObject(hung->release.Get(), 60000);
    if (window)
        DestroyWindow(window);
    return 0;
}

TEST_F(DigitFontTest, AHungWindowDoesNotHoldUpTheInstallation) {
    HungWindow hung;
    base::KernelHandle thread(CreateThread(nullptr, 0, HangAfterCreating, &hung, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(WaitForSingleObject(hung.ready.Get(), 10000), WAIT_OBJECT_0);

    const DWORD start = GetTickCount();
    InstallDigitFont();
    const DWORD elapsed = GetTickCount() - start;
    SetEvent(hung.release.Get());
    WaitForSingleObject(thread.Get(), 70000);

    // An unbounded send would wait the full minute for the hung thread.
    EXPECT_LT(elapsed, 30000u);
    EXPECT_TRUE(ScreenFontListed(L"DS-Digital"));
}

} // namespace
} // namespace brevalo
