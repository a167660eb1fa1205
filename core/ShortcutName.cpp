#include "ShortcutName.h"

namespace brevalo {

namespace {

constexpr char ShellFoldersKey[] =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char MapGroupsKey[] = "Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Whether a file name may hold the character; the bytes of letters beyond
// ASCII (UTF-8) always may.
bool IsFileNameCharacter(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code < ' ')
        return false;
    for (const char refused : {'/', '\\', ':', '*', '?', '"', '<', '>', '|'}) {
        if (c == refused)
            return false;
    }
    return true;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether Windows takes a file of this name for a device: the part before the
// first dot, without trailing blanks and dots, is CON, PRN, AUX, NUL, COM0 to
// COM9 or LPT0 to LPT9, in any case. Such a "file" is never written.
bool NamesADevice(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.'))
        stem.remove_suffix(1);
    std::string word;
    for (const char c : stem)
        word += Upper(c);
    if (word == "CON" || word == "PRN" || word == "AUX" || word == "NUL")
        return true;
    return word.size() == 4 && (word.starts_with("COM") || word.starts_with("LPT")) &&
           word[3] >= '0' && word[3] <= '9';
}

} // namespace

ShortcutFolderValue ShortcutFolderValueOf(ShortcutLocation location) {
    switch (location) {
    case ShortcutLocation::Desktop:
        return {ShellFoldersKey, "Desktop"};
    case ShortcutLocation::QuickLaunch:
        return {MapGroupsKey, "Quick Launch"};
    case ShortcutLocation::SendTo:
        return {ShellFoldersKey, "SendTo"};
    case ShortcutLocation::StartMenu:
        return {ShellFoldersKey, "Start Menu"};
    case ShortcutLocation::GivenFolder:
        break;
    }
    return {"", ""};
}

std::string ShortcutFileName(std::string_view timerName) {
    const std::size_t dot = timerName.rfind('.');
    std::string name(dot == std::string_view::npos ? timerName : timerName.substr(0, dot));
    for (char& c : name) {
        if (!IsFileNameCharacter(c))
            c = ' ';
    }
    if (NamesADevice(name))
        name.insert(0, 1, '_');
    return name + ".lnk";
}

std::string JoinPath(std::string_view folder, std::string_view fileName) {
    std::string path(folder);
    if (!path.empty() && !IsSeparator(path.back()))
        path += '\\';
    path += fileName;
    return path;
}

std::string ShortcutFolder(ShortcutLocation location, std::string_view folder,
                           std::string_view subfolder) {
    if (folder.empty())
        return {};
    if (location == ShortcutLocation::GivenFolder || subfolder.empty())
        return std::string(folder);
    return JoinPath(folder, subfolder);
}

std::string ShortcutWorkingDirectory(std::string_view workingDirectory,
                                     std::string_view targetPath) {
    if (!workingDirectory.empty())
        return std::string(workingDirectory);
    const std::size_t end = targetPath.find_last_of("\\/:");
    return end == std::string_view::npos ? std::string()
                                         : std::string(targetPath.substr(0, end + 1));
}

} // namespace brevalo
