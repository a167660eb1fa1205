#include "ShortcutName.h"

namespace brevalo {

namespace {

constexpr char ShellFoldersKey[] =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char MapGroupsKey[] = "Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
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
    name += ".lnk";
    const std::size_t separator = name.find_last_of("\\:");
    return separator == std::string::npos ? name : name.substr(separator + 1);
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
