// Access to one registry key of the current user. Each use opens the key
// afresh through RegistryAccess and closes it when the RegistryKey goes away.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace brevalo {

class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // The value's data when it exists as a REG_DWORD; nullopt when it is
    // missing or of another type.
    virtual std::optional<std::uint32_t> ReadDword(const std::string& name) = 0;
    // The value's data when it exists as a string (REG_SZ or REG_EXPAND_SZ,
    // unexpanded); nullopt when it is missing or of another type.
    virtual std::optional<std::string> ReadString(const std::string& name) = 0;
    // The writes and the deletion throw when the registry refuses them.
    virtual void WriteDword(const std::string& name, std::uint32_t value) = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    // Deleting a value that does not exist is not an error.
    virtual void DeleteValue(const std::string& name) = 0;
};

class RegistryAccess {
public:
    virtual ~RegistryAccess() = default;

    // Opens HKEY_CURRENT_USER\`subKey` with full access, creating the key when
    // it is missing (also when the caller only reads). Throws when the key
    // cannot be opened or created.
    virtual std::unique_ptr<RegistryKey> OpenCurrentUser(const std::string& subKey) = 0;
};

} // namespace brevalo
