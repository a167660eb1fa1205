#include "Unit7.h"

#include "ShortcutFile.h"

namespace brevalo {

// The work is done in the OS layer, where the tests reach it too.
std::optional<std::string>
CreateShortcutFile(const std::string& targetPath, ShortcutLocation location,
                   const std::string& subfolder, const std::string& description,
                   const std::string& arguments, const std::string& workingDirectory,
                   const std::string& timerName) {
    return os::CreateShortcutFile(targetPath, location, subfolder, description, arguments,
                                  workingDirectory, timerName);
}

} // namespace brevalo
