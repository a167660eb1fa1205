// A keyboard stand-in for a windowless control that reacts to clicks (a
// link, a picture that opens a menu): a child window without size that takes
// its place in the tab order, is pressed by Space and Enter as a button is,
// has the control draw a focus rectangle while it has the focus, and gives
// accessibility clients the control's name, role and place.
#pragma once

#include "GraphicControl.h"
#include "Window.h"

#include <string>

namespace brevalo::controls {

class KeyboardProxy : public gui::Window {
public:
    // Created last among the form's child windows so far, which is its place
    // in the tab order.
    KeyboardProxy(gui::GraphicControl& control, const std::string& name, long role);
    ~KeyboardProxy() override;

    bool Focused() const noexcept;
    // Draws the focus rectangle around the control while the proxy has the
    // focus; the control calls this at the end of its painting.
    void PaintFocus(HDC dc) const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Press();

    gui::GraphicControl& control_;
};

} // namespace brevalo::controls
