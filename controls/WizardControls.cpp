#include "WizardControls.h"

#include "Application.h"
#include "Clock.h"
#include "Form.h"
#include "Strings.h"

#include <oleacc.h>

#include <cmath>

namespace brevalo::controls {

namespace {

constexpr UINT_PTR EditSubclassId = 0x4544;
constexpr UINT_PTR LinkSubclassId = 0x4C4B;

} // namespace

// ---- TEdit

TEdit::TEdit(HWND parent, const RECT& bounds, HFONT font, const std::string& text)
    : ChildControl(parent, L"EDIT", text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                   WS_EX_CLIENTEDGE, bounds, font) {
    SetWindowSubclass(Handle(), EditProc, EditSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void TEdit::SetMaxLength(int length) {
    SendMessageW(Handle(), EM_SETLIMITTEXT, WPARAM(length), 0);
}

void TEdit::Focus() {
    SetFocus(Handle());
}

bool TEdit::Command(WORD code) {
    if (code == EN_CHANGE && OnChange) {
        OnChange(*this);
        return true;
    }
    return false;
}

LRESULT CALLBACK TEdit::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data) {
    if (message == WM_CHAR) {
        auto* self = reinterpret_cast<TEdit*>(data);
        try {
            if (self->OnKeyPress && !self->OnKeyPress(*self, wchar_t(wParam)))
                return 0;
        } catch (...) {
            gui::Application::Instance().HandleException(std::current_exception());
            return 0;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, EditProc, id);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// ---- TRadioButton

TRadioButton::TRadioButton(HWND parent, const std::string& caption, const RECT& bounds, HFONT font,
                           bool firstOfGroup)
    : ChildControl(parent, L"BUTTON", caption,
                   WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP : 0), 0,
                   bounds, font) {}

bool TRadioButton::Checked() const noexcept {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::Click() {
    // BM_CLICK checks the button, unchecks its group and notifies the parent,
    // which comes back here through Command.
    SendMessageW(Handle(), BM_CLICK, 0, 0);
}

bool TRadioButton::Command(WORD code) {
    if (code == BN_CLICKED) {
        if (OnClick)
            OnClick(*this);
        return true;
    }
    return false;
}

// ---- TDateTimePicker

TDateTimePicker::TDateTimePicker(HWND parent, Kind kind, const RECT& bounds, HFONT font)
    : ChildControl(parent, DATETIMEPICK_CLASSW, "",
                   WS_VISIBLE | WS_TABSTOP |
                       (kind == Kind::Date ? DTS_SHORTDATEFORMAT : DTS_TIMEFORMAT),
                   0, bounds, font) {}

DateTime TDateTimePicker::Value() const {
    SYSTEMTIME st{};
    if (SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return 0.0;
    return os::FromSystemTime(st);
}

void TDateTimePicker::SetValue(DateTime value) {
    SYSTEMTIME st = os::ToSystemTime(value);
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TDateTimePicker::SetMinDate(DateTime value) {
    SYSTEMTIME range[2]{};
    range[0] = os::ToSystemTime(std::floor(value));
    SendMessageW(Handle(), DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(range));
}

// ---- TIconComboBox

TIconComboBox::TIconComboBox(HWND parent, const RECT& bounds, HFONT font, int dropDownRows)
    : ChildControl(parent, WC_COMBOBOXEXW, "", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0,
                   RECT{bounds.left, bounds.top, bounds.right,
                        bounds.top + (bounds.bottom - bounds.top) * (dropDownRows + 1)},
                   font) {}

void TIconComboBox::SetImages(HIMAGELIST images) {
    SendMessageW(Handle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}

void TIconComboBox::AddItem(const std::string& text, int image) {
    std::wstring wide = base::Widen(text);
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = -1;
    item.pszText = wide.data();
    item.iImage = image;
    item.iSelectedImage = image;
    SendMessageW(Handle(), CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

HWND TIconComboBox::FocusHandle() const noexcept {
    return reinterpret_cast<HWND>(SendMessageW(Handle(), CBEM_GETCOMBOCONTROL, 0, 0));
}

int TIconComboBox::Count() const noexcept {
    return int(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

int TIconComboBox::ItemIndex() const noexcept {
    return int(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TIconComboBox::SetItemIndex(int index) {
    SendMessageW(Handle(), CB_SETCURSEL, WPARAM(index), 0);
}

bool TIconComboBox::Command(WORD code) {
    if (code == CBN_SELCHANGE) {
        if (OnChange)
            OnChange(*this);
        return true;
    }
    return false;
}

// ---- TImage

void TImage::EnableKeyboard(const std::string& name, long role) {
    proxy_ = std::make_unique<KeyboardProxy>(*this, name, role);
}

void TImage::Paint(HDC dc) {
    RECT r = Bounds();
    if (framed_) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    if (stretch_)
        picture_.StretchDraw(dc, r);
    else
        picture_.Draw(dc, r.left, r.top);
    if (proxy_)
        proxy_->PaintFocus(dc);
}

// ---- TShape

void TShape::SetBrushColor(COLORREF color) {
    if (color_ == color)
        return;
    color_ = color;
    Invalidate();
}

void TShape::Paint(HDC dc) {
    RECT r = Bounds();
    if (sunken_)
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    base::Brush brush(CreateSolidBrush(color_));
    FillRect(dc, &r, brush.Get());
}

// ---- TLinkLabel

TLinkLabel::TLinkLabel(gui::Form& parent, const std::string& text, const FontSpec& font)
    : GraphicControl(parent), text_(text), font_(font), proxy_(*this, text, ROLE_SYSTEM_LINK) {
    font_.color = TColor(0x00FF0000); // blue
    Rebuild();
    SetWindowSubclass(parent.Handle(), ParentProc, LinkSubclassId + UINT_PTR(this) % 0x1000,
                      reinterpret_cast<DWORD_PTR>(this));
}

TLinkLabel::~TLinkLabel() {
    if (IsWindow(Parent().Handle()))
        RemoveWindowSubclass(Parent().Handle(), ParentProc,
                             LinkSubclassId + UINT_PTR(this) % 0x1000);
}

void TLinkLabel::SetFontName(const std::string& name) {
    font_.name = name;
    Rebuild();
}

void TLinkLabel::Rebuild() {
    FontSpec plain = font_;
    plain.underline = true;
    normal_ = plain.Create(Parent().Dpi());
    plain.underline = false;
    hover_ = plain.Create(Parent().Dpi());
    // Size to the text.
    base::WindowDc screen(nullptr);
    base::SelectObjectScope select(screen.Get(), normal_.Get());
    const std::wstring wide = base::Widen(text_);
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), wide.c_str(), int(wide.size()), &size);
    SetBounds(Left(), Top(), size.cx, size.cy);
}

void TLinkLabel::RescaleForDpi(UINT oldDpi, UINT newDpi) {
    GraphicControl::RescaleForDpi(oldDpi, newDpi);
    Rebuild();
}

void TLinkLabel::SetHot(bool hot) {
    if (hot_ == hot)
        return;
    hot_ = hot;
    Invalidate();
}

void TLinkLabel::Paint(HDC dc) {
    if (!Visible())
        return;
    base::SelectObjectScope select(dc, (hot_ ? hover_ : normal_).Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));
    const std::wstring wide = base::Widen(text_);
    RECT r = Bounds();
    DrawTextW(dc, wide.c_str(), int(wide.size()), &r,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    proxy_.PaintFocus(dc);
}

LRESULT CALLBACK TLinkLabel::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<TLinkLabel*>(data);
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && self->Visible()) {
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(hwnd, &p);
            const RECT r = self->Bounds();
            if (PtInRect(&r, p)) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
        }
        break;
    case WM_MOUSEMOVE: {
        const POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
        const RECT r = self->Bounds();
        const bool inside = PtInRect(&r, p) && self->Visible();
        self->SetHot(inside);
        if (inside) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
        }
        break;
    }
    case WM_MOUSELEAVE:
        self->SetHot(false);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, ParentProc, id);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// ---- hints

void AddToolTip(HWND& toolTip, HWND owner, HWND control, const std::string& text) {
    if (!toolTip) {
        toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  WindowInstance(owner), nullptr);
        if (!toolTip)
            return; // no hints, nothing else lost
    }
    std::wstring wide = base::Widen(text);
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = wide.data();
    SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace brevalo::controls
