// The name, folder and working folder of a timer shortcut.
#include "ShortcutName.h"

#include <gtest/gtest.h>

#include <string>

namespace brevalo {
namespace {

TEST(ShortcutFileName, EverythingFromTheLastDotIsReplaced) {
    EXPECT_EQ(ShortcutFileName("Release 2.5 party"), "Release 2.lnk");
    EXPECT_EQ(ShortcutFileName("notes.txt"), "notes.lnk");
    EXPECT_EQ(ShortcutFileName("a.b.c"), "a.b.lnk");
    EXPECT_EQ(ShortcutFileName("Tea."), "Tea.lnk");
    EXPECT_EQ(ShortcutFileName(".hidden"), ".lnk");
}

TEST(ShortcutFileName, ANameWithoutADotKeepsAllOfItsText) {
    EXPECT_EQ(ShortcutFileName("Timer"), "Timer.lnk");
    EXPECT_EQ(ShortcutFileName("Tea for two "), "Tea for two .lnk");
    EXPECT_EQ(ShortcutFileName(""), ".lnk");
    // UTF-8 text passes through byte for byte.
    EXPECT_EQ(ShortcutFileName("Gr\xC3\xBC\xC3\x9F"
                               "e \xE6\x97\xA5"),
              "Gr\xC3\xBC\xC3\x9F"
              "e \xE6\x97\xA5.lnk");
    EXPECT_EQ(ShortcutFileName("Pause \xF0\x9F\x8D\xB5.2"), "Pause \xF0\x9F\x8D\xB5.lnk");
}

TEST(ShortcutFileName, CharactersAFileNameCannotHoldBecomeBlanks) {
    EXPECT_EQ(ShortcutFileName("a/b:c"), "a b c.lnk");
    EXPECT_EQ(ShortcutFileName("Why? \"Now\" <soon> | *"), "Why   Now   soon     .lnk");
    EXPECT_EQ(ShortcutFileName("Tab\there\x01"), "Tab here .lnk");
    // A folder part can no longer reach out of the folder; the dot rule comes
    // first, so a dot inside a folder part still ends the name.
    EXPECT_EQ(ShortcutFileName("Windows\\System32\\evil"), "Windows System32 evil.lnk");
    EXPECT_EQ(ShortcutFileName("..\\..\\evil"), ".. ..lnk");
    EXPECT_EQ(ShortcutFileName("C:boot"), "C boot.lnk");
    EXPECT_EQ(ShortcutFileName("v1.0\\final"), "v1.lnk");
    // Names that differ only there share a file name, as other names may.
    EXPECT_EQ(ShortcutFileName("a:b"), ShortcutFileName("a?b"));
}

// A file named after a device is the device: the shortcut would be "saved"
// to it and nothing would appear.
TEST(ShortcutFileName, NamesOfDevicesBecomeNamesOfFiles) {
    for (const char* name : {"CON", "con", "Prn", "AUX", "nul", "COM0", "com9", "LPT1", "lpt0",
                             "NUL.txt", "con.a.b", "AUX  ", "NUL..", "com1 .x"}) {
        const std::string file = ShortcutFileName(name);
        EXPECT_EQ(file.front(), '_') << name << " gives " << file;
    }
    EXPECT_EQ(ShortcutFileName("con"), "_con.lnk");
    EXPECT_EQ(ShortcutFileName("NUL.txt"), "_NUL.lnk");
    // Only the whole word before the first dot counts.
    for (const char* name : {"CONSOLE", "Contest", "COM10", "LPT", "COMX", "nul x", "Null", "C:ON"}) {
        EXPECT_NE(ShortcutFileName(name).front(), '_') << name;
    }
    EXPECT_EQ(ShortcutFileName("A.CON"), "A.lnk");
}

TEST(ShortcutFolder, ASubfolderGoesInsideTheWellKnownFolder) {
    EXPECT_EQ(ShortcutFolder(ShortcutLocation::Desktop, "C:\\Users\\a\\Desktop", ""),
              "C:\\Users\\a\\Desktop");
    EXPECT_EQ(ShortcutFolder(ShortcutLocation::StartMenu, "C:\\Start", "Timers"),
              "C:\\Start\\Timers");
    EXPECT_EQ(ShortcutFolder(ShortcutLocation::SendTo, "C:\\SendTo\\", "Timers"),
              "C:\\SendTo\\Timers");
    // The given folder is the folder itself: it is not joined to itself.
    EXPECT_EQ(ShortcutFolder(ShortcutLocation::GivenFolder, "D:\\Links", "D:\\Links"), "D:\\Links");
}

TEST(ShortcutFolder, AnEmptyFolderMeansNothingIsWritten) {
    EXPECT_EQ(ShortcutFolder(ShortcutLocation::Desktop, "", "Timers"), "");
    EXPECT_EQ(ShortcutFolder(ShortcutLocation::GivenFolder, "", ""), "");
}

TEST(JoinPath, OneBackslashSeparatesFolderAndName) {
    EXPECT_EQ(JoinPath("C:\\Desk", "Tea.lnk"), "C:\\Desk\\Tea.lnk");
    EXPECT_EQ(JoinPath("C:\\", "Tea.lnk"), "C:\\Tea.lnk");
    EXPECT_EQ(JoinPath("C:/Desk/", "Tea.lnk"), "C:/Desk/Tea.lnk");
    EXPECT_EQ(JoinPath("", "Tea.lnk"), "Tea.lnk");
}

TEST(ShortcutWorkingDirectory, TheGivenFolderWinsElseTheTargetsFolder) {
    EXPECT_EQ(ShortcutWorkingDirectory("C:\\Work", "C:\\Prog\\b.exe"), "C:\\Work");
    EXPECT_EQ(ShortcutWorkingDirectory("", "C:\\Prog\\b.exe"), "C:\\Prog\\");
    EXPECT_EQ(ShortcutWorkingDirectory("", "C:b.exe"), "C:");
    EXPECT_EQ(ShortcutWorkingDirectory("", "C:/Prog/b.exe"), "C:/Prog/");
    EXPECT_EQ(ShortcutWorkingDirectory("", "b.exe"), "");
    EXPECT_EQ(ShortcutWorkingDirectory("", ""), "");
}

} // namespace
} // namespace brevalo
