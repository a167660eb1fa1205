// The name of the Run value of a timer that resumes after a restart. It is
// the end time as text; a timer that ends in the same second as another
// running timer takes the name followed by " (2)", the next " (3)", so that
// no timer overwrites or removes another's value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brevalo {

// The `n`th name (from 1) for an end time whose text is `endText`: the text
// itself, then the text followed by " (2)", " (3)" and so on.
std::string RunValueCandidate(std::string_view endText, int n);

// How many names are tried before the choice gives up looking.
inline constexpr int MaxRunValueCandidates = 1000;

// What the choice learns about one name.
class RunValueNames {
public:
    virtual ~RunValueNames() = default;
    // The data of the Run value of that name; nullopt when there is none.
    virtual std::optional<std::string> ExistingData(const std::string& name) = 0;
    // Claims the name for this timer for as long as it runs; false when a
    // running timer holds it already. A claim is taken at once or not at
    // all, so two timers starting together never both get it.
    virtual bool Claim(const std::string& name) = 0;
};

// The first name that no running timer holds and whose value is missing or
// already holds `data`. A value with this timer's own command line and no
// running owner was left by this same timer before a log-off, a restart or
// the end of its process: the resumed timer takes it up again instead of
// adding a second one. After MaxRunValueCandidates names the next one is
// taken unchecked.
std::string ChooseRunValueName(std::string_view endText, const std::string& data,
                               RunValueNames& names);

} // namespace brevalo
