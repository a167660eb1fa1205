#include "IniFile.h"

#include "CommandLine.h"

namespace brevalo {

std::int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                                  std::int32_t fallback) {
    // An empty fallback string cannot be mistaken for a number, so a missing
    // key and a malformed value both end up at `fallback`.
    const std::string text = ReadString(section, key, "");
    return ParseInteger(text).value_or(fallback);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace brevalo
