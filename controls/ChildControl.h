// Standard system controls (buttons, check boxes, ...) as child windows of
// our windows. The control finds its object again from its window handle, so
// a parent passes the notifications it receives (WM_COMMAND, WM_CTLCOLOR*)
// back to the control that sent them with Reflect.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace brevalo::controls {

// The module a window was created with: for our windows and their controls
// the program's own, which holds their resources.
inline HINSTANCE WindowInstance(HWND hwnd) noexcept {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
}

class ChildControl {
public:
    // Creates the control (WS_CHILD is added) at `bounds` in device pixels
    // of the parent's client area; throws OsError.
    ChildControl(HWND parent, const wchar_t* className, const std::string& text, DWORD style,
                 DWORD exStyle, const RECT& bounds, HFONT font);
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;
    virtual ~ChildControl();

    HWND Handle() const noexcept { return hwnd_; }

    std::string Text() const;
    void SetText(const std::string& text);

    RECT Bounds() const; // in the parent's client coordinates
    void SetBounds(const RECT& bounds);
    int Width() const;

    bool Visible() const noexcept;
    void SetVisible(bool visible);
    bool Enabled() const noexcept;
    void SetEnabled(bool enabled);
    // Visible, enabled, and in a visible and enabled window.
    bool CanFocus() const noexcept;
    void SetFont(HFONT font);

    // Called by the dialog after its DPI changed and its controls were
    // rescaled (bounds and fonts): for what a control derives from the DPI.
    virtual void DpiChanged() {}

    // The object of a control created by this class, or null.
    static ChildControl* FromHandle(HWND hwnd) noexcept;

    // For parents: hands WM_COMMAND and WM_CTLCOLOR* messages to the control
    // that sent them. True (with `result`) when the control handled it.
    static bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // A notification code of WM_COMMAND; true when handled.
    virtual bool Command(WORD code) {
        (void)code;
        return false;
    }
    // The brush for WM_CTLCOLOR*, or null for the default.
    virtual HBRUSH ControlColor(HDC dc) {
        (void)dc;
        return nullptr;
    }

private:
    HWND hwnd_ = nullptr;
};

// A push button. Click runs when the user clicks it, presses Space on it, or
// presses its mnemonic; programs call Click too.
class PushButton : public ChildControl {
public:
    PushButton(HWND parent, const std::string& caption, const RECT& bounds, HFONT font,
               DWORD style = WS_TABSTOP);

    // The default button's frame (the button Enter presses).
    bool IsDefault() const noexcept;
    void SetDefault(bool isDefault);

    virtual void Click();

    std::function<void(PushButton&)> OnClick;

protected:
    bool Command(WORD code) override;
};

// A two-state check box.
class CheckBox : public ChildControl {
public:
    CheckBox(HWND parent, const std::string& caption, const RECT& bounds, HFONT font);

    bool Checked() const noexcept;
    void SetChecked(bool checked);
};

} // namespace brevalo::controls
