// Shell links (".lnk" files) that start a program with given arguments,
// written into one of the user's well-known folders or a given one.
#pragma once

#include "ShortcutName.h"

#include <optional>
#include <string>

namespace brevalo::os {

// The path of the folder `location` stands for: the current user's registry
// value for it (its key is opened with full access and created when
// missing), or, when that value is missing or empty, the shell's own record
// of the folder. Empty when neither knows the folder, and for GivenFolder.
std::string WellKnownFolder(ShortcutLocation location);

// Writes a shell link to `targetPath` with `arguments`, `description` and
// the working folder ShortcutWorkingDirectory(workingDirectory, targetPath).
// The file is named ShortcutFileName(timerName) and goes into `location`'s
// folder, or into `subfolder` inside it when `subfolder` is not empty; for
// GivenFolder `subfolder` is the folder itself. Subfolders are not created.
// An existing file of that name is replaced.
//
// Returns the link's path, or nothing when the folder is not known (empty):
// then nothing is written. Throws base::OsError when the shell link object is
// not available, refuses one of the properties, or cannot be saved (a
// missing folder, no write access, a read-only file of that name).
std::optional<std::string>
CreateShortcutFile(const std::string& targetPath, ShortcutLocation location,
                   const std::string& subfolder, const std::string& description,
                   const std::string& arguments, const std::string& workingDirectory,
                   const std::string& timerName);

} // namespace brevalo::os
