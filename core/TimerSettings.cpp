// Sound names of a running timer.
#include "TimerSettings.h"

namespace brevalo {

std::string SoundName(std::string_view name) {
    // The name is fixed-width text: a zero ends it early, and it holds at most
    // MaxSoundNameLength bytes, cut where no UTF-8 sequence is split.
    name = name.substr(0, name.find('\0'));
    if (name.size() > MaxSoundNameLength) {
        std::size_t cut = MaxSoundNameLength;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name = name.substr(0, cut);
    }
    if (name.find_first_not_of(' ') == std::string_view::npos) {
        return {};
    }
    return std::string(name);
}

} // namespace brevalo
