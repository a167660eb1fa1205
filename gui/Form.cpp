#include "Form.h"

#include "Application.h"
#include "Dpi.h"
#include "GraphicControl.h"
#include "Handle.h"
#include "Mnemonic.h"
#include "OsError.h"

#include <windowsx.h>

#include <utility>

namespace brevalo::gui {

void Form::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

void Form::Show(int command) {
    ShowWindow(Handle(), command);
}

void Form::Close() {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void Form::Invalidate() {
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void Form::SetBounds(int x, int y, int width, int height) {
    SetBoundsPixels(Scale(x), Scale(y), Scale(width), Scale(height));
}

void Form::SetBoundsPixels(int x, int y, int width, int height) {
    base::CheckOs(SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE));
}

RECT Form::BoundsPixels() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    return r;
}

void Form::CenterOn(HWND other) {
    RECT otherRect{};
    if (!other || !GetWindowRect(other, &otherRect))
        return;
    const RECT own = BoundsPixels();
    const int width = own.right - own.left, height = own.bottom - own.top;
    SetBoundsPixels((otherRect.left + otherRect.right - width) / 2,
                    (otherRect.top + otherRect.bottom - height) / 2, width, height);
}

RECT Form::ClientRectPixels() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r;
}

void Form::AddGraphic(GraphicControl* control) {
    graphics_.push_back(control);
}

GraphicControl* Form::GraphicAt(POINT p) const {
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        const RECT r = (*it)->Bounds();
        if ((*it)->Visible() && PtInRect(&r, p))
            return *it;
    }
    return nullptr;
}

HWND Form::MnemonicTarget(wchar_t typed) const {
    for (GraphicControl* control : graphics_)
        if (control->Visible() && control->FocusControl() &&
            IsMnemonicKey(control->Mnemonic(), typed))
            return control->FocusControl();
    return nullptr;
}

bool Form::PreTranslateMessage(MSG& msg) {
    if (keyPreview_ && msg.hwnd != Handle()) {
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
            KeyDown(WORD(msg.wParam)))
            return true;
        if ((msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && KeyUp(WORD(msg.wParam)))
            return true;
    }
    return false;
}

void Form::Paint(HDC dc, const RECT& clip) {
    base::Brush background(CreateSolidBrush(color_));
    FillRect(dc, &clip, background.Get());
    for (GraphicControl* control : graphics_) {
        RECT r = control->Bounds(), overlap;
        if (control->Visible() && IntersectRect(&overlap, &r, &clip))
            control->Paint(dc);
    }
}

void Form::PaintMessage() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    const RECT clip = ps.rcPaint;
    const int width = clip.right - clip.left, height = clip.bottom - clip.top;
    // A top-level form that has just become visible has nothing of itself
    // on the screen that could flicker: its first paint draws straight onto
    // the window and makes no full-size bitmap that would be kept for the
    // small repaints after it.
    const bool firstSinceShown = std::exchange(unpaintedSinceShown_, false);
    if (doubleBuffered_ && width > 0 && height > 0 && !firstSinceShown) {
        // Draw into a memory bitmap and copy it in one go: no flicker.
        if (HDC memory = BackBuffer(dc, width, height)) {
            SetViewportOrgEx(memory, -clip.left, -clip.top, nullptr);
            Paint(memory, clip);
            SetViewportOrgEx(memory, 0, 0, nullptr);
            BitBlt(dc, clip.left, clip.top, width, height, memory, 0, 0, SRCCOPY);
            EndPaint(Handle(), &ps);
            return;
        }
    }
    Paint(dc, clip);
    EndPaint(Handle(), &ps);
}

HDC Form::BackBuffer(HDC dc, int width, int height) {
    // Kept from paint to paint: a counting timer repaints its digits every
    // second, and making the pair each time costs more than the drawing. It
    // is made again for a larger area, or one much smaller (after a full
    // repaint), so that it stays the size of what is usually painted.
    const long long area = (long long)width * height;
    if (backDc_ && backBitmap_ && backSize_.cx >= width && backSize_.cy >= height &&
        (long long)backSize_.cx * backSize_.cy <= 2 * area)
        return backDc_.Get();
    DropBackBuffer();
    base::MemoryDc memory(CreateCompatibleDC(dc));
    base::Bitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap)
        return nullptr;
    // Stays selected until the DC goes (the DC is released first).
    SelectObject(memory.Get(), bitmap.Get());
    backBitmap_ = std::move(bitmap);
    backDc_ = std::move(memory);
    backSize_ = {width, height};
    return backDc_.Get();
}

void Form::DropBackBuffer() noexcept {
    backDc_.Reset();
    backBitmap_.Reset();
    backSize_ = {};
}

void Form::RescaleGraphics(UINT oldDpi, UINT newDpi) {
    for (GraphicControl* control : graphics_)
        control->RescaleForDpi(oldDpi, newDpi);
}

namespace {

struct ChildBounds {
    HWND hwnd;
    RECT bounds; // in the parent's client coordinates
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM data) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    reinterpret_cast<std::vector<ChildBounds>*>(data)->push_back({hwnd, r});
    return TRUE;
}

} // namespace

void Form::RescaleForDpi(UINT oldDpi, UINT newDpi, DpiFonts& fonts) {
    // All bounds are taken before anything moves, so that a control that
    // lays out its own children when its size changes does not have them
    // rescaled twice: the rescaled bounds agree with its own layout.
    std::vector<ChildBounds> children;
    EnumChildWindows(Handle(), &CollectChild, reinterpret_cast<LPARAM>(&children));
    RescaleGraphics(oldDpi, newDpi);
    for (const ChildBounds& child : children)
        if (auto* form = dynamic_cast<Form*>(Window::FromHandle(child.hwnd)))
            form->RescaleGraphics(oldDpi, newDpi);
    for (const ChildBounds& child : children) {
        if (!IsWindow(child.hwnd))
            continue;
        const auto font = reinterpret_cast<HFONT>(SendMessageW(child.hwnd, WM_GETFONT, 0, 0));
        if (font)
            SendMessageW(child.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Successor(font)),
                         FALSE);
        const RECT r = RescaleRect(child.bounds, oldDpi, newDpi);
        SetWindowPos(child.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form::ChangeDpi(UINT newDpi, const RECT& suggested) {
    const UINT oldDpi = Dpi();
    if (newDpi && newDpi != oldDpi) {
        RecordWindowDpi(Handle(), newDpi);
        DpiFonts fonts(oldDpi, newDpi);
        RescaleForDpi(oldDpi, newDpi, fonts);
        // The copies of the previous change are no longer in use.
        dpiFonts_ = fonts.TakeCreated();
    }
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintMessage();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (KeyDown(WORD(wParam)))
            return 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (KeyUp(WORD(wParam)))
            return 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_RBUTTONUP: {
        const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        GraphicControl* target = GraphicAt(p);
        if (message == WM_LBUTTONDOWN) {
            mouseCapture_ = target;
        } else if (message == WM_LBUTTONUP) {
            GraphicControl* pressed = std::exchange(mouseCapture_, nullptr);
            if (target && target == pressed && target->OnClick)
                target->OnClick(*target);
        } else if (message == WM_MOUSEMOVE && target && target->OnMouseMove) {
            target->OnMouseMove(*target, p);
        }
        break;
    }
    case WM_UPDATEUISTATE:
        // Labels show or hide their mnemonics with the keyboard cues.
        Invalidate();
        break;
    case WM_DISPLAYCHANGE:
        // A bitmap made for the old colour depth.
        DropBackBuffer();
        break;
    case WM_SHOWWINDOW:
        // Only shown forms keep one: a wizard's hidden pages hold none.
        if (!wParam)
            DropBackBuffer();
        else if (!(GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD))
            unpaintedSinceShown_ = true;
        break;
    case WM_DPICHANGED:
        ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        if (Application::Instance().MainWindow() == this)
            PostQuitMessage(0);
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace brevalo::gui
