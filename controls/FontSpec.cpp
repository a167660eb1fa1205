#include "FontSpec.h"

#include "Dpi.h"
#include "KCommon.h"
#include "Strings.h"

namespace brevalo::controls {

base::Font FontSpec::Create(UINT dpi) const {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(size, int(dpi), 72);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfCharSet = charset;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = base::Widen(name);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return base::Font(CreateFontIndirectW(&lf));
}

namespace {

FontSpec FromLogFont(const LOGFONTW& lf) {
    FontSpec spec;
    spec.name = base::Narrow(lf.lfFaceName);
    // The metrics are given at the system DPI; sizes in points round to the
    // nearest whole point (-11 pixels at 96 DPI is 8 points).
    const int systemDpi = int(gui::WindowDpi(nullptr));
    const int pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    spec.size = pixels ? MulDiv(pixels, 72, systemDpi) : 8;
    spec.bold = lf.lfWeight >= FW_BOLD;
    spec.italic = lf.lfItalic != 0;
    spec.underline = lf.lfUnderline != 0;
    spec.charset = lf.lfCharSet;
    spec.color = clWindowText;
    return spec;
}

// The system's message font (at the system DPI), or the stock GUI font when
// the metrics cannot be read.
LOGFONTW MessageLogFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return metrics.lfMessageFont;
    LOGFONTW fallback{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
    return fallback;
}

} // namespace

base::Font CreateMessageFont(UINT dpi) {
    LOGFONTW font = MessageLogFont();
    const int systemDpi = int(gui::WindowDpi(nullptr));
    if (int(dpi) != systemDpi)
        font.lfHeight = MulDiv(font.lfHeight, int(dpi), systemDpi);
    return base::Font(CreateFontIndirectW(&font));
}

FontSpec MessageFontSpec() {
    return FromLogFont(MessageLogFont());
}

} // namespace brevalo::controls
