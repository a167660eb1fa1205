#include "KWizard.h"

#include "Dpi.h"
#include "ImageList.h"
#include "KCommon.h"

#include <algorithm>

namespace brevalo::controls {

namespace {

constexpr wchar_t WizardClassName[] = L"TKWizard";
constexpr UINT_PTR ParentSubclassId = 0x4B57; // "KW"

bool CanTakeFocus(HWND hwnd) {
    return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) &&
           IsWindowEnabled(GetAncestor(hwnd, GA_ROOT));
}

// The first control that takes the focus by Tab inside `parent`, in tab
// (creation) order, looking into nested control containers.
HWND FirstTabStop(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || !IsWindowEnabled(child))
            continue;
        if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP)
            return child;
        if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
            if (HWND inner = FirstTabStop(child))
                return inner;
    }
    return nullptr;
}

} // namespace

// ---- TKWizardPageList

TKWizardCustomPage* TKWizardPageList::Items(int index) const noexcept {
    return index >= 0 && index < Count() ? pages_[std::size_t(index)] : nullptr;
}

int TKWizardPageList::IndexOf(const TKWizardCustomPage* page) const noexcept {
    if (!page)
        return -1;
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    return it == pages_.end() ? -1 : int(it - pages_.begin());
}

void TKWizardPageList::Add(TKWizardCustomPage& page) {
    pages_.push_back(&page);
    page.wizard_ = &wizard_;
}

void TKWizardPageList::Remove(TKWizardCustomPage& page) {
    std::erase(pages_, &page);
    if (page.wizard_ == &wizard_)
        page.wizard_ = nullptr;
}

void TKWizardPageList::DetachAll() noexcept {
    for (TKWizardCustomPage* page : pages_)
        page->wizard_ = nullptr;
    pages_.clear();
}

// ---- TKWizard

TKWizard::TKWizard(HWND parent) : color_(clBtnFace), parent_(parent) {
    RECT client{};
    GetClientRect(parent, &client);
    CreateParams params;
    params.className = WizardClassName;
    params.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.exStyle = WS_EX_CONTROLPARENT;
    params.parent = parent;
    params.x = 0;
    params.y = 0;
    params.width = client.right;
    params.height = client.bottom;
    CreateHandle(params);

    for (int i = 0; i < WizardButtonKindCount; ++i) {
        buttons_[std::size_t(i)] = CreateButton(*this, TKWizardButtonKind(i));
        navigate_[std::size_t(i)] =
            std::make_unique<TKWizardNavigateButton>(*buttons_[std::size_t(i)]);
    }
    // Fill the parent from now on.
    SetWindowSubclass(parent, &TKWizard::ParentProc, ParentSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
    keyForm_ = DialogForm::Of(parent);
    if (keyForm_)
        keyForm_->AddDialogKeyHandler(this);
    LayoutButtons();
}

TKWizard::~TKWizard() {
    destroying_ = true;
    SetHeaderImages(nullptr);
    if (keyForm_ && IsWindow(parent_) && DialogForm::Of(parent_) == keyForm_)
        keyForm_->RemoveDialogKeyHandler(this);
    if (IsWindow(parent_))
        RemoveWindowSubclass(parent_, &TKWizard::ParentProc, ParentSubclassId);
    for (auto& wrapper : navigate_)
        wrapper.reset();
    // Pages destroyed after the wizard must not call back.
    pages_.DetachAll();
    activePage_ = nullptr;
    for (auto& button : buttons_)
        button->wizard_ = nullptr;
    if (Handle())
        DestroyWindow(Handle());
}

std::unique_ptr<TKWizardButtonControl> TKWizard::CreateButton(TKWizard& wizard,
                                                              TKWizardButtonKind kind) {
    switch (kind) {
    case TKWizardButtonKind::bkStart:
        return std::make_unique<TKWizardStartButton>(wizard);
    case TKWizardButtonKind::bkLast:
        return std::make_unique<TKWizardLastButton>(wizard);
    case TKWizardButtonKind::bkBack:
        return std::make_unique<TKWizardBackButton>(wizard);
    case TKWizardButtonKind::bkNext:
        return std::make_unique<TKWizardNextButton>(wizard);
    case TKWizardButtonKind::bkFinish:
        return std::make_unique<TKWizardFinishButton>(wizard);
    case TKWizardButtonKind::bkCancel:
        return std::make_unique<TKWizardCancelButton>(wizard);
    case TKWizardButtonKind::bkHelp:
        break;
    }
    return std::make_unique<TKWizardHelpButton>(wizard);
}

void TKWizard::Loaded() {
    loading_ = false;
    LayoutButtons();
    if (PageCount() > 0)
        SelectFirstPage();
}

TKWizardCustomPage* TKWizard::FindNextPage(int index, int step, bool skipDisabled) const {
    const int found = FindNextPageIndex(
        index, step, PageCount(), [this](int i) { return pages_.Items(i)->Enabled(); },
        skipDisabled);
    return pages_.Items(found);
}

void TKWizard::SetActivePageIndex(int index) {
    SetActivePage(pages_.Items(index));
}

void TKWizard::SetActivePage(TKWizardCustomPage* page) {
    if (loading_)
        return;
    if (page && (page->Wizard() != this || !page->Enabled()))
        return;
    if (page == activePage_)
        return;

    // No hidden control may keep the focus.
    HWND focus = GetFocus();
    if (activePage_ && focus && IsChild(activePage_->Handle(), focus))
        SetFocus(activePage_->Handle());

    TKWizardCustomPage* old = activePage_;
    if (old) {
        old->ExitPage(page);
        ShowWindow(old->Handle(), SW_HIDE);
    }
    if (page) {
        page->EnterPage(old);
        SetWindowPos(page->Handle(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        if (CanTakeFocus(page->Handle()))
            SetFocus(page->Handle());
        else if (CanTakeFocus(Handle()))
            SetFocus(Handle());
    }
    activePage_ = page;
    ApplyButtonBar();

    if (page && GetFocus() == page->Handle()) {
        page->PageShown();
        // Unless OnPage moved the focus itself, it goes to the first control.
        if (activePage_ == page && GetFocus() == page->Handle())
            if (HWND first = FirstTabStop(page->Handle()))
                SetFocus(first);
    }
}

void TKWizard::Select(TKWizardCustomPage* candidate, const TKWizardSelectPageEvent& event) {
    if (!candidate)
        return;
    TKWizardCustomPage* toPage = candidate;
    if (event)
        event(*this, activePage_, toPage);
    if (toPage)
        SetActivePage(toPage);
}

void TKWizard::SelectFirstPage() {
    Select(FindNextPage(-1, +1), OnSelectFirstPage);
}

void TKWizard::SelectLastPage() {
    Select(FindNextPage(PageCount(), -1), OnSelectLastPage);
}

void TKWizard::SelectNextPage() {
    Select(FindNextPage(ActivePageIndex(), +1), OnSelectNextPage);
}

void TKWizard::SelectPriorPage() {
    Select(FindNextPage(ActivePageIndex(), -1), OnSelectPriorPage);
}

TKWizardButtonControl* TKWizard::DefaultButton() const noexcept {
    for (TKWizardButtonKind kind : {TKWizardButtonKind::bkNext, TKWizardButtonKind::bkFinish}) {
        TKWizardButtonControl& button = Button(kind);
        if (button.Visible() && button.Enabled())
            return &button;
    }
    return nullptr;
}

void TKWizard::UpdateButtons() {
    if (!buttons_.back())
        return; // still being created
    TKWizardButtonSet enabled = NoPageEnabledButtons;
    TKWizardButtonSet visible = DefaultVisibleButtons;
    if (activePage_) {
        // Back is never offered on the first enabled page; the page keeps
        // that change.
        TKWizardCustomPage* first = FindNextPage(-1, +1);
        if (!first || first == activePage_)
            activePage_->enabledButtons_.Exclude(TKWizardButtonKind::bkBack);
        enabled = activePage_->EnabledButtons();
        visible = activePage_->VisibleButtons();
    }
    bool visibilityChanged = false;
    for (int i = 0; i < WizardButtonKindCount; ++i) {
        TKWizardButtonControl& button = *buttons_[std::size_t(i)];
        const bool show = visible.Contains(TKWizardButtonKind(i));
        if (button.Visible() != show) {
            button.SetVisible(show);
            visibilityChanged = true;
        }
        button.SetEnabled(enabled.Contains(TKWizardButtonKind(i)));
    }
    TKWizardButtonControl* defaultButton = DefaultButton();
    for (auto& button : buttons_)
        button->SetDefault(button.get() == defaultButton);
    if (visibilityChanged)
        LayoutButtons();
}

void TKWizard::LayoutButtons() {
    if (!Handle() || !buttons_.back())
        return;
    const UINT dpi = Dpi();
    RECT client{};
    GetClientRect(Handle(), &client);
    // The bar is laid out in pixels at 96 DPI, then scaled.
    const PixelRect logical{0, 0, MulDiv(client.right, 96, int(dpi)),
                            MulDiv(client.bottom, 96, int(dpi))};
    const TKWizardButtonSet placement =
        activePage_ ? activePage_->VisibleButtons() : DefaultVisibleButtons;
    std::array<int, WizardButtonKindCount> widths{};
    for (int i = 0; i < WizardButtonKindCount; ++i)
        widths[std::size_t(i)] = buttons_[std::size_t(i)]->ButtonWidth();
    buttonBounds_ =
        LayoutWizardButtons(logical, buttonBarHeight_, placement, widths, buttonBounds_);
    for (int i = 0; i < WizardButtonKindCount; ++i) {
        const PixelRect& r = buttonBounds_[std::size_t(i)];
        buttons_[std::size_t(i)]->SetBounds(
            RECT{gui::ScaleToDpi(r.left, dpi), gui::ScaleToDpi(r.top, dpi),
                 gui::ScaleToDpi(r.right, dpi), gui::ScaleToDpi(r.bottom, dpi)});
    }
}

RECT TKWizard::PageArea() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    if (buttonBarHeight_ > WizardCollapsedBarLimit)
        client.bottom -= Scale(buttonBarHeight_);
    if (client.bottom < client.top)
        client.bottom = client.top;
    return client;
}

void TKWizard::AlignPages() {
    const RECT area = PageArea();
    for (int i = 0; i < PageCount(); ++i)
        if (HWND page = pages_.Items(i)->Handle())
            SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left,
                         area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TKWizard::ApplyButtonBar() {
    const int height = ButtonBarHeightFor(
        activePage_ != nullptr, activePage_ ? activePage_->VisibleButtons() : TKWizardButtonSet{});
    if (height != buttonBarHeight_) {
        buttonBarHeight_ = height;
        AlignPages();
        LayoutButtons();
        InvalidateRect(Handle(), nullptr, FALSE);
    }
    UpdateButtons();
}

void TKWizard::SetShowDivider(bool show) {
    showDivider_ = show;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TKWizard::SetColor(TColor color) {
    color_ = color;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TKWizard::SetHeaderImages(ImageList* images) {
    if (headerImages_ == images)
        return;
    if (headerImages_)
        headerImages_->Unsubscribe(headerImagesSubscription_);
    headerImages_ = images;
    headerImagesSubscription_ = 0;
    if (headerImages_)
        headerImagesSubscription_ =
            headerImages_->Subscribe([this](ImageList&, ImageList::Change change) {
                if (change == ImageList::Change::Destroyed) {
                    headerImages_ = nullptr;
                    headerImagesSubscription_ = 0;
                }
                HeaderImagesChanged();
            });
    if (!destroying_)
        HeaderImagesChanged();
}

void TKWizard::HeaderImagesChanged() {
    if (activePage_ && !destroying_)
        activePage_->Invalidate();
}

void TKWizard::AddPage(TKWizardCustomPage& page) {
    pages_.Add(page);
}

void TKWizard::PageLeaving(TKWizardCustomPage& page, bool destroyed) {
    const int index = pages_.IndexOf(&page);
    if (index < 0)
        return;
    TKWizardCustomPage* next = FindNextPage(index, +1);
    pages_.Remove(page);
    // Only the active page's leaving moves the wizard; the others simply go.
    if (activePage_ != &page)
        return;
    if (destroying_ || !Handle()) {
        activePage_ = nullptr;
        return;
    }
    if (destroyed || loading_) {
        // A page being destroyed hears nothing more; it is simply no longer
        // the active one.
        activePage_ = nullptr;
        if (next && !loading_)
            SetActivePage(next);
        else
            ApplyButtonBar();
        return;
    }
    // A page moved elsewhere is left as usual (it hears of it and is hidden).
    SetActivePage(next);
}

void TKWizard::PageDisabled(TKWizardCustomPage& page) {
    if (activePage_ != &page || loading_)
        return;
    const int index = pages_.IndexOf(&page);
    TKWizardCustomPage* next = FindNextPage(index, +1);
    if (!next)
        next = FindNextPage(index, -1);
    SetActivePage(next);
}

void TKWizard::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    if (color_ != ClNone) {
        base::Brush brush(CreateSolidBrush(ResolveColor(color_)));
        FillRect(dc, &client, brush.Get());
    }
    if (buttonBarHeight_ > WizardCollapsedBarLimit && showDivider_) {
        const RECT bar{client.left, client.bottom - Scale(buttonBarHeight_), client.right,
                       client.bottom};
        EtchedLine(dc, bar, EdgeTop);
    }
}

bool TKWizard::DialogKey(const MSG& msg) {
    if (!Handle() || !IsWindowVisible(Handle()))
        return false;
    if (msg.wParam == VK_ESCAPE) {
        HWND focusedButton = nullptr;
        if (KeyBelongsToFocus(msg, focusedButton) && !focusedButton)
            return false; // the focused control takes Esc itself
        TKWizardButtonControl& cancel = Button(TKWizardButtonKind::bkCancel);
        if (!cancel.CanFocus())
            return false;
        cancel.Click();
        return true;
    }
    HWND focusedButton = nullptr;
    if (KeyBelongsToFocus(msg, focusedButton)) {
        if (!focusedButton)
            return false;
        if (auto* button = dynamic_cast<PushButton*>(ChildControl::FromHandle(focusedButton)))
            button->Click();
        else
            SendMessageW(focusedButton, BM_CLICK, 0, 0);
        return true;
    }
    TKWizardButtonControl* button = DefaultButton();
    if (!button || !button->CanFocus())
        return false;
    button->Click();
    return true;
}

LRESULT TKWizard::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (destroying_)
        return DefaultHandler(message, wParam, lParam);
    LRESULT result = 0;
    if (ChildControl::Reflect(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        AlignPages();
        LayoutButtons();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}

LRESULT CALLBACK TKWizard::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data) {
    auto* wizard = reinterpret_cast<TKWizard*>(data);
    if (message == WM_SIZE && wizard->Handle())
        SetWindowPos(wizard->Handle(), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, &TKWizard::ParentProc, id);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace brevalo::controls
