// The ten stored option flags of the creation front ends ("Chk1" ... "Chk10"
// of section "Advanced"), each adding one fixed switch to a built command line.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace brevalo {

constexpr int AdvancedOptionCount = 10;

struct AdvancedOptions {
    // flags[n - 1] belongs to key "ChkN".
    std::array<bool, AdvancedOptionCount> flags{};

    // n is the key number, 1 to 10.
    bool Chk(int n) const { return flags.at(static_cast<std::size_t>(n - 1)); }
    void SetChk(int n, bool value) { flags.at(static_cast<std::size_t>(n - 1)) = value; }

    bool operator==(const AdvancedOptions&) const = default;
};

// The switch text key "ChkN" adds, at index n - 1.
constexpr std::array<std::string_view, AdvancedOptionCount> AdvancedOptionSwitches{
    " /n", " /r", " /h", " /m", " /d", " /z1", " /u", " /i", " /v", " /y"};

// "ChkN" for n = 1 to 10.
inline std::string AdvancedOptionKey(int n) {
    return "Chk" + std::to_string(n);
}

} // namespace brevalo
