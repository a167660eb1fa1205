// The settings file on Windows: the profile-string functions over one INI
// file, and the folder services that locate it. Nothing is kept open; every
// read and write goes through the system's profile functions at once.
#pragma once

#include "IniFile.h"

#include <string>

namespace brevalo::os {

// One profile file, named by its full path. Values are UTF-8 here; the system
// keeps a file it creates in the ANSI code page, which holds the values the
// program writes (colour strings and "0"/"1") unchanged.
class Win32IniFile : public IniFile {
public:
    explicit Win32IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const noexcept { return path_; }

    // A key that is present with an empty value reads as "", not as
    // `fallback`; a long value is read whole.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    // Throws base::OsError when the system refuses the write (missing folder,
    // read-only file, full disk).
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    std::string path_;
};

class Win32IniFileHost : public IniFileHost {
public:
    // CSIDL_COMMON_APPDATA, not created when missing; empty when the shell
    // cannot supply it.
    std::string CommonAppDataFolder() override;
    bool DirectoryExists(const std::string& path) override;
    // Creates each missing folder of `path` in turn. Accepts full paths
    // ("C:\a\b"), paths from the current drive's root ("\a\b") and UNC paths.
    bool CreateDirectories(const std::string& path) override;
    std::unique_ptr<IniFile> Open(const std::string& path) override;
};

} // namespace brevalo::os
