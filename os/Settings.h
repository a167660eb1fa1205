// The lasting preferences of this machine and user, ready to use:
// os::Settings().ReadWindowSettings() and so on. Each call opens
// "settings.ini" or the registry key afresh; nothing is cached.
#pragma once

#include "SettingsStore.h"

#include <optional>
#include <string>

namespace brevalo::os {

// The store over the system's profile functions and the current user's
// registry.
SettingsStore Settings();

// The "LocalHelp" path when it names an existing file.
std::optional<std::string> LocalHelpFile();

} // namespace brevalo::os
