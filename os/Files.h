// Files and folders.
#pragma once

#include <string>

namespace brevalo::os {

// True when `path` names an existing file (not a folder); a relative path
// counts from the current folder.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// `path` made full against the current folder (GetFullPathName); the path
// as it stands when it cannot be.
std::string FullPath(const std::string& path);
// The running program's full path.
std::string ProgramPath();
// The system's temporary folder, with a trailing backslash.
std::string TempFolder();
// The system folder (GetSystemDirectory), blanks trimmed, with a trailing
// backslash.
std::string SystemFolder();

} // namespace brevalo::os
