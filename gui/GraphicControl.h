// Windowless controls painted by their form (as labels are): they have
// bounds in the form's client area, visibility and mouse events, and are
// drawn in the form's (double-buffered) paint pass, so they can be
// transparent.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace brevalo::gui {

class Form;

class GraphicControl {
public:
    explicit GraphicControl(Form& parent);
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;
    virtual ~GraphicControl() = default;

    Form& Parent() const noexcept { return parent_; }

    // Bounds in device pixels of the form's client area.
    RECT Bounds() const noexcept { return bounds_; }
    int Left() const noexcept { return bounds_.left; }
    int Top() const noexcept { return bounds_.top; }
    int Width() const noexcept { return bounds_.right - bounds_.left; }
    int Height() const noexcept { return bounds_.bottom - bounds_.top; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }

    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);

    void Invalidate() const;
    virtual void Paint(HDC dc) = 0;

    // The window this control is the label of: the mnemonic in the label's
    // text moves the focus there. Null for a control that labels nothing.
    HWND FocusControl() const noexcept { return focusControl_; }
    virtual void SetFocusControl(HWND control);
    // The mnemonic that moves the focus to FocusControl (upper case), or 0.
    virtual wchar_t Mnemonic() const { return 0; }
    // The text a screen reader reads for the control; empty for pictures.
    virtual std::string AccessibleText() const { return {}; }

    // The form's DPI changed from oldDpi to newDpi (the form already answers
    // the new one): the bounds are rescaled; controls with fonts remake them.
    virtual void RescaleForDpi(UINT oldDpi, UINT newDpi);

    std::function<void(GraphicControl&)> OnClick;
    std::function<void(GraphicControl&, POINT)> OnMouseMove;

private:
    Form& parent_;
    RECT bounds_{};
    bool visible_ = true;
    HWND focusControl_ = nullptr;
};

// The DrawText flags for a text with mnemonic marks: the marks are taken as
// such, and hidden while the window's keyboard cues are.
UINT MnemonicDrawFlags(HWND window);

} // namespace brevalo::gui
