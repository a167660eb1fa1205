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
#include <vector>

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
    base::RegKey run = OpenOrCreateKey(HKEY_CURRENT_USER, RunKey);
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


// Whether a value of that name is under the Run key of one registry view.
bool RunValueInView(HKEY root, REGSAM view, const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    const bool found = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) ==
                       ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

// Each flavour uses its own process's registry view, as Windows gives it: a
// 32-bit timer on 64-bit Windows writes a machine-wide Run value into the
// 32-bit view (which the shell also runs at log-on) and removes it from
// there; a 64-bit one uses the 64-bit view. The current user's Run key is
// one key in both views, so a value written there is seen by both.
TEST(RegistryView, MachineRunValuesStayInTheProcessOwnViewAndUserOnesAreShared) {
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    const bool bits64 = sizeof(void*) == 8;
    const char* name = "12/9/2026 6:00:00 AM";
    const wchar_t* wname = L"12/9/2026 6:00:00 AM";

    WriteRunValue(RegistryRoot::LocalMachine, name, "\"x.exe\" /r /q1");
    const bool in32 = RunValueInView(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, wname);
    const bool in64 = RunValueInView(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, wname);
    RemoveRunValue(RegistryRoot::LocalMachine, name);
    if (bits64) {
        EXPECT_TRUE(in64);
        EXPECT_FALSE(in32);
    } else if (wow64) {
        EXPECT_TRUE(in32);
        EXPECT_FALSE(in64);
    } else {
        // 32-bit Windows has one view; both flags name it.
        EXPECT_TRUE(in32);
        EXPECT_TRUE(in64);
    }
    EXPECT_FALSE(RunValueInView(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, wname));
    EXPECT_FALSE(RunValueInView(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, wname));

    WriteRunValue(RegistryRoot::CurrentUser, name, "\"x.exe\" /r /q1");
    EXPECT_TRUE(RunValueInView(HKEY_CURRENT_USER, KEY_WOW64_32KEY, wname));
    EXPECT_TRUE(RunValueInView(HKEY_CURRENT_USER, KEY_WOW64_64KEY, wname));
    RemoveRunValue(RegistryRoot::CurrentUser, name);
    EXPECT_FALSE(RunValueInView(HKEY_CURRENT_USER, KEY_WOW64_64KEY, wname));
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

// The attributes of the Administrators group in a token; 0 when it has none.
DWORD AdministratorsAttributes(HANDLE token, PSID administrators) {
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token, TokenGroups, buffer.data(), size, &size))
        return 0;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i)
        if (EqualSid(groups->Groups[i].Sid, administrators))
            return groups->Groups[i].Attributes;
    return 0;
}

TEST(Administrator, AGroupHeldForDenyOnlyDoesNotCount) {
    // The prefix's user is an administrator; a restricted copy of its token
    // keeps the group for deny only, as a non-elevated administrator's does.
    ASSERT_TRUE(IsAdministrator());
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                         DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                         &administrators));
    HANDLE process = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process));
    SID_AND_ATTRIBUTES disable{administrators, 0};
    HANDLE restricted = nullptr;
    ASSERT_TRUE(CreateRestrictedToken(process, 0, 1, &disable, 0, nullptr, 0, nullptr, &restricted));
    HANDLE impersonation = nullptr;
    ASSERT_TRUE(DuplicateTokenEx(restricted, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation,
                                 TokenImpersonation, &impersonation));
    const DWORD attributes = AdministratorsAttributes(impersonation, administrators);
    EXPECT_TRUE(attributes & SE_GROUP_USE_FOR_DENY_ONLY) << std::hex << attributes;
    EXPECT_FALSE(attributes & SE_GROUP_ENABLED) << std::hex << attributes;

    ASSERT_TRUE(SetThreadToken(nullptr, impersonation));
    EXPECT_FALSE(IsAdministrator()) << "a group held for deny only counted";
    ASSERT_TRUE(RevertToSelf());
    EXPECT_TRUE(IsAdministrator()) << "back on the process's own token";

    CloseHandle(impersonation);
    CloseHandle(restricted);
    CloseHandle(process);
    FreeSid(administrators);
}

} // namespace
} // namespace brevalo::os
