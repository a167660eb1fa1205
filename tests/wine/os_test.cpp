// Operating-system services against the real system in an isolated prefix:
// the registry, the user's formats, the clock, files and the administrator
// test.
#include "Administrator.h"
#include "Clock.h"
#include "DateTimeText.h"
#include "ElevatedRegistry.h"
#include "Files.h"
#include "Locale.h"
#include "RestrictedUser.h"
#include "RunValue.h"
#include "Strings.h"
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

// A Run value is written once, taken as it is when it holds the data
// already, and removed only by the timer that wrote it.
TEST(Registry, RunValuesAreWrittenAndRemovedUnderTheirRoot) {
    const char* end = "12/8/2026 7:05:04 PM";
    {
        RunValue value(RegistryRoot::CurrentUser, end, "\"x.exe\" /r /q1");
        EXPECT_EQ(value.Remove(nullptr), Removal::Removed); // not written: nothing to do
        value.Write();
        EXPECT_EQ(RunValuesHolding(RegistryRoot::CurrentUser, "\"x.exe\" /r /q1"),
                  std::vector<std::string>{end});
        EXPECT_EQ(value.Remove(nullptr), Removal::Removed);
        EXPECT_TRUE(RunValuesHolding(RegistryRoot::CurrentUser, "\"x.exe\" /r /q1").empty());
    }
    EXPECT_EQ(DeleteAutorunValue(RegistryRoot::CurrentUser, AutorunList::Run, "not there", nullptr),
              Removal::Removed);
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

    RunValue machine(RegistryRoot::LocalMachine, name, "\"x.exe\" /r /q1");
    machine.Write();
    const bool in32 = RunValueInView(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, wname);
    const bool in64 = RunValueInView(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, wname);
    machine.Remove(nullptr);
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

    RunValue user(RegistryRoot::CurrentUser, name, "\"x.exe\" /r /q1");
    user.Write();
    EXPECT_TRUE(RunValueInView(HKEY_CURRENT_USER, KEY_WOW64_32KEY, wname));
    EXPECT_TRUE(RunValueInView(HKEY_CURRENT_USER, KEY_WOW64_64KEY, wname));
    user.Remove(nullptr);
    EXPECT_FALSE(RunValueInView(HKEY_CURRENT_USER, KEY_WOW64_64KEY, wname));
}

// Writes a Run value into one view of HKEY_LOCAL_MACHINE.
void WriteMachineRunValue(REGSAM view, const wchar_t* name, const wchar_t* data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                              0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   DWORD((wcslen(data) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// The registry tool that Windows runs elevated is started by a 64-bit
// service, yet it deletes from this process's own view, and a name with
// blanks and a trailing backslash reaches it whole. The user is told the
// key by the path the Registry Editor shows.
TEST(RegistryView, AnElevatedDeletionTakesTheValueFromThisProcesssOwnView) {
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    const bool bits64 = sizeof(void*) == 8;
    const REGSAM own = bits64 || !wow64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    const REGSAM other = own == KEY_WOW64_64KEY ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    const wchar_t* wname = L"12/9/2026 6:00:00 AM \\";
    WriteMachineRunValue(other, wname, L"other view");
    WriteMachineRunValue(own, wname, L"own view");
    EXPECT_TRUE(DeleteValueElevated(RegistryRoot::LocalMachine, RunKey, base::Narrow(wname), nullptr));
    EXPECT_FALSE(RunValueInView(HKEY_LOCAL_MACHINE, own, wname));
    if (bits64 || wow64) { // 32-bit Windows has one view
        EXPECT_TRUE(RunValueInView(HKEY_LOCAL_MACHINE, other, wname)) << "deleted from the other view";
    }
    EXPECT_FALSE(DeleteValueElevated(RegistryRoot::LocalMachine, RunKey, "a \"quoted\" name", nullptr));

    EXPECT_EQ(RegistryKeyPath(RegistryRoot::LocalMachine, RunKey),
              wow64 ? "HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"
                    : "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_EQ(RegistryKeyPath(RegistryRoot::CurrentUser, RunKey),
              "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
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

// While it lives, the calling thread impersonates a non-elevated
// administrator (the prefix's user is an administrator).
class DenyOnlyAdministrator {
public:
    DenyOnlyAdministrator()
        : token_(testsupport::DenyOnlyAdministratorToken(TokenImpersonation)),
          impersonating_(token_ && SetThreadToken(nullptr, token_.Get())) {}
    ~DenyOnlyAdministrator() { RevertToSelf(); }
    bool Impersonating() const { return impersonating_; }
    HANDLE Token() const { return token_.Get(); }

private:
    base::KernelHandle token_;
    bool impersonating_;
};

TEST(Administrator, AGroupHeldForDenyOnlyDoesNotCount) {
    ASSERT_TRUE(IsAdministrator());
    {
        DenyOnlyAdministrator user;
        ASSERT_TRUE(user.Impersonating());
        const DWORD attributes =
            AdministratorsAttributes(user.Token(), testsupport::AdministratorsSid().Get());
        EXPECT_TRUE(attributes & SE_GROUP_USE_FOR_DENY_ONLY) << std::hex << attributes;
        EXPECT_FALSE(attributes & SE_GROUP_ENABLED) << std::hex << attributes;
        EXPECT_FALSE(IsAdministrator()) << "a group held for deny only counted";
    }
    EXPECT_TRUE(IsAdministrator()) << "back on the process's own token";
}

// A timer resumed at log-on from its machine-wide value runs without
// administrator rights: it finds the value and takes it as its own without
// writing, and since it may not delete it, Windows deletes it with the
// rights the user allows (here those of the prefix's administrator).
TEST(Administrator, AMachineWideValueIsKeptWithoutRightsAndRemovedWithWindowsHelp) {
    const std::string line = "\"C:\\Brevalo\\Brevalo.exe\" /t12/9/20266:00:00AM /h /r";
    const char* end = "12/9/2026 6:00:00 AM";
    WriteMachineRunValue(0, L"12/9/2026 6:00:00 AM", base::Widen(line).c_str());
    testsupport::ProtectedMachineRunKey key;
    ASSERT_TRUE(key.Set());
    DenyOnlyAdministrator user;
    ASSERT_TRUE(user.Impersonating());
    HKEY denied = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                            KEY_SET_VALUE, &denied),
              ERROR_ACCESS_DENIED)
        << "the key is not protected as on Windows";

    EXPECT_EQ(RunValuesHolding(RegistryRoot::LocalMachine, line), std::vector<std::string>{end});
    RunValue value(RegistryRoot::LocalMachine, end, line);
    EXPECT_EQ(value.Name(), end);
    value.Write(); // would be refused if it wrote
    EXPECT_EQ(value.Remove(nullptr), Removal::Removed);
    EXPECT_TRUE(RunValuesHolding(RegistryRoot::LocalMachine, line).empty());
}

} // namespace
} // namespace brevalo::os
