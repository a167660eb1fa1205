#include "GraphicControl.h"

#include "DpiFonts.h"
#include "Form.h"

namespace brevalo::gui {

GraphicControl::GraphicControl(Form& parent) : parent_(parent) {
    parent.AddGraphic(this);
}

void GraphicControl::SetBounds(int left, int top, int width, int height) {
    const RECT bounds{left, top, left + width, top + height};
    if (EqualRect(&bounds, &bounds_))
        return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void GraphicControl::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    Invalidate();
}

void GraphicControl::RescaleForDpi(UINT oldDpi, UINT newDpi) {
    const RECT r = RescaleRect(bounds_, oldDpi, newDpi);
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void GraphicControl::SetFocusControl(HWND control) {
    focusControl_ = control;
    Invalidate();
}

UINT MnemonicDrawFlags(HWND window) {
    const HWND root = GetAncestor(window, GA_ROOT);
    const LRESULT state = root ? SendMessageW(root, WM_QUERYUISTATE, 0, 0) : 0;
    return (state & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
}

void GraphicControl::Invalidate() const {
    if (HWND hwnd = parent_.Handle())
        InvalidateRect(hwnd, &bounds_, FALSE);
}

} // namespace brevalo::gui
