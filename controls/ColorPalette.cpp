#include "ColorPalette.h"

#include "Accessible.h"
#include "Dpi.h"
#include "OsError.h"

#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>

namespace brevalo::controls {

namespace {

constexpr int PaletteGroup = 1;
constexpr DWORD BaseStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD DockedStyle = BaseStyle | WS_DLGFRAME;
constexpr DWORD FloatingStyle = BaseStyle | WS_CAPTION | WS_SYSMENU;
constexpr DWORD FrameBits = WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_BORDER;

RECT Scaled(const PixelRect& r, UINT dpi) {
    return RECT{gui::ScaleToDpi(r.left, dpi), gui::ScaleToDpi(r.top, dpi),
                gui::ScaleToDpi(r.right, dpi), gui::ScaleToDpi(r.bottom, dpi)};
}

void Place(TSpeedButton& button, const RECT& r) {
    button.SetBoundsPixels(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

void TColorPalette::Create(HWND owner, const std::string& caption) {
    CreateParams params;
    params.className = L"BrevaloColorPalette";
    params.caption = L"";
    params.style = FloatingStyle;
    params.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.parent = owner;
    params.x = 0;
    params.y = 0;
    params.width = 100;
    params.height = 100;
    params.classStyle = 0;
    CreateHandle(params);
    SetText(caption);

    automatic_.Create(Handle(), 0, 0, 1, 1);
    automatic_.SetColor(ClDefault);
    automatic_.OnClick = [this](TSpeedButton&) {
        if (OnPick)
            OnPick(AutomaticIndex);
    };
    for (int i = 0; i < PaletteCellCount; ++i) {
        TSubColorButton& cell = cells_[std::size_t(i)];
        cell.Create(Handle(), 0, 0, 1, 1);
        cell.SetColor(PaletteColors[std::size_t(i)]);
        cell.OnClick = [this, i](TSpeedButton&) {
            if (OnPick)
                OnPick(i);
        };
    }
    other_.Create(Handle(), 0, 0, 1, 1);
    other_.OnClick = [this](TSpeedButton&) {
        if (OnPick)
            OnPick(OtherIndex);
    };
    // "Automatic" and the cells form one group in which at most one is down.
    ForEachButton([](TSpeedButton& button) {
        if (dynamic_cast<TSubColorButton*>(&button)) {
            button.SetGroupIndex(PaletteGroup);
            button.SetAllowAllUp(true);
        }
    });
    automatic_.SetDown(true);

    gui::AccessibleInfo info;
    info.name = [this] { return Text(); };
    info.role = ROLE_SYSTEM_LIST;
    info.value = [this] { return ItemText ? ItemText(keyIndex_) : std::string(); };
    gui::SetAccessible(Handle(), std::move(info));
}

TSpeedButton& TColorPalette::Button(int index) {
    if (index == AutomaticIndex)
        return automatic_;
    if (index == OtherIndex)
        return other_;
    return cells_.at(std::size_t(index));
}

void TColorPalette::SetKeyIndex(int index) {
    index = std::clamp(index, int(AutomaticIndex), int(OtherIndex));
    Button(keyIndex_).ClearHover();
    keyIndex_ = index;
    Button(keyIndex_).SetHover(true, true);
    gui::NotifyAccessibleChange(Handle(), EVENT_OBJECT_VALUECHANGE);
}

bool TColorPalette::KeyDown(WPARAM key) {
    // "Automatic" above the grid of 8 columns, "Other Colors..." below it.
    const int columns = 8, lastRow = PaletteCellCount - columns;
    const int i = keyIndex_;
    switch (key) {
    case VK_LEFT:
        SetKeyIndex(i - 1);
        return true;
    case VK_RIGHT:
        SetKeyIndex(i + 1);
        return true;
    case VK_UP:
        SetKeyIndex(i == OtherIndex ? lastRow : i < columns ? AutomaticIndex : i - columns);
        return true;
    case VK_DOWN:
        SetKeyIndex(i == AutomaticIndex ? 0 : i >= lastRow ? OtherIndex : i + columns);
        return true;
    case VK_RETURN:
    case VK_SPACE:
        if (OnPick)
            OnPick(keyIndex_);
        return true;
    case VK_ESCAPE:
        Hide();
        return true;
    }
    return false;
}

void TColorPalette::ForEachButton(const std::function<void(TSpeedButton&)>& f) {
    f(automatic_);
    for (TSubColorButton& cell : cells_)
        f(cell);
    f(other_);
}

bool TColorPalette::Showing() const {
    return Handle() && IsWindowVisible(Handle());
}

void TColorPalette::SetMetrics(const PaletteMetrics& metrics, UINT dpi) {
    metrics_ = metrics;
    dpi_ = dpi;
}

void TColorPalette::Layout(bool withDragBar) {
    const PaletteLayout layout = LayoutPalette(metrics_, withDragBar);
    RECT frame{0, 0, gui::ScaleToDpi(layout.clientWidth, dpi_),
               gui::ScaleToDpi(layout.clientHeight, dpi_)};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(Handle(), GWL_EXSTYLE)));
    base::CheckOs(SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left,
                              frame.bottom - frame.top,
                              SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    dragBar_ = withDragBar ? Scaled(layout.dragBar, dpi_) : RECT{};
    Place(automatic_, Scaled(layout.automatic, dpi_));
    for (int i = 0; i < PaletteCellCount; ++i)
        Place(cells_[std::size_t(i)], Scaled(layout.cells[std::size_t(i)], dpi_));
    Place(other_, Scaled(layout.other, dpi_));
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TColorPalette::ApplyStyle(bool withCaption) {
    const DWORD style = DWORD(GetWindowLongW(Handle(), GWL_STYLE));
    const DWORD wanted = withCaption ? FloatingStyle : DockedStyle;
    SetWindowLongW(Handle(), GWL_STYLE, LONG((style & ~FrameBits) | (wanted & FrameBits)));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TColorPalette::Dock() {
    ApplyStyle(false);
    floating_ = false;
}

void TColorPalette::MakeFloating() {
    ApplyStyle(true);
    floating_ = true;
    SetDragBarHot(false);
    Layout(false);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    if (OnFloat)
        OnFloat();
}

void TColorPalette::ShowAt(int x, int y) {
    base::CheckOs(SetWindowPos(Handle(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW));
    SetForegroundWindow(Handle());
    SetFocus(Handle());
    // The keyboard starts on the chosen colour's button, if it has one.
    int down = AutomaticIndex;
    for (int i = 0; i < PaletteCellCount; ++i)
        if (cells_[std::size_t(i)].Down())
            down = i;
    SetKeyIndex(down);
}

void TColorPalette::Hide() {
    if (Showing())
        ShowWindow(Handle(), SW_HIDE);
}

void TColorPalette::SetDragBarHot(bool hot) {
    if (dragBarHot_ == hot)
        return;
    dragBarHot_ = hot;
    if (hot && !trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    InvalidateRect(Handle(), &dragBar_, FALSE);
}

void TColorPalette::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!floating_ && !IsRectEmpty(&dragBar_))
        FillRect(dc, &dragBar_,
                 GetSysColorBrush(dragBarHot_ ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    EndPaint(Handle(), &ps);
}

LRESULT TColorPalette::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST: {
        const LRESULT hit = DefaultHandler(message, wParam, lParam);
        if (hit == HTCLIENT && !floating_ && !IsRectEmpty(&dragBar_)) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(Handle(), &p);
            // Pressing the drag bar drags the window, as a title bar does.
            if (PtInRect(&dragBar_, p))
                return HTCAPTION;
        }
        return hit;
    }
    case WM_SYSCOMMAND:
        // The move that dragging the bar starts tears the palette off.
        if (!floating_ && (wParam & 0xFFF0) == SC_MOVE && !IsRectEmpty(&dragBar_))
            MakeFloating();
        break;
    case WM_NCMOUSEMOVE:
        SetDragBarHot(!floating_ && wParam == HTCAPTION);
        break;
    case WM_MOUSEMOVE:
        SetDragBarHot(false);
        break;
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        SetDragBarHot(false);
        break;
    case WM_ACTIVATE:
        // Docked, the palette goes away as soon as the user turns elsewhere.
        if (LOWORD(wParam) == WA_INACTIVE && !floating_)
            Hide();
        break;
    case WM_CLOSE:
        Hide();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (KeyDown(wParam))
            return 0;
        break;
    case WM_WINDOWPOSCHANGED:
        if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) {
            SetDragBarHot(false);
            if (OnHidden)
                OnHidden();
        }
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace brevalo::controls
