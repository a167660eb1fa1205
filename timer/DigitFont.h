// The seven-segment digit font of the timer window. The program carries it as
// the raw-data resource "DFONT"; installing copies it to the temporary folder
// and registers it with the system for the rest of the session.
#pragma once

#include <string>

namespace brevalo {

// The face name the timer's labels ask for.
inline constexpr char DigitFontFace[] = "DS-DIGITAL";

// Where the font file goes: the temporary folder and "DS-DIGIT.TTF".
std::wstring DigitFontPath();

// True when the screen's font list has a family named `face`, in any case.
bool ScreenFontListed(const std::wstring& face);

// Writes the font file unless one of that name exists (failures ignored) and
// registers it when the font list lacks "DS-DIGITAL". True when it registered
// the font: the change is then to be announced. Throws base::OsError when the
// system refuses the font.
bool RegisterDigitFont();

// Tells all top-level windows that the fonts changed: sent (a hung or slow
// window is given half a second), then posted.
void AnnounceFontChange() noexcept;

// Registers the font as above and announces it when it was new.
void InstallDigitFont();

} // namespace brevalo
