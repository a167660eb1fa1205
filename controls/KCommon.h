// Drawing routines shared by the wizard and its pages: system colours as
// colour values, the etched line and frame, and the placement of a picture
// in a rectangle.
#pragma once

#include "Colour.h"
#include "Picture.h"
#include "WizardGeometry.h"

#include <windows.h>

namespace brevalo::controls {

// A system colour as a colour value: high byte 0xFF, the colour's index in
// the low byte. Painting looks the colour up when it is used.
constexpr TColor SystemColor(int index) {
    return TColor(0xFF000000u | unsigned(index));
}

inline constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
inline constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
inline constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
inline constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
inline constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);

// The colour to paint with: system colours looked up, others as they are.
// ClNone and ClDefault have no colour of their own; callers test for them.
COLORREF ResolveColor(TColor color);

RECT ToRect(const PixelRect& r);
PixelRect ToPixelRect(const RECT& r);

// Draws the etched line or frame on the chosen edges (EtchedEdge bits) of
// `rect` in the button highlight and shadow colours; returns the rectangle
// left inside the drawn edges.
RECT EtchedLine(HDC dc, const RECT& rect, unsigned edges);

// Draws `picture` into `rect` with the given horizontal alignment and
// vertical layout: at its own size, moved right, centred or down, or
// stretched. Nothing for an empty picture.
void DrawWizardImage(HDC dc, const gui::Picture& picture, const RECT& rect,
                     TKImageAlignment alignment, TKImageLayout layout);

} // namespace brevalo::controls
