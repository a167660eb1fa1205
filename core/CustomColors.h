// The colour dialog's 16 custom colours as a list of strings "ColorA=hex"
// ... "ColorP=hex", the hexadecimal number being the colour as stored
// (0x00BBGGRR). Colours the list does not name are white.
#pragma once

#include "Colour.h"

#include <array>
#include <string>
#include <vector>

namespace brevalo {

using CustomColorArray = std::array<TColor, 16>;

// Entries that are not of the form above are ignored; a later entry for the
// same letter wins.
CustomColorArray CustomColorsFromList(const std::vector<std::string>& list);
// All 16 entries, in letter order, with six upper-case digits.
std::vector<std::string> CustomColorsToList(const CustomColorArray& colors);

} // namespace brevalo
