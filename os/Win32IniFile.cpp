#include "Win32IniFile.h"

#include "Files.h"
#include "OsError.h"
#include "Strings.h"

#include <windows.h>

#include <shlobj.h>

#include <string_view>

namespace brevalo::os {

using base::Narrow;
using base::OsError;
using base::Widen;

namespace {

constexpr std::size_t InitialBufferLength = 256;
// Far beyond anything the program stores; a file that holds more is refused
// rather than read in part.
constexpr std::size_t MaximumBufferLength = std::size_t(1) << 24;

// GetPrivateProfileStringW with a buffer that grows until the value fits: the
// function cuts a value that does not fit and reports the buffer's length
// less one, so that length means "maybe cut" and calls for a larger buffer.
std::wstring QueryProfileString(const std::wstring& path, const std::wstring& section,
                                const std::wstring& key, const wchar_t* fallback) {
    std::wstring buffer(InitialBufferLength, L'\0');
    for (;;) {
        const DWORD length =
            GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback, buffer.data(),
                                     DWORD(buffer.size()), path.c_str());
        if (std::size_t(length) + 1 < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        if (buffer.size() >= MaximumBufferLength)
            throw OsError(ERROR_MORE_DATA);
        buffer.resize(buffer.size() * 2);
    }
}

// A line break would end the line in the file and start a new key (or
// section) there; a zero would cut the text short at the Win32 boundary.
void RequireOneLine(std::string_view text) {
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        throw OsError(ERROR_INVALID_PARAMETER);
}

} // namespace

std::string Win32IniFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& fallback) {
    const std::wstring widePath = Widen(path_);
    const std::wstring wideSection = Widen(section);
    const std::wstring wideKey = Widen(key);
    const std::wstring value = QueryProfileString(widePath, wideSection, wideKey, L"");
    if (!value.empty())
        return Narrow(value);
    // Empty: either the key is missing or it is present with an empty value.
    // Only a missing key yields a non-empty default. The caller's fallback is
    // returned as given, since the system would trim its trailing blanks.
    const bool missing = !QueryProfileString(widePath, wideSection, wideKey, L"?").empty();
    return missing ? fallback : std::string();
}

void Win32IniFile::WriteString(const std::string& section, const std::string& key,
                               const std::string& value) {
    RequireOneLine(section);
    RequireOneLine(key);
    RequireOneLine(value);
    SetLastError(ERROR_SUCCESS);
    if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                    Widen(value).c_str(), Widen(path_).c_str()))
        base::RaiseLastOsError();
}

std::string Win32IniFileHost::CommonAppDataFolder() {
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_APPDATA, FALSE))
        return {};
    return Narrow(buffer);
}

bool Win32IniFileHost::DirectoryExists(const std::string& path) {
    return os::DirectoryExists(path);
}

bool Win32IniFileHost::CreateDirectories(const std::string& path) {
    if (path.empty())
        return false;
    // Every prefix that ends before a backslash names a folder on the way
    // ("C:", "\\server" and the like are skipped because they exist or cannot
    // be created; the final check decides).
    for (std::size_t end = path.find('\\', 1); end != std::string::npos;
         end = path.find('\\', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (!os::DirectoryExists(folder))
            CreateDirectoryW(Widen(folder).c_str(), nullptr);
    }
    if (!os::DirectoryExists(path))
        CreateDirectoryW(Widen(path).c_str(), nullptr);
    return os::DirectoryExists(path);
}

std::unique_ptr<IniFile> Win32IniFileHost::Open(const std::string& path) {
    return std::make_unique<Win32IniFile>(path);
}

} // namespace brevalo::os
