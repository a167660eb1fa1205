#include "ChildControl.h"

#include "Accessible.h"
#include "OsError.h"
#include "Strings.h"

namespace brevalo::controls {

namespace {

constexpr wchar_t ObjectProperty[] = L"Brevalo.ChildControl";

} // namespace

ChildControl::ChildControl(HWND parent, const wchar_t* className, const std::string& text,
                           DWORD style, DWORD exStyle, const RECT& bounds, HFONT font) {
    hwnd_ = CreateWindowExW(exStyle, className, base::Widen(text).c_str(), WS_CHILD | style,
                            bounds.left, bounds.top, bounds.right - bounds.left,
                            bounds.bottom - bounds.top, parent, nullptr, WindowInstance(parent),
                            nullptr);
    if (!hwnd_)
        base::RaiseLastOsError();
    SetPropW(hwnd_, ObjectProperty, this);
    // Accessibility clients learn what kind of control it is.
    gui::SetAccessible(hwnd_, {});
    if (font)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

ChildControl::~ChildControl() {
    // The parent may have destroyed the window already; only a window that
    // still carries this object is ours to destroy.
    if (IsWindow(hwnd_) && GetPropW(hwnd_, ObjectProperty) == this) {
        RemovePropW(hwnd_, ObjectProperty);
        DestroyWindow(hwnd_);
    }
}

ChildControl* ChildControl::FromHandle(HWND hwnd) noexcept {
    return hwnd ? static_cast<ChildControl*>(GetPropW(hwnd, ObjectProperty)) : nullptr;
}

bool ChildControl::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (ChildControl* control = FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (control->Command(HIWORD(wParam))) {
                result = 0;
                return true;
            }
        }
        return false;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (ChildControl* control = FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = control->ControlColor(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    }
    return false;
}

std::string ChildControl::Text() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(hwnd_, text.data(), length + 1)));
    return base::Narrow(text);
}

void ChildControl::SetText(const std::string& text) {
    base::CheckOs(SetWindowTextW(hwnd_, base::Widen(text).c_str()));
}

RECT ChildControl::Bounds() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ChildControl::SetBounds(const RECT& bounds) {
    SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int ChildControl::Width() const {
    const RECT r = Bounds();
    return r.right - r.left;
}

bool ChildControl::Visible() const noexcept {
    return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void ChildControl::SetVisible(bool visible) {
    if (visible != Visible())
        ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool ChildControl::Enabled() const noexcept {
    return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_DISABLED) == 0;
}

void ChildControl::SetEnabled(bool enabled) {
    if (enabled != Enabled())
        EnableWindow(hwnd_, enabled);
}

bool ChildControl::CanFocus() const noexcept {
    return IsWindowVisible(hwnd_) && IsWindowEnabled(hwnd_) &&
           IsWindowEnabled(GetAncestor(hwnd_, GA_ROOT));
}

void ChildControl::SetFont(HFONT font) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

PushButton::PushButton(HWND parent, const std::string& caption, const RECT& bounds, HFONT font,
                       DWORD style)
    : ChildControl(parent, L"BUTTON", caption, style | BS_PUSHBUTTON, 0, bounds, font) {}

bool PushButton::IsDefault() const noexcept {
    return (GetWindowLongW(Handle(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void PushButton::SetDefault(bool isDefault) {
    if (isDefault != IsDefault())
        SendMessageW(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void PushButton::Click() {
    if (OnClick)
        OnClick(*this);
}

bool PushButton::Command(WORD code) {
    if (code != BN_CLICKED)
        return false;
    Click();
    return true;
}

CheckBox::CheckBox(HWND parent, const std::string& caption, const RECT& bounds, HFONT font)
    : ChildControl(parent, L"BUTTON", caption, WS_TABSTOP | BS_AUTOCHECKBOX, 0, bounds, font) {}

bool CheckBox::Checked() const noexcept {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace brevalo::controls
