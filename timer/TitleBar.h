// A non-visual component that removes or restores the caption bar of its
// owner window at run time, without recreating the window and without
// changing its kind of border. The window's outer height shrinks or grows by
// the caption height (SM_CYCAPTION), so the client area keeps its height;
// left, top and width never change.
#pragma once

#include <windows.h>

namespace brevalo {

namespace gui {
class Form;
}

// The kinds of border a top-level window can have.
enum TFormBorderStyle : int {
    bsNone,        // no frame
    bsSingle,      // thin frame, fixed size
    bsSizeable,    // sizing frame
    bsDialog,      // dialog frame (DS_MODALFRAME or WS_EX_DLGMODALFRAME)
    bsToolWindow,  // WS_EX_TOOLWINDOW, fixed size
    bsSizeToolWin, // WS_EX_TOOLWINDOW with a sizing frame
};

// The kind of border told by a window's style bits. It stays the same when
// the caption is removed the way TTitlebar does it (a thin frame or the
// dialog frame is left in place).
TFormBorderStyle BorderStyleOf(DWORD style, DWORD exStyle) noexcept;
TFormBorderStyle BorderStyleOf(HWND hwnd) noexcept;

class TTitlebar {
public:
    // The owner's window is looked up at each change, so the component may
    // be created before its form's window exists.
    explicit TTitlebar(gui::Form* owner = nullptr) noexcept : form_(owner) {}
    explicit TTitlebar(HWND owner) noexcept : hwnd_(owner) {}
    TTitlebar(const TTitlebar&) = delete;
    TTitlebar& operator=(const TTitlebar&) = delete;

    // Whether the owner's caption bar is meant to be shown (true at creation).
    bool Visible() const noexcept { return visible_; }
    // Hides or shows the owner's caption, then stores the value. Without an
    // owner window (none given, not created yet, or a child window) only the
    // value is stored.
    void SetVisible(bool visible);

    // The owner window, or null when there is none that qualifies.
    HWND OwnerWindow() const noexcept;

private:
    void HideCaption(HWND hwnd) const;
    void ShowCaption(HWND hwnd) const;

    gui::Form* form_ = nullptr;
    HWND hwnd_ = nullptr;
    bool visible_ = true;
};

} // namespace brevalo
