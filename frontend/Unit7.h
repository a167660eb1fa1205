// Unit7: the shortcut maker of the creation front end. The wizard's "Create a
// desktop shortcut" puts a link on the desktop that starts the timer it built.
#pragma once

#include "ShortcutName.h"

#include <optional>
#include <string>

namespace brevalo {

// Writes a shell link to `targetPath` with `arguments` into `location`'s
// folder (or `subfolder` inside it; for GivenFolder `subfolder` is the
// folder), described by `description`, starting in `workingDirectory` (the
// target's folder when empty). The file is named after the wizard's current
// `timerName`: its text up to the last dot, then ".lnk". Returns the link's
// path, or nothing when the folder is unknown and nothing was written.
// Throws base::OsError when the link cannot be made or saved.
std::optional<std::string>
CreateShortcutFile(const std::string& targetPath, ShortcutLocation location,
                   const std::string& subfolder, const std::string& description,
                   const std::string& arguments, const std::string& workingDirectory,
                   const std::string& timerName);

} // namespace brevalo
