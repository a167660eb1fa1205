#include "Easysize.h"

#include "Dpi.h"
#include "Window.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

namespace brevalo::controls {

namespace {

ResizerBounds BoundsInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return ResizerBounds{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

OwnerSize WindowSize(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return OwnerSize{r.right - r.left, r.bottom - r.top};
}

void SetBounds(HWND control, const ResizerBounds& b) {
    SetWindowPos(control, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A static control that shows text (not a picture, frame or line, nor a
// panel holding controls).
bool IsTextLabel(HWND control) {
    if (GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
        return false;
    wchar_t className[16] = L"";
    GetClassNameW(control, className, int(std::size(className)));
    if (_wcsicmp(className, L"Static") != 0)
        return false;
    switch (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        return true;
    }
    return false;
}

RECT ParentClient(HWND control) {
    RECT parent{};
    GetClientRect(GetParent(control), &parent);
    return parent;
}

// A control that fills its parent's client area, as a client-aligned one.
bool FillsParentNow(HWND control) {
    const RECT parent = ParentClient(control);
    const ResizerBounds b = BoundsInParent(control);
    return b.left == 0 && b.top == 0 && b.width == parent.right && b.height == parent.bottom;
}

} // namespace

// --- TSingleResizer ----------------------------------------------------------

TSingleResizer::TSingleResizer(HWND control, HWND parentForm, bool resizeFonts, int minFontSize,
                               int maxFontSize)
    : control_(control), parentForm_(parentForm) {
    if (!control)
        throw EResizerException("TSingleResizer created without a component link");
    if (!parentForm)
        throw EResizerException("TSingleResizer created without a parent form link");
    isLabel_ = IsTextLabel(control);
    fillsParent_ = FillsParentNow(control);
    record_.initial = BoundsInParent(control);
    record_.form = WindowSize(parentForm);
    record_.resizeWidth = !isLabel_;
    record_.resizeFonts = resizeFonts;
    record_.minFontSize = minFontSize;
    record_.maxFontSize = maxFontSize;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    originalFont_ = font;
    if (font && GetObjectW(font, sizeof initialFont_, &initialFont_)) {
        record_.hasFont = true;
        const int height =
            initialFont_.lfHeight < 0 ? -initialFont_.lfHeight : initialFont_.lfHeight;
        record_.initialFontSize = MulDiv(height, 72, int(gui::WindowDpi(control)));
    }
}

TSingleResizer::~TSingleResizer() {
    if (font_ && control_ && IsWindow(control_))
        SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(originalFont_), FALSE);
}

void TSingleResizer::Resize(OwnerSize owner, ResizeRatios ratios) {
    if (!control_ || !IsWindow(control_))
        return;
    if (fillsParent_) {
        // Not scaled: it keeps filling its parent, whatever size that has now.
        const RECT parent = ParentClient(control_);
        SetBounds(control_, ResizerBounds{0, 0, parent.right, parent.bottom});
        return;
    }
    const ResizeOutcome out = ResizeRecord(record_, owner, ratios, BoundsInParent(control_));
    if (out.fontSize)
        ApplyFont(*out.fontSize);
    if (isLabel_)
        FitLabel(out.bounds);
    else
        SetBounds(control_, out.bounds);
}

void TSingleResizer::ApplyFont(int points) {
    LOGFONTW description = initialFont_;
    // The initial size keeps the exact initial height.
    if (points != record_.initialFontSize)
        description.lfHeight = -MulDiv(points, int(gui::WindowDpi(control_)), 72);
    base::Font font(CreateFontIndirectW(&description));
    if (!font)
        return;
    SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    // The control now uses the new font: the previous one may go.
    font_ = std::move(font);
}

void TSingleResizer::FitLabel(const ResizerBounds& bounds) {
    SetBounds(control_, bounds);
    // The label sizes itself to its text in its (perhaps new) font.
    const int length = GetWindowTextLengthW(control_);
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(control_, text.data(), length + 1)));
    base::WindowDc dc(control_);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control_, WM_GETFONT, 0, 0));
    base::SelectObjectScope select(dc.Get(), font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
    RECT extent{0, 0, 0, 0};
    UINT format = DT_CALCRECT | DT_LEFT | DT_EXPANDTABS;
    if (GetWindowLongW(control_, GWL_STYLE) & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (text.empty())
        text = L" ";
    DrawTextW(dc.Get(), text.c_str(), int(text.size()), &extent, format);
    SetWindowPos(control_, nullptr, 0, 0, extent.right, extent.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(control_, nullptr, TRUE);
}

// --- TFormResizer ------------------------------------------------------------

TFormResizer::TFormResizer(gui::Window* owner) {
    if (!owner)
        throw EResizerException("TFormResizer created without an owner");
    if (!owner->Handle() || !IsWindow(owner->Handle()))
        throw EResizerException("TFormResizer owner must be a panel or form");
    owner_ = owner->Handle();
}

TFormResizer::~TFormResizer() {
    for (const auto& record : records_)
        if (record->Control())
            RemoveWindowSubclass(record->Control(), &TFormResizer::ControlProc,
                                 reinterpret_cast<UINT_PTR>(this));
}

OwnerSize TFormResizer::CurrentOwnerSize() const {
    return WindowSize(owner_);
}

void TFormResizer::InitializeForm() {
    if (initialized_)
        return;
    initialized_ = true;
    initialSize_ = CurrentOwnerSize();
    // Child windows come in creation order; panels are entered right after
    // themselves, as their controls were made after them.
    std::function<void(HWND)> visit = [&](HWND parent) {
        for (HWND child = GetWindow(parent, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            Record(child);
            if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
                visit(child);
        }
    };
    visit(owner_);
}

void TFormResizer::Record(HWND control) {
    records_.push_back(std::make_unique<TSingleResizer>(control, owner_, resizeFonts_, minFontSize_,
                                                        maxFontSize_));
    SetWindowSubclass(control, &TFormResizer::ControlProc, reinterpret_cast<UINT_PTR>(this),
                      reinterpret_cast<DWORD_PTR>(this));
}

void TFormResizer::Forget(HWND control) noexcept {
    for (const auto& record : records_)
        if (record->Control() == control)
            record->ControlDestroyed();
}

void TFormResizer::ResizeAll() {
    if (enforceMinSize_) {
        const OwnerSize current = CurrentOwnerSize();
        const OwnerSize enforced = EnforceMinimumSize(current, initialSize_, true);
        if (enforced != current)
            SetWindowPos(owner_, nullptr, 0, 0, enforced.width, enforced.height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const OwnerSize owner = CurrentOwnerSize();
    const ResizeRatios ratios = RatiosFor(owner, initialSize_);
    for (const auto& record : records_) {
        record->Resize(owner, ratios);
        if (OnPostResize)
            OnPostResize(*this, record->Control(), ratios.height, ratios.width);
    }
}

LRESULT CALLBACK TFormResizer::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        reinterpret_cast<TFormResizer*>(data)->Forget(hwnd);
        RemoveWindowSubclass(hwnd, &TFormResizer::ControlProc, id);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace brevalo::controls
