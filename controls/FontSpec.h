// A font as the controls describe it (face, size in points, style,
// character set, colour), made into a GDI font for a given DPI.
#pragma once

#include "Handle.h"
#include "KCommon.h"

#include <windows.h>

#include <string>

namespace brevalo::controls {

struct FontSpec {
    std::string name = "Tahoma";
    int size = 8; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    BYTE charset = DEFAULT_CHARSET;
    TColor color = clWindowText;

    // A new GDI font for this description at `dpi`.
    base::Font Create(UINT dpi) const;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The system's message font (SPI_GETNONCLIENTMETRICS): the dialogs' font.
// Falls back to the stock GUI font when the metrics cannot be read.
FontSpec MessageFontSpec();
// The system's message font itself at `dpi`: its height in pixels scaled from
// the system DPI, without the rounding to whole points of MessageFontSpec.
base::Font CreateMessageFont(UINT dpi);

} // namespace brevalo::controls
