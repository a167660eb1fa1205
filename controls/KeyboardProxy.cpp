#include "KeyboardProxy.h"

#include "Accessible.h"
#include "Form.h"

namespace brevalo::controls {

KeyboardProxy::KeyboardProxy(gui::GraphicControl& control, const std::string& name, long role)
    : control_(control) {
    CreateParams params;
    params.className = L"BrevaloKeyboardProxy";
    params.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    params.parent = control.Parent().Handle();
    params.x = params.y = params.width = params.height = 0;
    params.classStyle = 0;
    CreateHandle(params);

    gui::AccessibleInfo info;
    info.name = [name] { return name; };
    info.role = role;
    info.location = [this] {
        RECT r = control_.Bounds();
        MapWindowPoints(control_.Parent().Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    gui::SetAccessible(Handle(), std::move(info));
}

KeyboardProxy::~KeyboardProxy() = default;

bool KeyboardProxy::Focused() const noexcept {
    return Handle() && GetFocus() == Handle();
}

void KeyboardProxy::PaintFocus(HDC dc) const {
    if (!Focused() || !control_.Visible())
        return;
    RECT r = control_.Bounds();
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &r);
}

void KeyboardProxy::Press() {
    if (control_.Visible() && control_.OnClick)
        control_.OnClick(control_);
}

LRESULT KeyboardProxy::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        // A button that is not the default one: Enter presses it.
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        control_.Invalidate();
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            Press();
            return 0;
        }
        break;
    case BM_CLICK:
        Press();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        EndPaint(Handle(), &ps);
        return 0;
    }
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace brevalo::controls
