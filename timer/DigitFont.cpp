#include "DigitFont.h"

#include "Files.h"
#include "Handle.h"
#include "OsError.h"
#include "Strings.h"

#include <windows.h>

#include <cwchar>

namespace brevalo {

namespace {

constexpr wchar_t FontFileName[] = L"DS-DIGIT.TTF";
constexpr wchar_t FontResourceName[] = L"DFONT";
// Each top-level window gets this long to take the font-change notice; a
// hung or slow window must not hold up the timer's start.
constexpr UINT FontChangeTimeoutMs = 500;

struct ResourceBytes {
    const void* data = nullptr;
    DWORD size = 0;
};

// The font file carried by the program's own module; empty when missing.
ResourceBytes FontResource() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, FontResourceName, RT_RCDATA);
    if (!info)
        return {};
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {data, SizeofResource(module, info)};
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, size, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

// Writes the bytes to `path` unless a file of that name exists. The bytes go
// to a scratch file first and are then renamed into place without
// replacing, so a second timer starting at the same moment never finds a
// half-written font, and a failed write leaves nothing behind.
void WriteFontFile(const std::wstring& path, const ResourceBytes& font) {
    if (os::FileExists(base::Narrow(path)) || !font.data)
        return;
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    wchar_t scratch[MAX_PATH];
    if (folder.empty() || !GetTempFileNameW(folder.c_str(), L"dsd", 0, scratch))
        return;
    bool complete = false;
    {
        base::FileHandle file(CreateFileW(scratch, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        complete = file && WriteAll(file.Get(), font.data, font.size);
    }
    if (!complete || !MoveFileExW(scratch, path.c_str(), 0))
        DeleteFileW(scratch);
}

struct FontSearch {
    const wchar_t* face;
    bool found;
};

int CALLBACK MatchFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
    auto* search = reinterpret_cast<FontSearch*>(param);
    if (_wcsicmp(font->lfFaceName, search->face) == 0) {
        search->found = true;
        return 0; // stop enumerating
    }
    return 1;
}

} // namespace

std::wstring DigitFontPath() {
    return base::Widen(os::TempFolder()) + FontFileName;
}

bool ScreenFontListed(const std::wstring& face) {
    base::WindowDc screen(nullptr);
    if (!screen.Get())
        return false;
    // Only the fonts of that face name (GDI matches it without regard to
    // case), in every character set, rather than every installed family:
    // the answer is the same, and it comes before the window is shown.
    LOGFONTW named{};
    named.lfCharSet = DEFAULT_CHARSET;
    if (face.size() >= LF_FACESIZE)
        return false; // no face name is that long
    face.copy(named.lfFaceName, face.size());
    FontSearch search{face.c_str(), false};
    EnumFontFamiliesExW(screen.Get(), &named, MatchFamily, reinterpret_cast<LPARAM>(&search), 0);
    return search.found;
}

bool RegisterDigitFont() {
    const std::wstring path = DigitFontPath();
    WriteFontFile(path, FontResource());

    if (ScreenFontListed(base::Widen(DigitFontFace)))
        return false;
    // Not every failure sets an error code; an old one must not be reported.
    SetLastError(0);
    if (AddFontResourceW(path.c_str()) == 0)
        base::RaiseLastOsError();
    return true;
}

void AnnounceFontChange() noexcept {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, FontChangeTimeoutMs,
                        &answer);
    PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

void InstallDigitFont() {
    if (RegisterDigitFont())
        AnnounceFontChange();
}

} // namespace brevalo
