#include "Settings.h"

#include "Files.h"
#include "Win32IniFile.h"
#include "Win32Registry.h"

namespace brevalo::os {

SettingsStore Settings() {
    // Both services are stateless; the store opens the file or the key at
    // every operation.
    static Win32IniFileHost files;
    static Win32RegistryAccess registry;
    return SettingsStore(files, registry);
}

std::optional<std::string> LocalHelpFile() {
    return Settings().ExistingLocalHelp(&FileExists);
}

} // namespace brevalo::os
