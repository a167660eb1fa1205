// A top-level window: caption, bounds, background colour, double-buffered
// painting of its windowless controls, key preview, and the end of the
// message loop when it is the application's main window.
#pragma once

#include "DpiFonts.h"
#include "Handle.h"
#include "Window.h"

#include <functional>
#include <vector>

namespace brevalo::gui {

class GraphicControl;

class Form : public Window {
public:
    // Colour as 0x00BBGGRR.
    COLORREF Color() const noexcept { return color_; }
    void SetColor(COLORREF color);

    void Show(int command = SW_SHOW);
    // Asks the window to close, as the close box does.
    void Close();
    void Invalidate();

    // Bounds in pixels at 96 DPI, scaled to the window's DPI.
    void SetBounds(int x, int y, int width, int height);
    // Bounds in device pixels.
    void SetBoundsPixels(int x, int y, int width, int height);
    RECT BoundsPixels() const;
    // Moves the window so that its centre is that of `other` (size kept);
    // nothing happens without that window.
    void CenterOn(HWND other);
    RECT ClientRectPixels() const;

    bool DoubleBuffered() const noexcept { return doubleBuffered_; }
    void SetDoubleBuffered(bool on) noexcept { doubleBuffered_ = on; }

    // With key preview the form's key handlers see every key first.
    bool KeyPreview() const noexcept { return keyPreview_; }
    void SetKeyPreview(bool on) noexcept { keyPreview_ = on; }

    // The windowless controls painted by this form, in painting order.
    void AddGraphic(GraphicControl* control);
    GraphicControl* GraphicAt(POINT clientPoint) const;
    // The window that the visible label with this mnemonic stands for, or
    // null when no label of this form has it.
    HWND MnemonicTarget(wchar_t typed) const;
    // The windowless controls, in painting order.
    const std::vector<GraphicControl*>& Graphics() const noexcept { return graphics_; }

    bool PreTranslateMessage(MSG& msg) override;

    // Rescales the windowless controls from oldDpi to newDpi.
    void RescaleGraphics(UINT oldDpi, UINT newDpi);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The window's DPI changed (WM_DPICHANGED) from oldDpi to newDpi, and
    // the window already answers the new one; it is resized afterwards to
    // the rectangle the system suggests. Rescales the bounds and fonts of
    // all child windows, and the windowless controls of this form and of the
    // forms inside it. A form that owns fonts maps them to their successors
    // in `fonts` before calling this; other fonts get rescaled copies.
    virtual void RescaleForDpi(UINT oldDpi, UINT newDpi, DpiFonts& fonts);

    // Key events; true when the key has been handled.
    virtual bool KeyDown(WORD key) {
        (void)key;
        return false;
    }
    virtual bool KeyUp(WORD key) {
        (void)key;
        return false;
    }
    // Paints the background and the controls.
    virtual void Paint(HDC dc, const RECT& clip);

private:
    void PaintMessage();
    // The memory DC with a bitmap of at least width x height that paints are
    // drawn into, kept between paints; null when it cannot be made.
    HDC BackBuffer(HDC dc, int width, int height);
    void DropBackBuffer() noexcept;
    void ChangeDpi(UINT newDpi, const RECT& suggested);
    // The rescaled copies of fonts made by the last change of DPI.
    std::vector<base::Font> dpiFonts_;
    COLORREF color_ = GetSysColor(COLOR_BTNFACE);
    bool doubleBuffered_ = false;
    base::Bitmap backBitmap_; // declared first: outlives the DC it is selected into
    base::MemoryDc backDc_;
    SIZE backSize_{};
    // Set when a top-level form is shown, cleared by the paint after it.
    bool unpaintedSinceShown_ = false;
    bool keyPreview_ = false;
    std::vector<GraphicControl*> graphics_;
    GraphicControl* mouseCapture_ = nullptr;
};

} // namespace brevalo::gui
