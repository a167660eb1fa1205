#include "SettingsStore.h"

namespace brevalo {

namespace {

constexpr const char* SettingsSection = "Settings";
constexpr const char* AdvancedSection = "Advanced";
constexpr const char* ForecolorKey = "Forecolor";
constexpr const char* BackgroundKey = "Background";
constexpr const char* CheckForUpdatesKey = "CheckForUpdates";
constexpr const char* TipsKey = "Tips";
constexpr const char* WizardModeValue = "WizardMode";
constexpr const char* LocalHelpValue = "LocalHelp";

} // namespace

std::string SettingsStore::SettingsFileName() {
    std::string folder = files_.CommonAppDataFolder();
    // An empty folder becomes "\", so the settings land under the root of
    // the current drive.
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    folder += SettingsFolderName;
    if (!files_.DirectoryExists(folder)) {
        files_.CreateDirectories(folder);
    }
    return folder + "\\" + SettingsFileTitle;
}

std::unique_ptr<IniFile> SettingsStore::OpenFile() {
    return files_.Open(SettingsFileName());
}

std::unique_ptr<RegistryKey> SettingsStore::OpenKey() {
    return registry_.OpenCurrentUser(RegistryKeyName);
}

TColor SettingsStore::ReadColour(IniFile& file, const char* key, TColor fallback) {
    return ColourFromString(file.ReadString(SettingsSection, key, ColourToString(fallback)));
}

WindowSettings SettingsStore::ReadWindowSettings() {
    const auto file = OpenFile();
    WindowSettings settings;
    settings.ForeColor = ReadColour(*file, ForecolorKey, DefaultForeColor);
    settings.BackColor = ReadColour(*file, BackgroundKey, DefaultBackColor);
    settings.CheckForUpdates = file->ReadBool(SettingsSection, CheckForUpdatesKey, true);
    return settings;
}

void SettingsStore::WriteWindowSettings(const WindowSettings& settings) noexcept {
    try {
        const auto file = OpenFile();
        file->WriteString(SettingsSection, ForecolorKey, ColourToString(settings.ForeColor));
        file->WriteString(SettingsSection, BackgroundKey, ColourToString(settings.BackColor));
        file->WriteBool(SettingsSection, CheckForUpdatesKey, settings.CheckForUpdates);
    } catch (...) {
        // Saving preferences must never stop a window from closing.
    }
}

FrontEndColours SettingsStore::ReadFrontEndColours() {
    const auto file = OpenFile();
    FrontEndColours colours;
    colours.ForeColor = ReadColour(*file, ForecolorKey, DefaultForeColor);
    colours.BackColor = ReadColour(*file, BackgroundKey, DefaultBackColor);
    return colours;
}

bool SettingsStore::ReadTips() {
    return OpenFile()->ReadBool(SettingsSection, TipsKey, true);
}

void SettingsStore::WriteTips(bool showTips) {
    OpenFile()->WriteBool(SettingsSection, TipsKey, showTips);
}

AdvancedOptions SettingsStore::ReadAdvancedOptions() {
    const auto file = OpenFile();
    AdvancedOptions options;
    for (int n = 1; n <= AdvancedOptionCount; ++n) {
        options.SetChk(n, file->ReadBool(AdvancedSection, AdvancedOptionKey(n), false));
    }
    return options;
}

void SettingsStore::LoadAdvancedOptions(AdvancedOptions& options) noexcept {
    try {
        const auto file = OpenFile();
        for (int n = 1; n <= AdvancedOptionCount; ++n) {
            options.SetChk(n, file->ReadBool(AdvancedSection, AdvancedOptionKey(n), false));
        }
    } catch (...) {
        // The options not yet loaded keep their current state.
    }
}

void SettingsStore::WriteAdvancedOptions(const AdvancedOptions& options) noexcept {
    try {
        const auto file = OpenFile();
        for (int n = 1; n <= AdvancedOptionCount; ++n) {
            file->WriteBool(AdvancedSection, AdvancedOptionKey(n), options.Chk(n));
        }
    } catch (...) {
        // Saving the options is best effort; the dialog carries on.
    }
}

bool SettingsStore::ReadWizardMode() {
    const auto value = OpenKey()->ReadDword(WizardModeValue);
    return !value || *value != 0;
}

void SettingsStore::WriteWizardMode(bool wizardMode) {
    OpenKey()->WriteDword(WizardModeValue, wizardMode ? 1 : 0);
}

std::optional<std::string> SettingsStore::ReadLocalHelp() {
    return OpenKey()->ReadString(LocalHelpValue);
}

std::optional<std::string>
SettingsStore::ExistingLocalHelp(const std::function<bool(const std::string&)>& fileExists) {
    auto path = ReadLocalHelp();
    if (path && !path->empty() && fileExists(*path)) {
        return path;
    }
    return std::nullopt;
}

} // namespace brevalo
