// Where a timer shortcut goes and what it is called: the pure rules behind
// writing a shell link, free of the platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brevalo {

// The folder a shortcut is written into.
enum class ShortcutLocation : std::uint8_t {
    Desktop = 0,
    QuickLaunch = 1,
    SendTo = 2,
    StartMenu = 3,
    GivenFolder = 4, // the caller's subfolder argument is the folder itself
};

// The registry value of the current user that records a well-known folder.
struct ShortcutFolderValue {
    const char* key;  // under HKEY_CURRENT_USER
    const char* name; // the value holding the folder's path
};

// The value recording `location`'s folder; key and name are empty for
// GivenFolder, which is not looked up.
ShortcutFolderValue ShortcutFolderValueOf(ShortcutLocation location);

// The link's file name from a timer name: everything from the last dot on is
// replaced by ".lnk" (or ".lnk" is appended when there is no dot), and every
// character a file name cannot hold (/ \ : * ? " < > | and control
// characters) becomes a blank, so that the name never reaches into another
// folder or makes the save fail. "Release 2.5 party" gives "Release 2.lnk",
// "a/b:c" gives "a b c.lnk". Names that differ only in those characters share
// one file name. A name Windows would take for a device (CON, PRN, AUX, NUL,
// COM0-COM9, LPT0-LPT9 in any case, also before a dot or trailing blanks) gets
// an underscore in front: "con" gives "_con.lnk".
std::string ShortcutFileName(std::string_view timerName);

// The folder the link goes into. `folder` is the looked-up folder, or for
// GivenFolder the caller's subfolder argument. The result is `folder` itself
// for GivenFolder or an empty subfolder, else `subfolder` inside `folder`;
// empty when `folder` is empty, and then nothing is written.
std::string ShortcutFolder(ShortcutLocation location, std::string_view folder,
                           std::string_view subfolder);

// `folder` and `fileName` joined by one backslash.
std::string JoinPath(std::string_view folder, std::string_view fileName);

// The link's working folder: `workingDirectory` when it is given, else the
// target's own folder with its trailing backslash (empty when the target has
// no folder part).
std::string ShortcutWorkingDirectory(std::string_view workingDirectory,
                                     std::string_view targetPath);

} // namespace brevalo
