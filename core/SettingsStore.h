// The lasting preferences: "settings.ini" in the machine-wide application-data
// folder (colours, update check, tips, the ten advanced options) and the
// current user's key "Software\Orsenic Software\Brevalo" (front-end mode,
// local help file). Nothing is cached: every operation opens the file or the
// key afresh, reads or writes, and closes it again.
#pragma once

#include "AdvancedOptions.h"
#include "Colour.h"
#include "IniFile.h"
#include "Registry.h"

#include <functional>
#include <optional>
#include <string>

namespace brevalo {

inline constexpr const char* SettingsFolderName = "Orsenic Software\\Velloro";
inline constexpr const char* SettingsFileTitle = "settings.ini";
inline constexpr const char* RegistryKeyName = "Software\\Orsenic Software\\Brevalo";

inline constexpr TColor DefaultForeColor = Rgb(0x00, 0x80, 0xFF); // "0080FF"
inline constexpr TColor DefaultBackColor = Rgb(0x00, 0x00, 0x00); // "000000"

// What the timer window keeps in the file.
struct WindowSettings {
    TColor ForeColor = DefaultForeColor;
    TColor BackColor = DefaultBackColor;
    bool CheckForUpdates = true;

    bool operator==(const WindowSettings&) const = default;
};

// The preset colours of the creation front ends.
struct FrontEndColours {
    TColor ForeColor = DefaultForeColor;
    TColor BackColor = DefaultBackColor;

    bool operator==(const FrontEndColours&) const = default;
};

class SettingsStore {
public:
    SettingsStore(IniFileHost& files, RegistryAccess& registry)
        : files_(files), registry_(registry) {}

    // Full path of "settings.ini", creating the settings folder when it is
    // missing (a failure to create it shows up when the file is written).
    std::string SettingsFileName();

    // Colours and update flag with their defaults. A stored colour that is not
    // a colour string throws ColourError; the caller reports it.
    WindowSettings ReadWindowSettings();
    // Writes "Forecolor", "Background" and "CheckForUpdates" in that order.
    // Every error is ignored, so a window still closes when its settings
    // cannot be saved.
    void WriteWindowSettings(const WindowSettings& settings) noexcept;

    // "Forecolor" and "Background" for the front ends; a malformed colour
    // throws ColourError.
    FrontEndColours ReadFrontEndColours();

    bool ReadTips();
    // Not guarded: a failure reaches the caller.
    void WriteTips(bool showTips);

    // The ten options, false where absent. Errors reach the caller.
    AdvancedOptions ReadAdvancedOptions();
    // Reads the options into `options` key by key, "Chk1" first. Errors are
    // ignored: the keys not yet read when one occurs keep their values.
    void LoadAdvancedOptions(AdvancedOptions& options) noexcept;
    // Writes "Chk1" ... "Chk10" in key order. Every error is ignored.
    void WriteAdvancedOptions(const AdvancedOptions& options) noexcept;

    // True when "WizardMode" is absent (or not a REG_DWORD), else whether it
    // is non-zero.
    bool ReadWizardMode();
    // Writes "WizardMode" as REG_DWORD 1 or 0. Not guarded.
    void WriteWizardMode(bool wizardMode);

    // The "LocalHelp" string when the value exists.
    std::optional<std::string> ReadLocalHelp();
    // The "LocalHelp" path when the value exists and names an existing file.
    std::optional<std::string>
    ExistingLocalHelp(const std::function<bool(const std::string&)>& fileExists);

private:
    std::unique_ptr<IniFile> OpenFile();
    std::unique_ptr<RegistryKey> OpenKey();
    TColor ReadColour(IniFile& file, const char* key, TColor fallback);

    IniFileHost& files_;
    RegistryAccess& registry_;
};

} // namespace brevalo
