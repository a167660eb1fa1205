// Access to a profile (INI) file: bracketed sections of key=value lines,
// section and key names matched without regard to case. The platform supplies
// the string reads and writes; the typed reads and writes on top of them are
// the same everywhere.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace brevalo {

class IniFile {
public:
    virtual ~IniFile() = default;

    // The stored value, or `fallback` when the file, section or key is missing.
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& fallback) = 0;
    // Writes one key at once (there is no separate flush). Throws when the
    // value cannot be written (folder missing, file read-only, disk full).
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;

    // A stored whole number (the switch integer syntax); `fallback` when the
    // key is missing or its value is not a whole number.
    std::int32_t ReadInteger(const std::string& section, const std::string& key,
                             std::int32_t fallback);
    // True for a stored whole number other than zero, false for zero;
    // `fallback` when the key is missing or not a whole number.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback);

    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    // Writes "1" or "0".
    void WriteBool(const std::string& section, const std::string& key, bool value);
};

// The platform services behind the settings file. Nothing here keeps a file
// open: each use of the settings opens the file afresh through Open().
class IniFileHost {
public:
    virtual ~IniFileHost() = default;

    // The machine-wide application-data folder; empty when the shell cannot
    // supply it.
    virtual std::string CommonAppDataFolder() = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // Creates the folder with any missing parents; false when that fails.
    virtual bool CreateDirectories(const std::string& path) = 0;
    // Opens the profile file at `path` for one use.
    virtual std::unique_ptr<IniFile> Open(const std::string& path) = 0;
};

} // namespace brevalo
