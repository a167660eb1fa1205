#include "TitleBar.h"

#include "Form.h"
#include "OsError.h"

namespace brevalo {

namespace {

bool HasWholeCaption(DWORD style) noexcept {
    return (style & WS_CAPTION) == WS_CAPTION;
}

DWORD ReadStyle(HWND hwnd) noexcept {
    return DWORD(GetWindowLongW(hwnd, GWL_STYLE));
}

void WriteStyle(HWND hwnd, DWORD style) {
    // 0 is also a valid previous style: only a set last error means failure.
    SetLastError(0);
    if (!SetWindowLongW(hwnd, GWL_STYLE, LONG(style)) && GetLastError() != 0)
        base::RaiseLastOsError();
}

// Gives the window a new outer height, keeping left, top and width, lets it
// recompute its frame for the new style, and repaints it.
void ResizeAndRepaint(HWND hwnd, int height) {
    RECT bounds{};
    base::CheckOs(GetWindowRect(hwnd, &bounds));
    base::CheckOs(SetWindowPos(hwnd, nullptr, 0, 0, bounds.right - bounds.left, height,
                              SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED));
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int OuterHeight(HWND hwnd) {
    RECT bounds{};
    base::CheckOs(GetWindowRect(hwnd, &bounds));
    return bounds.bottom - bounds.top;
}

} // namespace

TFormBorderStyle BorderStyleOf(DWORD style, DWORD exStyle) noexcept {
    const bool sizing = (style & WS_THICKFRAME) != 0;
    if (exStyle & WS_EX_TOOLWINDOW)
        return sizing ? bsSizeToolWin : bsToolWindow;
    if (sizing)
        return bsSizeable;
    if ((style & DS_MODALFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        return bsDialog;
    if (style & WS_BORDER)
        return bsSingle;
    // A dialog frame alone (WS_DLGFRAME without WS_BORDER) is a dialog border.
    if (style & WS_DLGFRAME)
        return bsDialog;
    return bsNone;
}

TFormBorderStyle BorderStyleOf(HWND hwnd) noexcept {
    return BorderStyleOf(ReadStyle(hwnd), DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE)));
}

HWND TTitlebar::OwnerWindow() const noexcept {
    HWND hwnd = form_ ? form_->Handle() : hwnd_;
    // Only a top-level window has a caption bar of its own to manage.
    if (!hwnd || !IsWindow(hwnd) || (ReadStyle(hwnd) & WS_CHILD))
        return nullptr;
    return hwnd;
}

void TTitlebar::SetVisible(bool visible) {
    if (HWND hwnd = OwnerWindow()) {
        if (visible)
            ShowCaption(hwnd);
        else
            HideCaption(hwnd);
    }
    visible_ = visible;
}

void TTitlebar::HideCaption(HWND hwnd) const {
    const TFormBorderStyle border = BorderStyleOf(hwnd);
    if (border == bsNone || border == bsToolWindow || border == bsSizeToolWin)
        return;
    DWORD style = ReadStyle(hwnd);
    if (!HasWholeCaption(style))
        return;
    style &= ~DWORD(WS_CAPTION);
    if (border == bsDialog)
        style |= WS_DLGFRAME | DS_MODALFRAME; // the dialog frame stays
    else
        style |= WS_BORDER; // a thin frame stays
    WriteStyle(hwnd, style);

    // A caption that came back while the value said hidden was put there by
    // something else (leaving full screen): the window is first given the
    // screen's height.
    const int height = visible_ ? OuterHeight(hwnd) : GetSystemMetrics(SM_CYSCREEN);
    ResizeAndRepaint(hwnd, height - GetSystemMetrics(SM_CYCAPTION));
}

void TTitlebar::ShowCaption(HWND hwnd) const {
    if (visible_)
        return;
    // Tool windows keep their caption whatever the value says, so there is
    // nothing to restore and no height to add.
    const TFormBorderStyle border = BorderStyleOf(hwnd);
    if (border == bsNone || border == bsToolWindow || border == bsSizeToolWin)
        return;
    DWORD style = ReadStyle(hwnd);
    if (HasWholeCaption(style))
        return;
    style |= WS_CAPTION;
    if (border == bsDialog)
        style |= DS_MODALFRAME;
    WriteStyle(hwnd, style);
    ResizeAndRepaint(hwnd, OuterHeight(hwnd) + GetSystemMetrics(SM_CYCAPTION));
}

} // namespace brevalo
