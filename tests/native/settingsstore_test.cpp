#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <tuple>
#include <variant>
#include <vector>

using namespace brevalo;

namespace {

// An in-memory profile file system. Keys are stored as "Section/Key".
struct FakeFiles : IniFileHost {
    std::string appData = "C:\\ProgramData";
    std::set<std::string> folders, created;
    std::map<std::string, std::string> values;
    std::vector<std::string> opened, writes;
    std::string failOnKey; // reading or writing this key throws
    bool failWrites = false;

    struct File : IniFile {
        FakeFiles& fs;
        explicit File(FakeFiles& f) : fs(f) {}
        std::string ReadString(const std::string& section, const std::string& key,
                               const std::string& fallback) override {
            if (key == fs.failOnKey) {
                throw std::runtime_error("read failed");
            }
            const auto it = fs.values.find(section + "/" + key);
            return it == fs.values.end() ? fallback : it->second;
        }
        void WriteString(const std::string& section, const std::string& key,
                         const std::string& value) override {
            if (fs.failWrites || key == fs.failOnKey) {
                throw std::runtime_error("write failed");
            }
            fs.writes.push_back(key);
            fs.values[section + "/" + key] = value;
        }
    };

    std::string CommonAppDataFolder() override { return appData; }
    bool DirectoryExists(const std::string& path) override { return folders.count(path) > 0; }
    bool CreateDirectories(const std::string& path) override {
        created.insert(path);
        folders.insert(path);
        return true;
    }
    std::unique_ptr<IniFile> Open(const std::string& path) override {
        opened.push_back(path);
        return std::make_unique<File>(*this);
    }
};

struct FakeRegistry : RegistryAccess {
    std::map<std::string, std::variant<std::uint32_t, std::string>> values;
    std::vector<std::string> opened;
    bool failWrites = false;

    struct Key : RegistryKey {
        FakeRegistry& reg;
        explicit Key(FakeRegistry& r) : reg(r) {}
        template <typename T> std::optional<T> Read(const std::string& name) {
            const auto it = reg.values.find(name);
            if (it == reg.values.end() || !std::holds_alternative<T>(it->second)) {
                return std::nullopt;
            }
            return std::get<T>(it->second);
        }
        std::optional<std::uint32_t> ReadDword(const std::string& n) override {
            return Read<std::uint32_t>(n);
        }
        std::optional<std::string> ReadString(const std::string& n) override {
            return Read<std::string>(n);
        }
        void WriteDword(const std::string& name, std::uint32_t value) override {
            if (reg.failWrites) {
                throw std::runtime_error("access denied");
            }
            reg.values[name] = value;
        }
        void WriteString(const std::string& name, const std::string& value) override {
            reg.values[name] = value;
        }
        void DeleteValue(const std::string& name) override { reg.values.erase(name); }
    };

    std::unique_ptr<RegistryKey> OpenCurrentUser(const std::string& subKey) override {
        opened.push_back(subKey);
        return std::make_unique<Key>(*this);
    }
};

struct SettingsStoreTest : ::testing::Test {
    FakeFiles files;
    FakeRegistry registry;
    SettingsStore store{files, registry};
};

const std::string Folder = "C:\\ProgramData\\Orsenic Software\\Velloro";

} // namespace

TEST_F(SettingsStoreTest, FileNameIsBuiltUnderAppDataAndTheFolderIsCreated) {
    EXPECT_EQ(store.SettingsFileName(), Folder + "\\settings.ini");
    EXPECT_EQ(files.created, std::set<std::string>{Folder});
    files.created.clear();
    store.SettingsFileName();
    EXPECT_TRUE(files.created.empty()) << "an existing folder is not created again";

    files.appData = "D:\\";
    EXPECT_EQ(store.SettingsFileName(), "D:\\Orsenic Software\\Velloro\\settings.ini");
    files.appData = "";
    EXPECT_EQ(store.SettingsFileName(), "\\Orsenic Software\\Velloro\\settings.ini");
}

TEST_F(SettingsStoreTest, CleanMachineGivesTheDefaults) {
    EXPECT_EQ(store.ReadWindowSettings(), (WindowSettings{Rgb(0, 0x80, 0xFF), 0, true}));
    EXPECT_EQ(files.created, std::set<std::string>{Folder}) << "the first reader creates it";
    EXPECT_EQ(store.ReadFrontEndColours(), (FrontEndColours{Rgb(0, 0x80, 0xFF), 0}));
    EXPECT_TRUE(store.ReadTips());
    EXPECT_EQ(store.ReadAdvancedOptions(), AdvancedOptions{});
    EXPECT_TRUE(store.ReadWizardMode());
    EXPECT_EQ(registry.opened.back(), "Software\\Orsenic Software\\Brevalo");
    EXPECT_EQ(store.ReadLocalHelp(), std::nullopt);
}

TEST_F(SettingsStoreTest, WindowSettingsAreWrittenInOrderAndReadBackFresh) {
    store.WriteWindowSettings({Rgb(0xFF, 0, 0), Rgb(0x12, 0xAB, 0x0C), false});
    EXPECT_EQ(files.writes,
              (std::vector<std::string>{"Forecolor", "Background", "CheckForUpdates"}));
    EXPECT_EQ(files.values["Settings/Forecolor"], "FF0000");
    EXPECT_EQ(files.values["Settings/Background"], "12AB0C");
    EXPECT_EQ(files.values["Settings/CheckForUpdates"], "0");
    // Another process changes the file: the next read sees it, nothing is cached.
    files.values["Settings/Background"] = "00ff00";
    EXPECT_EQ(store.ReadWindowSettings(),
              (WindowSettings{Rgb(0xFF, 0, 0), Rgb(0, 0xFF, 0), false}));
    EXPECT_EQ(store.ReadFrontEndColours(), (FrontEndColours{Rgb(0xFF, 0, 0), Rgb(0, 0xFF, 0)}));
    EXPECT_EQ(files.opened.size(), 3u) << "one open per operation";
}

TEST_F(SettingsStoreTest, BooleansCountWholeNumbersAndFallBackOtherwise) {
    // Text, read with default true ("CheckForUpdates"), with default false ("Chk5").
    const std::tuple<const char*, bool, bool> cases[] = {
        {"1", true, true},    {"0", false, false},  {"-3", true, true}, {"$0", false, false},
        {"0x10", true, true}, {"yes", true, false}, {"", true, false},  {"1.0", true, false},
    };
    for (const auto& [text, withTrue, withFalse] : cases) {
        files.values["Settings/CheckForUpdates"] = text;
        files.values["Advanced/Chk5"] = text;
        EXPECT_EQ(store.ReadWindowSettings().CheckForUpdates, withTrue) << text;
        EXPECT_EQ(store.ReadAdvancedOptions().Chk(5), withFalse) << text;
    }
}

TEST_F(SettingsStoreTest, MalformedStoredColourIsRaisedToTheReader) {
    files.values["Settings/Background"] = "ZZ0000";
    EXPECT_THROW(store.ReadWindowSettings(), ColourError);
    EXPECT_THROW(store.ReadFrontEndColours(), ColourError);
    files.values["Settings/Background"] = "";
    EXPECT_THROW(store.ReadWindowSettings(), ColourError);
}

TEST_F(SettingsStoreTest, WindowAndOptionWritesSwallowErrorsTipsAndModeDoNot) {
    const WindowSettings stored{Rgb(0x11, 0x22, 0x33), Rgb(0x44, 0x55, 0x66), false};
    store.WriteWindowSettings(stored);
    AdvancedOptions storedOptions;
    storedOptions.flags.fill(true);
    store.WriteAdvancedOptions(storedOptions);
    files.writes.clear();

    // A file that refuses every write keeps what it held.
    files.failWrites = true;
    store.WriteWindowSettings({});
    store.WriteAdvancedOptions({});
    EXPECT_TRUE(files.writes.empty());
    EXPECT_EQ(store.ReadWindowSettings(), stored);
    EXPECT_EQ(store.ReadAdvancedOptions(), storedOptions);
    EXPECT_THROW(store.WriteTips(false), std::runtime_error);
    EXPECT_TRUE(store.ReadTips());

    // A write failing part-way keeps the keys written before it and stops there.
    files.failWrites = false;
    files.failOnKey = "Background";
    store.WriteWindowSettings({Rgb(0xFF, 0, 0), Rgb(0, 0, 0xFF), true});
    files.failOnKey = "Chk4";
    store.WriteAdvancedOptions({});
    EXPECT_EQ(files.writes, (std::vector<std::string>{"Forecolor", "Chk1", "Chk2", "Chk3"}));
    files.failOnKey.clear();
    EXPECT_EQ(store.ReadWindowSettings(),
              (WindowSettings{Rgb(0xFF, 0, 0), stored.BackColor, stored.CheckForUpdates}));
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(store.ReadAdvancedOptions().Chk(n), n >= 4) << n;
    }

    registry.failWrites = true;
    EXPECT_THROW(store.WriteWizardMode(false), std::runtime_error);
    EXPECT_TRUE(store.ReadWizardMode());
}

TEST_F(SettingsStoreTest, OptionsKeepKeyOrderAndNoRuleBetweenThem) {
    AdvancedOptions options;
    options.SetChk(3, true); // "all users" without "autorun" is stored as it is
    options.SetChk(10, true);
    store.WriteAdvancedOptions(options);
    std::vector<std::string> keys;
    for (int n = 1; n <= 10; ++n) {
        keys.push_back(AdvancedOptionKey(n));
    }
    EXPECT_EQ(files.writes, keys);
    EXPECT_EQ(files.values["Advanced/Chk3"], "1");
    EXPECT_EQ(files.values["Advanced/Chk2"], "0");
    EXPECT_EQ(store.ReadAdvancedOptions(), options);
    store.WriteTips(false);
    EXPECT_FALSE(store.ReadTips());
}

TEST_F(SettingsStoreTest, LoadingOptionsStopsQuietlyAtAnErrorKeepingTheRest) {
    for (int n = 1; n <= 10; ++n) {
        files.values["Advanced/" + AdvancedOptionKey(n)] = "0";
    }
    AdvancedOptions boxes;
    boxes.flags.fill(true);
    files.failOnKey = "Chk4";
    store.LoadAdvancedOptions(boxes);
    EXPECT_FALSE(boxes.Chk(1) || boxes.Chk(2) || boxes.Chk(3));
    for (int n = 4; n <= 10; ++n) {
        EXPECT_TRUE(boxes.Chk(n)) << n;
    }
    EXPECT_THROW(store.ReadAdvancedOptions(), std::runtime_error);
}

TEST_F(SettingsStoreTest, WizardModeAndLocalHelp) {
    store.WriteWizardMode(false);
    EXPECT_EQ(std::get<std::uint32_t>(registry.values["WizardMode"]), 0u);
    EXPECT_FALSE(store.ReadWizardMode());
    store.WriteWizardMode(true);
    EXPECT_EQ(std::get<std::uint32_t>(registry.values["WizardMode"]), 1u);
    registry.values["WizardMode"] = std::uint32_t{7};
    EXPECT_TRUE(store.ReadWizardMode());
    registry.values["WizardMode"] = std::string("0"); // wrong type: as if absent
    EXPECT_TRUE(store.ReadWizardMode());

    registry.values["LocalHelp"] = std::string("C:\\help\\index.html");
    EXPECT_EQ(store.ReadLocalHelp(), "C:\\help\\index.html");
    const auto exists = [](const std::string& p) { return p == "C:\\help\\index.html"; };
    EXPECT_EQ(store.ExistingLocalHelp(exists), "C:\\help\\index.html");
    registry.values["LocalHelp"] = std::string("C:\\gone.html");
    EXPECT_EQ(store.ExistingLocalHelp(exists), std::nullopt);
    for (const auto& key : registry.opened) {
        EXPECT_EQ(key, "Software\\Orsenic Software\\Brevalo");
    }
}
