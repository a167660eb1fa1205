// Which user-interface font a dialog gets on which version of Windows.
#pragma once

#include <string>

namespace brevalo {

struct DialogFont {
    std::string name;
    int size = 8; // points
    friend bool operator==(const DialogFont&, const DialogFont&) = default;
};

// Windows 2000 and XP (5.0, 5.1): "Tahoma", same size. Version 6 (Vista to 8.1
// as they report themselves): "Segoe UI", one point larger. A dialog that
// already has the font (in any letter case) and every other version keep
// theirs.
DialogFont AdjustedDialogFont(const DialogFont& font, unsigned major, unsigned minor);

} // namespace brevalo
