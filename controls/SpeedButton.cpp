#include "SpeedButton.h"

#include "Dpi.h"
#include "Handle.h"
#include "OsError.h"
#include "Strings.h"

#include <windowsx.h>

namespace brevalo::controls {

namespace {

constexpr int GlyphSpacing = 4;

// The 8 x 8 checker pattern of a button that is down.
base::Brush DownPatternBrush() {
    static const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    base::Bitmap pattern(CreateBitmap(8, 8, 1, 1, rows));
    return base::Brush(pattern ? CreatePatternBrush(pattern.Get()) : nullptr);
}

} // namespace

void TSpeedButton::Create(HWND parent, int left, int top, int width, int height) {
    CreateParams params;
    params.className = L"BrevaloSpeedButton";
    params.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    params.parent = parent;
    params.x = left;
    params.y = top;
    params.width = width;
    params.height = height;
    // No double-click class style: a quick second press is another press.
    params.classStyle = CS_HREDRAW | CS_VREDRAW;
    CreateHandle(params);
}

void TSpeedButton::SetBoundsPixels(int left, int top, int width, int height) {
    base::CheckOs(
        SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE));
}

RECT TSpeedButton::ClientPixels() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r;
}

void TSpeedButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    Repaint();
}

void TSpeedButton::SetGlyph(Glyph glyph) {
    glyph_ = std::move(glyph);
    Repaint();
}

void TSpeedButton::SetFlat(bool flat) {
    flat_ = flat;
    Repaint();
}

void TSpeedButton::SetDown(bool down) {
    if (groupIndex_ == 0)
        down = false;
    if (down == down_)
        return;
    if (down_ && !allowAllUp_)
        return;
    down_ = down;
    Repaint();
    if (down_)
        ReleaseGroup();
}

void TSpeedButton::ReleaseGroup() {
    HWND parent = GetParent(Handle());
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        auto* other = dynamic_cast<TSpeedButton*>(Window::FromHandle(child));
        if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
            other->down_ = false;
            other->Repaint();
        }
    }
}

bool TSpeedButton::Enabled() const {
    return Handle() && IsWindowEnabled(Handle());
}

void TSpeedButton::SetEnabled(bool enabled) {
    EnableWindow(Handle(), enabled);
}

void TSpeedButton::SetFocusRect(bool draw) {
    if (focusRect_ != draw) {
        focusRect_ = draw;
        Repaint();
    }
}

void TSpeedButton::SetFont(HFONT font) {
    font_ = font;
    Repaint();
}

void TSpeedButton::SetHover(bool in, bool forwarded) {
    if (!in && tracking_)
        return; // the pointer is here after all
    if (mouseIn_ != in) {
        mouseIn_ = in;
        if (flat_)
            Repaint();
    }
    const auto& handler = in ? OnMouseEnter : OnMouseLeave;
    if (handler)
        handler(*this, forwarded);
}

void TSpeedButton::ClearHover() {
    if (tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_CANCEL, Handle(), 0};
        TrackMouseEvent(&track);
        tracking_ = false;
    }
    if (mouseIn_) {
        mouseIn_ = false;
        if (flat_)
            Repaint();
    }
}

void TSpeedButton::Click() {
    if (OnClick)
        OnClick(*this);
}

void TSpeedButton::Repaint() {
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TSpeedButton::LeftDown() {
    if (!Enabled())
        return;
    if (OnMouseDown)
        OnMouseDown(*this);
    if (!Handle())
        return; // the handler destroyed the button
    if (!down_)
        pressed_ = true;
    dragging_ = true;
    SetCapture(Handle());
    Repaint();
    MouseDown();
}

void TSpeedButton::LeftUp(POINT p) {
    if (!dragging_)
        return;
    const RECT client = ClientPixels();
    const bool inside = PtInRect(&client, p) != FALSE;
    EndDrag();
    if (groupIndex_ == 0) {
        // A click may open a window that hides this button: start afresh.
        if (inside)
            ClearHover();
    } else if (inside && ClickOnRelease()) {
        SetDown(!down_);
    }
    Repaint();
    MouseUp();
    if (inside && ClickOnRelease())
        Click();
}

void TSpeedButton::EndDrag() {
    dragging_ = false;
    pressed_ = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
}

void TSpeedButton::MouseMove(POINT p) {
    if (!tracking_ && Enabled()) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        if (TrackMouseEvent(&track))
            tracking_ = true;
        // Reported even when another part has already highlighted this one,
        // so that the other part learns of it.
        const bool was = mouseIn_;
        mouseIn_ = true;
        if (!was && flat_)
            Repaint();
        if (OnMouseEnter)
            OnMouseEnter(*this, false);
    }
    if (dragging_) {
        const RECT client = ClientPixels();
        const bool pressed = !down_ && PtInRect(&client, p);
        if (pressed != pressed_) {
            pressed_ = pressed;
            Repaint();
        }
    }
}

void TSpeedButton::MouseLeft() {
    tracking_ = false;
    if (!mouseIn_)
        return;
    if (StayHighlighted && StayHighlighted())
        return;
    SetHover(false, false);
}

void TSpeedButton::PaintTo(HDC dc) {
    RECT client = ClientPixels();
    const int width = client.right, height = client.bottom;
    const bool enabled = Enabled();
    const bool sunken = Sunken();

    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT face = client;
    if (!flat_) {
        DrawEdge(dc, &face, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    } else if (sunken) {
        DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (mouseIn_ && enabled) {
        DrawEdge(dc, &face, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
    if (down_ && !pressed_ && (!flat_ || !mouseIn_)) {
        base::Brush pattern = DownPatternBrush();
        const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
        const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        if (pattern)
            FillRect(dc, &face, pattern.Get());
        SetBkColor(dc, oldBack);
        SetTextColor(dc, oldText);
    }

    // The picture and the caption side by side, centred together.
    const int shift = sunken ? 1 : 0;
    const int glyphWidth = glyph_.Empty() ? 0 : Scale(glyph_.Width());
    const int glyphHeight = glyph_.Empty() ? 0 : Scale(glyph_.Height());
    const std::wstring text = base::Widen(caption_);
    HFONT font = font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    base::SelectObjectScope selectFont(dc, font);
    SIZE textSize{};
    if (!text.empty())
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &textSize);
    const int spacing = glyphWidth && textSize.cx ? GlyphSpacing : 0;
    const int total = glyphWidth + spacing + textSize.cx;
    int x = (width - total + 1) / 2 + shift;
    if (glyphWidth) {
        glyph_.Draw(dc, x, (height - glyphHeight + 1) / 2 + shift, glyphWidth, glyphHeight,
                    enabled);
        x += glyphWidth + spacing;
    }
    if (!text.empty()) {
        SetBkMode(dc, TRANSPARENT);
        RECT r{x, shift, x + textSize.cx, height + shift};
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;
        if (enabled) {
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextW(dc, text.c_str(), int(text.size()), &r, format);
        } else {
            RECT light = r;
            OffsetRect(&light, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextW(dc, text.c_str(), int(text.size()), &light, format);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
            DrawTextW(dc, text.c_str(), int(text.size()), &r, format);
        }
    }
    PaintContent(dc, client);
}

void TSpeedButton::PaintContent(HDC, const RECT&) {}

void TSpeedButton::PaintMessage() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    const RECT client = ClientPixels();
    // Drawn off screen and copied in one go: no flicker.
    base::MemoryDc memory(CreateCompatibleDC(dc));
    base::Bitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (memory && bitmap) {
        base::SelectObjectScope select(memory.Get(), bitmap.Get());
        PaintTo(memory.Get());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    } else {
        PaintTo(dc);
    }
    EndPaint(Handle(), &ps);
}

LRESULT TSpeedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintMessage();
        return 0;
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        LeftDown();
        return 0;
    case WM_LBUTTONUP:
        LeftUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSELEAVE:
        MouseLeft();
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press: the press ends without a click.
        if (dragging_ && reinterpret_cast<HWND>(lParam) != Handle()) {
            dragging_ = false;
            pressed_ = false;
            Repaint();
            MouseUp();
        }
        return 0;
    case WM_ENABLE:
        if (!wParam) {
            if (dragging_)
                EndDrag();
            ClearHover();
        }
        Repaint();
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace brevalo::controls
