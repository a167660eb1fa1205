// The settings store against a real "settings.ini" and the real registry of
// an isolated Wine prefix.
#include "OsError.h"
#include "Settings.h"
#include "Strings.h"
#include "Win32IniFile.h"
#include "Win32Registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace brevalo {
namespace {

using base::Widen;

std::string CommonAppData() {
    wchar_t buffer[MAX_PATH] = {};
    EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_APPDATA, FALSE));
    return base::Narrow(buffer);
}

const std::string VendorFolder = CommonAppData() + "\\Orsenic Software";
const std::string SettingsFolder = VendorFolder + "\\Velloro";
const std::string SettingsPath = SettingsFolder + "\\settings.ini";
const std::wstring KeyName = L"Software\\Orsenic Software\\Brevalo";

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveFile(const std::string& path) {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Widen(path).c_str());
}

std::string ReadFileText(const std::string& path) {
    const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), DWORD(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

void WriteFileText(const std::string& path, const std::string& text) {
    const HANDLE file =
        CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, text.size());
}

bool KeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

DWORD RawWizardMode(DWORD& type) {
    DWORD value = 0xDEADBEEF, size = sizeof value;
    type = REG_NONE;
    RegGetValueW(HKEY_CURRENT_USER, KeyName.c_str(), L"WizardMode", RRF_RT_ANY, &type, &value,
                 &size);
    return value;
}

void SetRawValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, KeyName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

// Each case starts from a machine that has never run the program, also when
// the cases share one process.
class SettingsStoreWin : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveFile(SettingsPath);
        RemoveDirectoryW(Widen(SettingsFolder).c_str());
        RemoveFile(VendorFolder); // where a case put a file in the folder's way
        RemoveDirectoryW(Widen(VendorFolder).c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, KeyName.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, KeyName.c_str());
        ASSERT_FALSE(IsFolder(VendorFolder));
        ASSERT_FALSE(KeyExists());
    }

    SettingsStore store = os::Settings();
};

TEST_F(SettingsStoreWin, CleanMachineGivesDefaultsAndCreatesFolderAndKey) {
    EXPECT_EQ(store.ReadWindowSettings(), WindowSettings{});
    EXPECT_TRUE(IsFolder(SettingsFolder));
    EXPECT_FALSE(IsFile(SettingsPath)); // reading does not create the file
    EXPECT_EQ(store.SettingsFileName(), SettingsPath);

    const FrontEndColours colours = store.ReadFrontEndColours();
    EXPECT_EQ(colours.ForeColor, Rgb(0x00, 0x80, 0xFF));
    EXPECT_EQ(colours.BackColor, Rgb(0, 0, 0));
    EXPECT_TRUE(store.ReadTips());
    EXPECT_EQ(store.ReadAdvancedOptions(), AdvancedOptions{});

    EXPECT_TRUE(store.ReadWizardMode());
    EXPECT_TRUE(KeyExists()); // the reader created it
    EXPECT_EQ(store.ReadLocalHelp(), std::nullopt);
    EXPECT_EQ(os::LocalHelpFile(), std::nullopt);
}

TEST_F(SettingsStoreWin, WindowSettingsRoundTripKeyByKey) {
    const WindowSettings written{Rgb(0xFF, 0x00, 0x00), Rgb(0x12, 0x34, 0x56), false};
    store.WriteWindowSettings(written);
    EXPECT_EQ(store.ReadWindowSettings(), written);
    EXPECT_EQ(store.ReadFrontEndColours(), (FrontEndColours{written.ForeColor, written.BackColor}));

    std::string text = ReadFileText(SettingsPath);
    const auto fore = text.find("Forecolor=FF0000");
    const auto back = text.find("Background=123456");
    const auto check = text.find("CheckForUpdates=0");
    ASSERT_NE(text.find("[Settings]"), std::string::npos) << text;
    ASSERT_NE(check, std::string::npos) << text;
    EXPECT_LT(fore, back);
    EXPECT_LT(back, check);

    // A second write replaces the keys instead of adding to them.
    store.WriteWindowSettings(WindowSettings{});
    text = ReadFileText(SettingsPath);
    EXPECT_EQ(text.find("Forecolor="), text.rfind("Forecolor=")) << text;
    EXPECT_NE(text.find("Forecolor=0080FF"), std::string::npos) << text;
    EXPECT_NE(text.find("CheckForUpdates=1"), std::string::npos) << text;
    EXPECT_EQ(store.ReadWindowSettings(), WindowSettings{});
}

TEST_F(SettingsStoreWin, TipsOptionsAndWizardModeRoundTrip) {
    store.WriteTips(false);
    EXPECT_FALSE(store.ReadTips());
    store.WriteTips(true);
    EXPECT_TRUE(store.ReadTips());

    AdvancedOptions options; // "Chk3" without "Chk2" is kept as written
    options.SetChk(3, true);
    options.SetChk(10, true);
    store.WriteAdvancedOptions(options);
    EXPECT_EQ(store.ReadAdvancedOptions(), options);
    AdvancedOptions loaded;
    loaded.flags.fill(true);
    store.LoadAdvancedOptions(loaded);
    EXPECT_EQ(loaded, options);
    const std::string text = ReadFileText(SettingsPath);
    EXPECT_NE(text.find("[Advanced]"), std::string::npos) << text;
    EXPECT_LT(text.find("Chk1=0"), text.find("Chk3=1"));
    EXPECT_LT(text.find("Chk9=0"), text.find("Chk10=1"));

    DWORD type = 0;
    store.WriteWizardMode(false);
    EXPECT_FALSE(store.ReadWizardMode());
    EXPECT_EQ(RawWizardMode(type), 0u);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    store.WriteWizardMode(true);
    EXPECT_TRUE(store.ReadWizardMode());
    EXPECT_EQ(RawWizardMode(type), 1u);
}

TEST_F(SettingsStoreWin, HandWrittenFileFollowsTheProfileRules) {
    ASSERT_TRUE(IsFolder(store.SettingsFileName().substr(0, SettingsFolder.size())));
    WriteFileText(SettingsPath, "[settings]\r\n"
                                "FORECOLOR=00ff80\r\n"
                                "background=\"102030\"\r\n"
                                "CheckForUpdates=abc\r\n"
                                "Tips=0\r\n"
                                "[ADVANCED]\r\n"
                                "chk2=-1\r\n"
                                "Chk5=0\r\n"
                                "Chk7=$7\r\n"
                                "Chk8=yes\r\n");
    const WindowSettings settings = store.ReadWindowSettings();
    EXPECT_EQ(settings.ForeColor, Rgb(0x00, 0xFF, 0x80));
    EXPECT_EQ(settings.BackColor, Rgb(0x10, 0x20, 0x30));
    EXPECT_TRUE(settings.CheckForUpdates); // not a whole number: the default
    EXPECT_FALSE(store.ReadTips());

    AdvancedOptions expected;
    expected.SetChk(2, true);
    expected.SetChk(7, true);
    EXPECT_EQ(store.ReadAdvancedOptions(), expected);
}

TEST_F(SettingsStoreWin, EveryUseOpensFileAndKeyAfresh) {
    EXPECT_TRUE(store.ReadTips());
    WriteFileText(SettingsPath, "[Settings]\r\nTips=0\r\nForecolor=FFFFFF\r\n");
    EXPECT_FALSE(store.ReadTips());
    EXPECT_EQ(store.ReadFrontEndColours().ForeColor, Rgb(0xFF, 0xFF, 0xFF));

    // The folder disappears between two uses: the next one makes it again.
    RemoveFile(SettingsPath);
    ASSERT_TRUE(RemoveDirectoryW(Widen(SettingsFolder).c_str()));
    store.WriteTips(false);
    EXPECT_TRUE(IsFile(SettingsPath));
    EXPECT_FALSE(store.ReadTips());

    const DWORD zero = 0;
    SetRawValue(L"WizardMode", REG_DWORD, &zero, sizeof zero);
    EXPECT_FALSE(store.ReadWizardMode());
    const std::wstring help = Widen(SettingsPath);
    SetRawValue(L"LocalHelp", REG_SZ, help.c_str(), DWORD((help.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(os::LocalHelpFile(), SettingsPath);
    RemoveFile(SettingsPath);
    EXPECT_EQ(store.ReadLocalHelp(), SettingsPath);
    EXPECT_EQ(os::LocalHelpFile(), std::nullopt); // the file is gone

    // A value of another type than REG_DWORD leaves the wizard on.
    SetRawValue(L"WizardMode", REG_SZ, L"0", 2 * sizeof(wchar_t));
    EXPECT_TRUE(store.ReadWizardMode());
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, KeyName.c_str()), ERROR_SUCCESS);
    EXPECT_TRUE(store.ReadWizardMode());
}

TEST_F(SettingsStoreWin, MalformedStoredColourIsRaised) {
    store.SettingsFileName();
    WriteFileText(SettingsPath, "[Settings]\r\nForecolor=12345G\r\nTips=0\r\n");
    EXPECT_THROW(store.ReadWindowSettings(), ColourError);
    EXPECT_THROW(store.ReadFrontEndColours(), ColourError);
    EXPECT_FALSE(store.ReadTips()); // the other keys stay readable

    // Present but empty is not absent: it does not fall back to the default.
    WriteFileText(SettingsPath, "[Settings]\r\nBackground=\r\n");
    EXPECT_THROW(store.ReadWindowSettings(), ColourError);
}

TEST_F(SettingsStoreWin, ReadOnlyFileIsSwallowedOnlyByWindowAndOptionWrites) {
    store.WriteWindowSettings(WindowSettings{});
    store.WriteAdvancedOptions(AdvancedOptions{});
    const std::string before = ReadFileText(SettingsPath);
    ASSERT_TRUE(SetFileAttributesW(Widen(SettingsPath).c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine run by root writes read-only files all the same; another program
    // holding the file open for reading only keeps the writes out there too.
    HANDLE guard = INVALID_HANDLE_VALUE;
    if (const HANDLE probe =
            CreateFileW(Widen(SettingsPath).c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        guard = CreateFileW(Widen(SettingsPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(guard, INVALID_HANDLE_VALUE);
    }

    store.WriteWindowSettings({Rgb(1, 2, 3), Rgb(4, 5, 6), false});
    AdvancedOptions all;
    all.flags.fill(true);
    store.WriteAdvancedOptions(all);
    EXPECT_EQ(ReadFileText(SettingsPath), before);
    EXPECT_EQ(store.ReadWindowSettings(), WindowSettings{});

    try {
        store.WriteTips(false);
        ADD_FAILURE() << "the write of the tips flag is not guarded";
    } catch (const base::OsError& error) {
        EXPECT_NE(error.Code(), 0u);
        EXPECT_EQ(std::string(error.what()).rfind("System Error.  Code: ", 0), 0u) << error.what();
    }
    EXPECT_TRUE(store.ReadTips());
    if (guard != INVALID_HANDLE_VALUE)
        CloseHandle(guard);
    EXPECT_EQ(ReadFileText(SettingsPath), before);
    RemoveFile(SettingsPath);
}

TEST_F(SettingsStoreWin, UncreatableFolderIsSwallowedLikeAReadOnlyFile) {
    // A file where the vendor folder belongs: the settings folder cannot be made.
    WriteFileText(VendorFolder, "in the way");
    EXPECT_EQ(store.SettingsFileName(), SettingsPath);
    EXPECT_FALSE(IsFolder(SettingsFolder));
    EXPECT_EQ(store.ReadWindowSettings(), WindowSettings{});
    store.WriteWindowSettings({Rgb(1, 2, 3), Rgb(4, 5, 6), false});
    store.WriteAdvancedOptions(AdvancedOptions{});
    EXPECT_THROW(store.WriteTips(false), base::OsError);
    EXPECT_EQ(ReadFileText(VendorFolder), "in the way");
}

// A shell that cannot name the application-data folder: the settings go
// under the root of the current drive.
class NoAppDataHost : public os::Win32IniFileHost {
public:
    std::string CommonAppDataFolder() override { return {}; }
};

TEST_F(SettingsStoreWin, WithoutAppDataFolderSettingsGoUnderTheDriveRoot) {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    // The prefix's own drive, never the host's file system.
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
    NoAppDataHost files;
    os::Win32RegistryAccess registry;
    SettingsStore rooted(files, registry);
    EXPECT_EQ(rooted.SettingsFileName(), "\\Orsenic Software\\Velloro\\settings.ini");
    rooted.WriteTips(false);
    EXPECT_FALSE(rooted.ReadTips());
    EXPECT_TRUE(IsFile("C:\\Orsenic Software\\Velloro\\settings.ini"));
    RemoveFile("C:\\Orsenic Software\\Velloro\\settings.ini");
    RemoveDirectoryW(L"C:\\Orsenic Software\\Velloro");
    RemoveDirectoryW(L"C:\\Orsenic Software");
    SetCurrentDirectoryW(previous);
}

// The profile file itself, in a scratch folder of its own.
class Win32IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = base::Narrow(temp) + "brevalo-ini-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(host.CreateDirectories(folder));
        file = std::make_unique<os::Win32IniFile>(folder + "\\test.ini");
    }
    void TearDown() override {
        RemoveFile(folder + "\\test.ini");
        RemoveDirectoryW(Widen(folder).c_str());
    }

    os::Win32IniFileHost host;
    std::string folder;
    std::unique_ptr<os::Win32IniFile> file;
};

TEST_F(Win32IniFileTest, LongValuesAreReadWhole) {
    for (std::size_t length : {254u, 255u, 256u, 257u, 511u, 512u, 100000u}) {
        std::string value(length, 'x');
        value.back() = 'y';
        file->WriteString("Long", "Value", value);
        const std::string read = file->ReadString("Long", "Value", "");
        EXPECT_TRUE(read == value) << "wrote " << length << " characters, read " << read.size();
    }
    const std::string fallback(3000, 'f');
    EXPECT_TRUE(file->ReadString("Long", "Missing", fallback) == fallback);
}

TEST_F(Win32IniFileTest, EmptyValueIsNotAMissingKey) {
    file->WriteString("S", "Empty", "");
    EXPECT_EQ(file->ReadString("S", "Empty", "fallback"), "");
    EXPECT_EQ(file->ReadString("S", "Missing", "fallback  "), "fallback  ");
    EXPECT_EQ(file->ReadString("Nowhere", "Missing", "?"), "?");
    EXPECT_EQ(file->ReadInteger("S", "Empty", 7), 7);
}

TEST_F(Win32IniFileTest, LineBreaksCannotInjectKeys) {
    EXPECT_THROW(file->WriteString("S", "Forecolor", "FF0000\r\nTips=0"), base::OsError);
    EXPECT_THROW(file->WriteString("S", "A\nTips", "0"), base::OsError);
    EXPECT_THROW(file->WriteString("S]\r\n[T", "A", "0"), base::OsError);
    EXPECT_THROW(file->WriteString("S", "A", std::string("0\0x", 3)), base::OsError);
    EXPECT_EQ(file->ReadString("S", "Tips", "absent"), "absent");
    EXPECT_EQ(file->ReadString("T", "A", "absent"), "absent");
}

} // namespace
} // namespace brevalo
