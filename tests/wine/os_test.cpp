// Operating-system services against the real system in an isolated prefix:
// the registry, the user's formats, the clock, files and the administrator
// test.
#include "Administrator.h"
#include "Clock.h"
#include "DateTimeText.h"
#include "Files.h"
#include "Locale.h"
#include "Win32Registry.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cmath>

namespace brevalo::os {
namespace {

TEST(Registry, KeysAreCreatedByReadersAndValuesRoundTrip) {
    const std::string key = "Software\\Orsenic Software\\Brevalo Test";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orsenic Software\\Brevalo Test");
    Win32RegistryAccess registry;
    {
        auto opened = registry.OpenCurrentUser(key);
        EXPECT_FALSE(opened->ReadDword("WizardMode"));
        EXPECT_FALSE(opened->ReadString("LocalHelp"));
    }
    HKEY check = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Orsenic Software\\Brevalo Test", 0,
                            KEY_READ, &check),
              ERROR_SUCCESS);
    RegCloseKey(check);

    auto opened = registry.OpenCurrentUser(key);
    opened->WriteDword("WizardMode", 0);
    opened->WriteString("LocalHelp", "C:\\Hilfe\\\xC3\xBC" "ber.chm");
    EXPECT_EQ(opened->ReadDword("WizardMode"), 0u);
    EXPECT_EQ(opened->ReadString("LocalHelp"), "C:\\Hilfe\\\xC3\xBC" "ber.chm");
    // A value of the other type does not read.
    EXPECT_FALSE(opened->ReadString("WizardMode"));
    EXPECT_FALSE(opened->ReadDword("LocalHelp"));
    opened->DeleteValue("LocalHelp");
    opened->DeleteValue("LocalHelp"); // absent: no error
    EXPECT_FALSE(opened->ReadString("LocalHelp"));
}

TEST(Registry, RunValuesAreWrittenAndRemovedUnderTheirRoot) {
    WriteRunValue(RegistryRoot::CurrentUser, "12/8/2026 7:05:04 PM", "\"x.exe\" /r /q1");
    gui::RegKey run = OpenOrCreateKey(HKEY_CURRENT_USER, RunKey);
    wchar_t data[64];
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExW(run.Get(), L"12/8/2026 7:05:04 PM", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, L"\"x.exe\" /r /q1");
    RemoveRunValue(RegistryRoot::CurrentUser, "12/8/2026 7:05:04 PM");
    EXPECT_NE(RegQueryValueExW(run.Get(), L"12/8/2026 7:05:04 PM", nullptr, nullptr, nullptr,
                               nullptr),
              ERROR_SUCCESS);
    RemoveRunValue(RegistryRoot::CurrentUser, "not there"); // no error
}

TEST(Locale, TheUserFormatsAreReadAndReadBackWhatTheyWrite) {
    const FormatSettings fs = UserFormatSettings();
    EXPECT_FALSE(fs.shortDateFormat.empty());
    EXPECT_FALSE(fs.longTimeFormat.empty());
    EXPECT_FALSE(fs.timeSeparator.empty());
    EXPECT_EQ(fs.longMonthNames[0].empty(), false);
    // What the program writes for an end time it must read back.
    const DateTime now = LocalNow();
    const DateTime end = AddSeconds(now, 300);
    const std::string text = DateTimeToText(end, fs);
    const auto back = TextToDateTime(text, fs, now);
    ASSERT_TRUE(back) << text;
    EXPECT_LT(std::fabs(*back - end) * 86400.0, 1.0) << text;
}

TEST(Clock, NowFollowsTheSystemClockToTheMillisecond) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    const DateTime now = LocalNow();
    const CivilDateTime civil = DecodeDateTime(now);
    EXPECT_EQ(civil.year, st.wYear);
    EXPECT_EQ(civil.month, st.wMonth);
    EXPECT_EQ(civil.day, st.wDay);
    const std::uint32_t a = TickCount();
    Sleep(50);
    EXPECT_GE(TickCount() - a, 30u); // the counter may step in 10-16 ms units
}

TEST(Files, ExistenceTellsFilesFromFolders) {
    const std::string temp = TempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(DirectoryExists(temp));
    EXPECT_FALSE(FileExists(temp));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FileExists(ProgramPath()));
    EXPECT_NE(ProgramPath().find(".exe"), std::string::npos);
    EXPECT_FALSE(FileExists(temp + "surely-not-here.txt"));
}

TEST(Administrator, AgreesWithTheShell) { EXPECT_EQ(IsAdministrator(), bool(IsUserAnAdmin())); }

} // namespace
} // namespace brevalo::os
