#include "StdControls.h"

#include "Accessible.h"
#include "Clock.h"
#include "Dpi.h"
#include "Handle.h"
#include "Label.h"
#include "OsError.h"
#include "Strings.h"

namespace brevalo::controls {

namespace {

constexpr UINT_PTR EditSubclassId = 0x4C45; // any number unique to this file

} // namespace

// --- NotifyingCheckBox -----------------------------------------------------

void NotifyingCheckBox::SetState(bool checked) {
    if (checked == Checked())
        return;
    SetChecked(checked);
    if (OnChange)
        OnChange(*this);
}

bool NotifyingCheckBox::Command(WORD code) {
    if (code != BN_CLICKED)
        return false;
    if (OnChange)
        OnChange(*this);
    return true;
}

// --- RadioButton -----------------------------------------------------------

RadioButton::RadioButton(HWND parent, const std::string& caption, const RECT& bounds, HFONT font,
                         bool firstOfGroup)
    : ChildControl(parent, L"BUTTON", caption,
                   BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0), 0, bounds,
                   font) {}

bool RadioButton::Checked() const noexcept {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void RadioButton::SetChecked(bool checked) {
    if (checked) {
        // Clear the rest of the group, as a click would.
        HWND parent = GetParent(Handle());
        HWND sibling = Handle();
        do {
            sibling = GetNextDlgGroupItem(parent, sibling, FALSE);
            if (sibling && sibling != Handle())
                SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        } while (sibling && sibling != Handle());
    }
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool RadioButton::Command(WORD code) {
    if (code != BN_CLICKED)
        return false;
    if (OnClick)
        OnClick(*this);
    return true;
}

// --- GroupBox, StaticText, StaticIcon ----------------------------------------

GroupBox::GroupBox(HWND parent, const std::string& caption, const RECT& bounds, HFONT font)
    // Transparent, so that the parent still paints the face under the frame.
    : ChildControl(parent, L"BUTTON", caption, BS_GROUPBOX | WS_GROUP | WS_VISIBLE,
                   WS_EX_TRANSPARENT, bounds, font) {}

StaticText::StaticText(HWND parent, const std::string& caption, const RECT& bounds, HFONT font)
    : ChildControl(parent, L"STATIC", caption, SS_LEFT | WS_VISIBLE, 0, bounds, font) {}

StaticIcon::StaticIcon(HWND parent, const RECT& bounds)
    : ChildControl(parent, L"STATIC", "", SS_ICON | SS_CENTERIMAGE | WS_VISIBLE, 0, bounds,
                   nullptr) {}

void StaticText::FitToText() {
    fitToText_ = true;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    const SIZE size = gui::SingleLineTextSize(
        Handle(), font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)),
        base::Widen(Text()), 0);
    const RECT bounds = Bounds();
    SetBounds(RECT{bounds.left, bounds.top, bounds.left + size.cx, bounds.top + size.cy});
}

void StaticText::DpiChanged() {
    if (fitToText_)
        FitToText();
}

void StaticIcon::SetIcon(const wchar_t* name, int size) {
    // The size is given at 96 DPI; the picture follows the window's DPI.
    const int pixels = gui::ScaleToDpi(size, gui::WindowDpi(Handle()));
    auto icon = static_cast<HICON>(
        LoadImageW(WindowInstance(Handle()), name, IMAGE_ICON, pixels, pixels, 0));
    if (!icon)
        base::RaiseLastOsError();
    name_ = name;
    size_ = size;
    const RECT bounds = Bounds();
    SendMessageW(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    // The control sizes itself to the icon; keep the place it was given.
    SetBounds(bounds);
    icon_.Reset(icon);
}

void StaticIcon::DpiChanged() {
    if (name_)
        SetIcon(name_, size_);
}

// --- Edit ------------------------------------------------------------------

Edit::Edit(HWND parent, const std::string& text, const RECT& bounds, HFONT font)
    : ChildControl(parent, L"EDIT", text, ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE,
                   WS_EX_CLIENTEDGE, bounds, font) {
    SetWindowSubclass(Handle(), &EditProc, EditSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

Edit::~Edit() {
    if (IsWindow(Handle()))
        RemoveWindowSubclass(Handle(), &EditProc, EditSubclassId);
}

void Edit::SetMaxLength(int length) {
    SendMessageW(Handle(), EM_LIMITTEXT, WPARAM(length), 0);
}

void Edit::SetFocus() {
    ::SetFocus(Handle());
}

LRESULT CALLBACK Edit::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
    auto* self = reinterpret_cast<Edit*>(data);
    if (message == WM_CHAR && wParam == L' ' && self->refuseBlanks_)
        return 0;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LabeledEdit::LabeledEdit(HWND parent, const std::string& label, const std::string& text,
                         const RECT& bounds, HFONT font, int labelGap)
    : EditLabel(parent, label,
                RECT{bounds.left, bounds.top - labelGap, bounds.right, bounds.top - 2}, font),
      EditBox(parent, text, bounds, font) {
    gui::NameAfterLabel(EditBox.Handle(), label);
}

bool DialogFaceColor(UINT message, WPARAM wParam, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORBTN)
        return false;
    const auto dc = reinterpret_cast<HDC>(wParam);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

// --- NotifyControl -----------------------------------------------------------

bool NotifyControl::ReflectNotify(LPARAM lParam, LRESULT& result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header)
        return false;
    auto* control = dynamic_cast<NotifyControl*>(ChildControl::FromHandle(header->hwndFrom));
    return control && control->Notify(*header, result);
}

// --- DateTimePicker ----------------------------------------------------------

DateTimePicker::DateTimePicker(HWND parent, PickerKind kind, const RECT& bounds, HFONT font)
    : NotifyControl(parent, DATETIMEPICK_CLASSW, "",
                    WS_TABSTOP | WS_VISIBLE |
                        (kind == PickerKind::Date ? DTS_SHORTDATEFORMAT : DTS_TIMEFORMAT),
                    0, bounds, font) {}

DateTime DateTimePicker::Value() const {
    SYSTEMTIME st{};
    SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return os::FromSystemTime(st);
}

void DateTimePicker::SetValue(DateTime value) {
    SYSTEMTIME st = os::ToSystemTime(value);
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

bool DateTimePicker::Notify(const NMHDR& header, LRESULT& result) {
    if (header.code != DTN_DATETIMECHANGE)
        return false;
    result = 0;
    if (OnChange)
        OnChange(*this);
    return true;
}

// --- IconListView ------------------------------------------------------------

IconListView::IconListView(HWND parent, const RECT& bounds, HFONT font)
    : NotifyControl(parent, WC_LISTVIEWW, "",
                    WS_TABSTOP | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                        LVS_SHOWSELALWAYS,
                    WS_EX_CLIENTEDGE, bounds, font) {
    ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(Handle(), 0, &column);
}

void IconListView::SetSmallImages(HIMAGELIST images) {
    ListView_SetImageList(Handle(), images, LVSIL_SMALL);
}

int IconListView::AddItem(const std::string& caption, int imageIndex) {
    std::wstring text = base::Widen(caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = Count();
    item.pszText = text.data();
    item.iImage = imageIndex;
    return int(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int IconListView::Count() const {
    return int(ListView_GetItemCount(Handle()));
}

std::string IconListView::ItemText(int index) const {
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(Handle(), LVM_GETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    return base::Narrow(buffer);
}

int IconListView::SelectedIndex() const {
    return int(ListView_GetNextItem(Handle(), -1, LVNI_SELECTED));
}

void IconListView::SetSelectedIndex(int index) {
    ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0)
        ListView_SetItemState(Handle(), index, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
}

void IconListView::SetColumnWidth(int width) {
    ListView_SetColumnWidth(Handle(), 0, width);
}

int IconListView::ColumnWidth() const {
    return int(ListView_GetColumnWidth(Handle(), 0));
}

bool IconListView::Notify(const NMHDR& header, LRESULT& result) {
    if (header.code != NM_DBLCLK)
        return false;
    result = 0;
    if (OnDoubleClick)
        OnDoubleClick(*this);
    return true;
}

} // namespace brevalo::controls
