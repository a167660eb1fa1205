// A flat or raised push button that never takes the keyboard focus: a
// picture and a caption side by side, exclusive groups of buttons that stay
// down, hover highlighting in the flat style. The colour button and the spin
// button are made of these.
#pragma once

#include "Glyph.h"
#include "Window.h"

#include <functional>
#include <string>

namespace brevalo::controls {

class TSpeedButton : public gui::Window {
public:
    TSpeedButton() = default;

    // Creates the button as a child of `parent`; bounds in device pixels of
    // the parent's client area.
    void Create(HWND parent, int left, int top, int width, int height);
    void SetBoundsPixels(int left, int top, int width, int height);
    RECT ClientPixels() const;

    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(const std::string& caption);

    const Glyph& GetGlyph() const noexcept { return glyph_; }
    void SetGlyph(Glyph glyph);

    bool Flat() const noexcept { return flat_; }
    void SetFlat(bool flat);

    // Buttons of the same parent window with the same non-zero group index
    // form an exclusive group: at most one of them is down.
    int GroupIndex() const noexcept { return groupIndex_; }
    void SetGroupIndex(int index) noexcept { groupIndex_ = index; }
    // Whether the down button of a group may go up by itself.
    bool AllowAllUp() const noexcept { return allowAllUp_; }
    void SetAllowAllUp(bool allow) noexcept { allowAllUp_ = allow; }
    bool Down() const noexcept { return down_; }
    void SetDown(bool down);

    bool Enabled() const;
    void SetEnabled(bool enabled);

    // The button stands for a control that has the keyboard focus: it draws
    // a focus rectangle (where, each kind of button decides in PaintContent).
    bool FocusRect() const noexcept { return focusRect_; }
    void SetFocusRect(bool draw);

    // The caption's font (not owned); the default GUI font when null.
    void SetFont(HFONT font);

    // Pressed: the left button went down on it and the pointer is over it.
    bool Pressed() const noexcept { return pressed_; }
    // Highlighted because the pointer is over it (or another part said so).
    bool MouseInControl() const noexcept { return mouseIn_; }

    // The pointer entered or left, as reported by another part: `forwarded`
    // marks the report so that it is not passed back. A report that the
    // pointer left is ignored while the pointer really is over the button.
    void SetHover(bool in, bool forwarded);
    // Drops the highlight whatever the pointer does.
    void ClearHover();

    // Raises OnClick.
    virtual void Click();

    std::function<void(TSpeedButton&)> OnClick;
    std::function<void(TSpeedButton&)> OnMouseDown;
    std::function<void(TSpeedButton&, bool forwarded)> OnMouseEnter;
    std::function<void(TSpeedButton&, bool forwarded)> OnMouseLeave;
    // Asked when the pointer leaves: true keeps the highlight.
    std::function<bool()> StayHighlighted;

    // Paints the whole button into a device context.
    void PaintTo(HDC dc);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Extra marks drawn after the face, the frame, the picture and the
    // caption.
    virtual void PaintContent(HDC dc, const RECT& client);
    // Called after a left press has been taken (the button pressed and the
    // mouse captured) and after its release.
    virtual void MouseDown() {}
    virtual void MouseUp() {}
    // Whether the release of a press clicks the button.
    virtual bool ClickOnRelease() const { return true; }
    // Pressed or down: the content moves by a pixel.
    bool Sunken() const noexcept { return pressed_ || down_; }
    void Repaint();

private:
    void PaintMessage();
    void LeftDown();
    void LeftUp(POINT p);
    void MouseMove(POINT p);
    void MouseLeft();
    void EndDrag();
    void ReleaseGroup();

    std::string caption_;
    Glyph glyph_;
    HFONT font_ = nullptr;
    bool flat_ = false;
    bool focusRect_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool pressed_ = false;
    bool dragging_ = false;
    bool mouseIn_ = false;
    bool tracking_ = false;
};

} // namespace brevalo::controls
