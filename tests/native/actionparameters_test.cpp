// What the shell is given as the parameters of a timer's action.
#include "ActionParameters.h"

#include <gtest/gtest.h>

namespace brevalo {
namespace {

TEST(ActionParameterText, OnlyTheSystemsShutdownUtilityGetsItsParametersAsTheyStand) {
    const char* system = "C:\\windows\\system32";
    struct Case {
        const char* file;
        const char* params;
        const char* given;
    } cases[] = {
        // The ready-made actions: each switch must arrive as an argument of its own.
        {"C:\\windows\\system32\\shutdown.exe", "/r /t 1", "/r /t 1"},
        {"C:\\WINDOWS\\System32\\SHUTDOWN.EXE", "/p", "/p"},
        {"c:/windows/system32/shutdown.exe", "/l", "/l"},
        // Every other action keeps the one added pair of quotes.
        {"C:\\tools\\shutdown.exe", "/r /t 1", "\"/r /t 1\""},
        {"shutdown.exe", "/r /t 1", "\"/r /t 1\""},
        {"C:\\windows\\system32\\shutdown.exe.lnk", "/r", "\"/r\""},
        {"C:\\windows\\system32\\notepad.exe", "a b.txt", "\"a b.txt\""},
        {"C:\\windows\\system32\\shutdown.exe", "", ""},
        {"C:\\notes.txt", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ActionParameterText(c.file, c.params, system), c.given) << c.file << " " << c.params;
    // A system folder given with its trailing backslash is the same folder.
    EXPECT_EQ(ActionParameterText("C:\\windows\\system32\\shutdown.exe", "/p", "C:\\windows\\system32\\"),
              "/p");
    EXPECT_EQ(ActionParameterText("\\shutdown.exe", "/p", ""), "\"/p\"");
}

} // namespace
} // namespace brevalo
