#include "Sounds.h"

#include "Strings.h"

#include <windows.h>

#include <mmsystem.h>

namespace brevalo {

void PlayResourceSound(const std::string& name) noexcept {
    if (name.empty() || waveOutGetNumDevs() == 0)
        return;
    try {
        // SND_NODEFAULT: a missing resource stays silent instead of playing
        // the system's default sound.
        PlaySoundW(base::Widen(name).c_str(), GetModuleHandleW(nullptr),
                   SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
    } catch (...) {
        // Out of memory for the wide name: no sound, as for any other failure.
    }
}

} // namespace brevalo
