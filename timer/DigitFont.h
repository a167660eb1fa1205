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

// Writes the font file unless one of that name exists (failures ignored),
// registers it when the font list lacks "DS-DIGITAL" and announces the new
// font to all top-level windows. Throws base::OsError when the system refuses
// the font.
void InstallDigitFont();

} // namespace brevalo
