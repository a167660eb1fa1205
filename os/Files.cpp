#include "Files.h"

#include "Strings.h"

#include <windows.h>

namespace brevalo::os {

using base::Narrow;
using base::Widen;

bool FileExists(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FullPath(const std::string& path) {
    if (path.empty())
        return path;
    const std::wstring wide = Widen(path);
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length =
            GetFullPathNameW(wide.c_str(), DWORD(buffer.size()), buffer.data(), nullptr);
        if (length == 0)
            return path;
        if (length < buffer.size()) {
            buffer.resize(length);
            return Narrow(buffer);
        }
        buffer.resize(length); // the size it needs, zero included
    }
    return path;
}

std::string ProgramPath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return Narrow(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(DWORD(std::size(buffer)), buffer);
    std::wstring path(buffer, length <= MAX_PATH ? length : 0);
    while (!path.empty() && path.back() == L' ')
        path.pop_back();
    while (!path.empty() && path.front() == L' ')
        path.erase(0, 1);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return Narrow(path);
}

std::string SystemFolder() {
    wchar_t buffer[MAX_PATH + 1]{};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH + 1);
    std::wstring folder(buffer, length <= MAX_PATH ? length : 0);
    const auto first = folder.find_first_not_of(L' ');
    const auto last = folder.find_last_not_of(L' ');
    folder = first == std::wstring::npos ? std::wstring() : folder.substr(first, last - first + 1);
    return folder.empty() ? std::string() : Narrow(folder) + "\\";
}

} // namespace brevalo::os
