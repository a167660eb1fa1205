#include "Spin.h"

#include "Application.h"
#include "ChildControl.h"
#include "Dpi.h"
#include "Handle.h"
#include "OsError.h"
#include "SpinRules.h"
#include "Strings.h"

#include <commctrl.h>

#include <algorithm>

namespace brevalo::controls {

namespace {

constexpr UINT_PTR RepeatTimerId = 1;
constexpr UINT_PTR EditSubclassId = 1;
// The arrows' pictures have an olive background.
constexpr COLORREF ArrowTransparent = RGB(128, 128, 0);

bool CanFocus(HWND hwnd) {
    return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

PixelRect ToPixelRect(const RECT& r) {
    return PixelRect{r.left, r.top, r.right, r.bottom};
}

// The first character of the user's decimal separator.
wchar_t DecimalSeparator() {
    wchar_t text[8] = L".";
    if (!GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, int(std::size(text))))
        return L'.';
    return text[0];
}

int TextHeight(HDC dc, HFONT font) {
    base::SelectObjectScope select(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

} // namespace

// --- TTimerSpeedButton -------------------------------------------------------

void TTimerSpeedButton::PaintContent(HDC dc, const RECT& client) {
    if (!FocusRect())
        return;
    const PixelRect r = SpinFocusRect(ToPixelRect(client), Pressed());
    const RECT focus{r.left, r.top, r.right, r.bottom};
    if (!IsRectEmpty(&focus)) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        DrawFocusRect(dc, &focus);
    }
}

void TTimerSpeedButton::MouseDown() {
    if (!allowTimer_)
        return;
    SetTimer(Handle(), RepeatTimerId, SpinRepeatFirstDelay, nullptr);
    timerRunning_ = true;
    try {
        Click();
    } catch (...) {
        StopTimer();
        throw;
    }
}

void TTimerSpeedButton::MouseUp() {
    StopTimer();
}

void TTimerSpeedButton::StopTimer() {
    if (timerRunning_ && Handle())
        KillTimer(Handle(), RepeatTimerId);
    timerRunning_ = false;
}

void TTimerSpeedButton::RepeatClick() {
    SetTimer(Handle(), RepeatTimerId, SpinRepeatInterval, nullptr);
    if (Pressed() && GetCapture() == Handle()) {
        try {
            Click();
        } catch (...) {
            StopTimer();
            throw;
        }
    }
}

LRESULT TTimerSpeedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == RepeatTimerId) {
        if (timerRunning_)
            RepeatClick();
        return 0;
    }
    if (message == WM_DESTROY)
        StopTimer();
    return TSpeedButton::HandleMessage(message, wParam, lParam);
}

// --- TSpinButton -------------------------------------------------------------

void TSpinButton::Create(HWND parent, int left, int top, int width, int height, bool tabStop) {
    CreateParams params;
    params.className = L"BrevaloSpinButton";
    params.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | (tabStop ? WS_TABSTOP : 0);
    params.parent = parent;
    params.x = left;
    params.y = top;
    params.width = std::max(width, gui::ScaleToDpi(MinSpinButtonWidth, gui::WindowDpi(parent)));
    params.height = height;
    params.classStyle = 0;
    params.background = GetSysColorBrush(COLOR_BTNFACE);
    CreateHandle(params);

    for (TTimerSpeedButton* button : {&up_, &down_}) {
        button->Create(Handle(), 0, 0, 1, 1);
        button->SetAllowTimer(true);
        button->OnMouseDown = [this](TSpeedButton& b) {
            ArrowPressed(static_cast<TTimerSpeedButton&>(b));
        };
    }
    up_.SetGlyph(Glyph::FromResource(L"SpinUp", 1, ArrowTransparent));
    down_.SetGlyph(Glyph::FromResource(L"SpinDown", 1, ArrowTransparent));
    up_.OnClick = [this](TSpeedButton&) {
        if (OnUpClick)
            OnUpClick(*this);
    };
    down_.OnClick = [this](TSpeedButton&) {
        if (OnDownClick)
            OnDownClick(*this);
    };
    Layout();
}

void TSpinButton::SetBoundsPixels(int left, int top, int width, int height) {
    width = std::max(width, Scale(MinSpinButtonWidth));
    base::CheckOs(
        SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE));
}

bool TSpinButton::TabStop() const {
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_TABSTOP) != 0;
}

bool TSpinButton::CanTakeFocus() const {
    return TabStop() && CanFocus(Handle());
}

void TSpinButton::SetFocusedButton(TTimerSpeedButton& button) {
    if (!CanTakeFocus() || &button == focused_)
        return;
    focused_->SetFocusRect(false);
    focused_ = &button;
    focused_->SetFocusRect(GetFocus() == Handle());
}

void TSpinButton::ArrowPressed(TTimerSpeedButton& button) {
    SetFocusedButton(button);
    if (CanFocus(focusControl_)) {
        if (GetFocus() != focusControl_)
            SetFocus(focusControl_);
    } else if (CanTakeFocus() && GetFocus() != Handle()) {
        SetFocus(Handle());
    }
}

void TSpinButton::Layout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const SpinButtonParts parts = LayoutSpinButton(client.right, client.bottom);
    up_.SetBoundsPixels(parts.up.left, parts.up.top, parts.up.Width(), parts.up.Height());
    down_.SetBoundsPixels(parts.down.left, parts.down.top, parts.down.Width(), parts.down.Height());
}

LRESULT TSpinButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (up_.Handle())
            Layout();
        return 0;
    case WM_SETFOCUS:
        focused_->SetFocusRect(true);
        return 0;
    case WM_KILLFOCUS:
        focused_->SetFocusRect(false);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_SPACE:
            focused_->Click();
            return 0;
        case VK_UP:
            SetFocusedButton(up_);
            up_.Click();
            return 0;
        case VK_DOWN:
            SetFocusedButton(down_);
            down_.Click();
            return 0;
        }
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

// --- TSpinEdit ---------------------------------------------------------------

TSpinEdit::~TSpinEdit() {
    if (parent_)
        RemoveWindowSubclass(parent_, &TSpinEdit::ParentProc, reinterpret_cast<UINT_PTR>(this));
    if (edit_) {
        RemoveWindowSubclass(edit_, &TSpinEdit::EditProc, EditSubclassId);
        DestroyWindow(edit_);
    }
}

int TSpinEdit::Scale(int pixels96) const {
    return gui::ScaleToDpi(pixels96, gui::WindowDpi(edit_ ? edit_ : parent_));
}

void TSpinEdit::Create(HWND parent, int left, int top, int width, int height, int id, bool sunken) {
    sunken_ = sunken;
    parent_ = parent;
    const UINT dpi = gui::WindowDpi(parent);
    const auto scale = [dpi](int v) { return gui::ScaleToDpi(v, dpi); };
    // Multi-line so that the formatting rectangle can keep the text clear of
    // the arrows; the arrows are a child that the edit clips.
    edit_ = CreateWindowExW(
        sunken ? WS_EX_CLIENTEDGE : 0, L"EDIT", L"0",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | ES_MULTILINE | ES_AUTOHSCROLL,
        scale(left), scale(top), scale(width), scale(height), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), WindowInstance(parent), nullptr);
    if (!edit_)
        base::RaiseLastOsError();
    SetWindowSubclass(edit_, &TSpinEdit::EditProc, EditSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(parent_, &TSpinEdit::ParentProc, reinterpret_cast<UINT_PTR>(this),
                      reinterpret_cast<DWORD_PTR>(this));

    button_.Create(edit_, 0, 0, scale(MinSpinButtonWidth), scale(17));
    button_.SetFocusControl(edit_);
    button_.OnUpClick = [this](TSpinButton&) { UpClick(); };
    button_.OnDownClick = [this](TSpinButton&) { DownClick(); };
    // Apply the least height and place the arrows.
    SetBounds(left, top, width, height);
}

void TSpinEdit::SetBounds(int left, int top, int width, int height) {
    base::CheckOs(SetWindowPos(edit_, nullptr, Scale(left), Scale(top), Scale(width), Scale(height),
                               SWP_NOZORDER | SWP_NOACTIVATE));
    Layout();
}

void TSpinEdit::SetEnabled(bool enabled) {
    EnableWindow(edit_, enabled);
    EnableWindow(button_.Handle(), enabled);
    button_.UpButton().SetEnabled(enabled);
    button_.DownButton().SetEnabled(enabled);
}

int TSpinEdit::Value() const {
    return ReadSpinValue(Text(), minValue_);
}

void TSpinEdit::SetValue(int value) {
    SetText(std::to_string(ClampSpinValue(value, minValue_, maxValue_)));
}

std::string TSpinEdit::Text() const {
    const int length = GetWindowTextLengthW(edit_);
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(edit_, text.data(), length + 1)));
    return base::Narrow(text);
}

void TSpinEdit::SetText(const std::string& text) {
    base::CheckOs(SetWindowTextW(edit_, base::Widen(text).c_str()));
}

void TSpinEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    SendMessageW(edit_, EM_SETREADONLY, readOnly, 0);
}

void TSpinEdit::SetMaxLength(int length) {
    maxLength_ = length;
    SendMessageW(edit_, EM_SETLIMITTEXT, WPARAM(std::max(length, 0)), 0);
}

void TSpinEdit::UpClick() {
    if (readOnly_)
        MessageBeep(0);
    else
        SetValue(SpinStep(Value(), increment_, true, minValue_, maxValue_));
}

void TSpinEdit::DownClick() {
    if (readOnly_)
        MessageBeep(0);
    else
        SetValue(SpinStep(Value(), increment_, false, minValue_, maxValue_));
}

bool TSpinEdit::CharAccepted(wchar_t c) const {
    return IsValidSpinChar(c, DecimalSeparator(), editorEnabled_);
}

int TSpinEdit::MinHeight() const {
    base::WindowDc dc(edit_);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(edit_, WM_GETFONT, 0, 0));
    HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    const int fontHeight = TextHeight(dc.Get(), font ? font : systemFont);
    return SpinEditMinHeight(GetSystemMetrics(SM_CYBORDER), fontHeight,
                             TextHeight(dc.Get(), systemFont));
}

void TSpinEdit::Layout() {
    if (!edit_ || !button_.Handle())
        return;
    RECT window{}, client{};
    GetWindowRect(edit_, &window);
    GetClientRect(edit_, &client);
    RECT buttonRect{};
    GetWindowRect(button_.Handle(), &buttonRect);
    const SpinEditLayout layout =
        LayoutSpinEdit(window.right - window.left, window.bottom - window.top, client.right,
                       client.bottom, buttonRect.right - buttonRect.left, sunken_);
    button_.SetBoundsPixels(layout.button.left, layout.button.top, layout.button.Width(),
                            layout.button.Height());
    RECT format{layout.formatRect.left, layout.formatRect.top, layout.formatRect.right,
                layout.formatRect.bottom};
    SendMessageW(edit_, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
}

void TSpinEdit::RaiseChange() {
    if (OnChange)
        OnChange(*this);
}

LRESULT TSpinEdit::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(edit_, message, wParam, lParam);
}

bool TSpinEdit::InputHandled(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_KEYDOWN:
        // The arrows' keys come before the edit's own handling.
        if (wParam == VK_UP) {
            UpClick();
            return true;
        }
        if (wParam == VK_DOWN) {
            DownClick();
            return true;
        }
        if (wParam == VK_DELETE && !editorEnabled_) {
            MessageBeep(0);
            return true;
        }
        return false;
    case WM_CHAR: {
        const wchar_t c = wchar_t(wParam);
        if (!CharAccepted(c)) {
            MessageBeep(0);
            return true;
        }
        // Ctrl+X and Ctrl+V.
        return (c == 0x18 || c == 0x16) && !EditingAllowed();
    }
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
        return !EditingAllowed();
    }
    return false;
}

LRESULT TSpinEdit::SetTextMessage(WPARAM wParam, LPARAM lParam) {
    // A multi-line edit reports no change for text set from outside.
    const std::string before = Text();
    settingText_ = true;
    const LRESULT result = Default(WM_SETTEXT, wParam, lParam);
    settingText_ = false;
    if (Text() != before)
        RaiseChange();
    return result;
}

LRESULT TSpinEdit::SetFontMessage(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(WM_SETFONT, wParam, lParam);
    // A larger font may need a taller edit.
    RECT r{};
    GetWindowRect(edit_, &r);
    SetWindowPos(edit_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    return result;
}

LRESULT TSpinEdit::EditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (InputHandled(message, wParam))
        return 0;
    switch (message) {
    case WM_SETTEXT:
        return SetTextMessage(wParam, lParam);
    case WM_SETFOCUS: {
        const LRESULT result = Default(message, wParam, lParam);
        if (autoSelect_ && (GetKeyState(VK_LBUTTON) & 0x8000) == 0)
            SendMessageW(edit_, EM_SETSEL, 0, -1);
        return result;
    }
    case WM_KILLFOCUS: {
        const int value = Value();
        if (ClampSpinValue(value, minValue_, maxValue_) != value)
            SetValue(value);
        break;
    }
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE))
            pos->cy = std::max(pos->cy, MinHeight());
        break;
    }
    case WM_SIZE: {
        const LRESULT result = Default(message, wParam, lParam);
        Layout();
        return result;
    }
    case WM_SETFONT:
        return SetFontMessage(wParam, lParam);
    case WM_GETDLGCODE:
        // Unlike other multi-line edits, leave Tab, Enter and Esc to the dialog.
        return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    case WM_NCDESTROY: {
        RemoveWindowSubclass(edit_, &TSpinEdit::EditProc, EditSubclassId);
        HWND edit = edit_;
        edit_ = nullptr;
        return DefSubclassProc(edit, message, wParam, lParam);
    }
    }
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK TSpinEdit::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TSpinEdit*>(data);
    try {
        return self->EditMessage(message, wParam, lParam);
    } catch (...) {
        gui::Application::Instance().HandleException(std::current_exception());
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK TSpinEdit::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TSpinEdit*>(data);
    if (message == WM_COMMAND && self->edit_ && reinterpret_cast<HWND>(lParam) == self->edit_ &&
        HIWORD(wParam) == EN_CHANGE && !self->settingText_) {
        try {
            self->RaiseChange();
        } catch (...) {
            gui::Application::Instance().HandleException(std::current_exception());
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &TSpinEdit::ParentProc, reinterpret_cast<UINT_PTR>(self));
        self->parent_ = nullptr;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace brevalo::controls
