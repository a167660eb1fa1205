// A speed button that paints a colour: the colour bar of the colour button's
// face (when it has a picture), the swatch of the palette's "Automatic"
// button (when it has a caption) or a palette cell's swatch.
#pragma once

#include "Colour.h"
#include "SpeedButton.h"

namespace brevalo::controls {

// The colour to paint for a TColor: system colours resolved, the default
// colour as the window text colour.
COLORREF ColorToRgb(TColor color);

class TSubColorButton : public TSpeedButton {
public:
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color);

protected:
    void PaintContent(HDC dc, const RECT& client) override;

private:
    TColor color_ = 0;
};

} // namespace brevalo::controls
