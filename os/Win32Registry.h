// Registry access: the program's own keys are opened with full access and
// created when missing, readers included. A machine-wide key that a user
// without administrator rights may only read is opened for reading.
#pragma once

#include "Handle.h"
#include "Registry.h"
#include "TimerSettings.h"

#include <windows.h>

#include <optional>
#include <string>

namespace brevalo::os {

inline constexpr char BrevaloKey[] = "Software\\Orsenic Software\\Brevalo";
inline constexpr char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char RunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

HKEY RootKey(RegistryRoot root) noexcept;

// Opens root\subKey with full access, creating it; throws OsError.
base::RegKey OpenOrCreateKey(HKEY root, const std::string& subKey);
// Opens root\subKey for reading values; nullopt when it is missing or this
// process may not read it.
std::optional<base::RegKey> OpenKeyToRead(HKEY root, const std::string& subKey);

// Sets a REG_SZ value; throws OsError.
void WriteStringValue(HKEY key, const std::string& name, const std::string& data);
// The data of a REG_SZ or REG_EXPAND_SZ value (unexpanded); nullopt when the
// value is missing or of another type.
std::optional<std::string> ReadStringValue(HKEY key, const std::string& name);
// Deletes a value if it exists; throws OsError on any other failure.
void DeleteValueIfPresent(HKEY key, const std::string& name);

// The current user's keys through the core's registry interface.
class Win32RegistryAccess : public RegistryAccess {
public:
    std::unique_ptr<RegistryKey> OpenCurrentUser(const std::string& subKey) override;
};

} // namespace brevalo::os
