#include "RunValueName.h"

namespace brevalo {

std::string RunValueCandidate(std::string_view endText, int n) {
    std::string name(endText);
    if (n > 1) {
        name += " (" + std::to_string(n) + ")";
    }
    return name;
}

std::string ChooseRunValueName(std::string_view endText, const std::string& data,
                               RunValueNames& names) {
    for (int n = 1; n <= MaxRunValueCandidates; ++n) {
        const std::string name = RunValueCandidate(endText, n);
        // Another timer's value, running or waiting for the next log-on, is
        // never taken over, even when no process holds it at the moment.
        const std::optional<std::string> existing = names.ExistingData(name);
        if (existing && *existing != data) {
            continue;
        }
        if (names.Claim(name)) {
            return name;
        }
    }
    return RunValueCandidate(endText, MaxRunValueCandidates + 1);
}

} // namespace brevalo
