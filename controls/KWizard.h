// The wizard control: a child window that holds an ordered list of pages,
// shows one of them (the active page) and draws a bar of up to seven
// navigation buttons along its bottom edge. Pages decide which buttons are
// visible and enabled and may intercept every button press; the wizard
// moves between the enabled pages in list order.
//
// Pages are created with the wizard they join and are owned by whoever
// created them (normally the dialog, next to the wizard). Inside a
// DialogForm, Enter presses Next or Finish and Esc presses Cancel; other
// hosts pass those keys to the wizard themselves.
#pragma once

#include "DialogForm.h"
#include "KWizardButtons.h"
#include "KWizardObjects.h"
#include "KWizardPage.h"
#include "Window.h"
#include "WizardGeometry.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace brevalo::controls {

class ImageList;

// Sender, the page being left, in/out the page proposed (null cancels).
using TKWizardSelectPageEvent =
    std::function<void(TKWizard&, TKWizardCustomPage*, TKWizardCustomPage*&)>;
// Sender = the button.
using TKWizardButtonClickEvent = std::function<void(PushButton&)>;

// The pages of a wizard in the order they were added. Adding a page tells
// it its wizard; removing it clears that.
class TKWizardPageList {
public:
    explicit TKWizardPageList(TKWizard& wizard) : wizard_(wizard) {}

    TKWizard& Wizard() const noexcept { return wizard_; }
    int Count() const noexcept { return int(pages_.size()); }
    TKWizardCustomPage* Items(int index) const noexcept;
    TKWizardCustomPage* operator[](int index) const noexcept { return Items(index); }
    int IndexOf(const TKWizardCustomPage* page) const noexcept;

    void Add(TKWizardCustomPage& page);
    void Remove(TKWizardCustomPage& page);
    // Forgets every page without telling the wizard (the wizard is going).
    void DetachAll() noexcept;

private:
    TKWizard& wizard_;
    std::vector<TKWizardCustomPage*> pages_;
};

class TKWizard : public gui::Window, public DialogKeyHandler {
public:
    // Creates the wizard in `parent`, filling its client area (it follows
    // the parent's size). Throws OsError.
    explicit TKWizard(HWND parent);
    ~TKWizard() override;

    // While loading, the dialog builds the pages; assignments of ActivePage
    // are ignored. Loaded lays the buttons out and selects the first page.
    void BeginLoading() noexcept { loading_ = true; }
    void Loaded();
    bool Loading() const noexcept { return loading_; }

    TKWizardPageList& Pages() noexcept { return pages_; }
    int PageCount() const noexcept { return pages_.Count(); }

    TKWizardCustomPage* ActivePage() const noexcept { return activePage_; }
    void SetActivePage(TKWizardCustomPage* page);
    int ActivePageIndex() const noexcept { return pages_.IndexOf(activePage_); }
    void SetActivePageIndex(int index);

    void SelectFirstPage();
    void SelectLastPage();
    void SelectNextPage();
    void SelectPriorPage();
    // The page `step` (+1 or -1) away from `index`, skipping disabled pages
    // when asked; null past either end.
    TKWizardCustomPage* FindNextPage(int index, int step, bool skipDisabled = true) const;

    TKWizardNavigateButton& ButtonStart() noexcept { return Navigate(TKWizardButtonKind::bkStart); }
    TKWizardNavigateButton& ButtonLast() noexcept { return Navigate(TKWizardButtonKind::bkLast); }
    TKWizardNavigateButton& ButtonBack() noexcept { return Navigate(TKWizardButtonKind::bkBack); }
    TKWizardNavigateButton& ButtonNext() noexcept { return Navigate(TKWizardButtonKind::bkNext); }
    TKWizardNavigateButton& ButtonFinish() noexcept {
        return Navigate(TKWizardButtonKind::bkFinish);
    }
    TKWizardNavigateButton& ButtonCancel() noexcept {
        return Navigate(TKWizardButtonKind::bkCancel);
    }
    TKWizardNavigateButton& ButtonHelp() noexcept { return Navigate(TKWizardButtonKind::bkHelp); }
    TKWizardNavigateButton& Navigate(TKWizardButtonKind kind) noexcept {
        return *navigate_[std::size_t(kind)];
    }
    TKWizardButtonControl& Button(TKWizardButtonKind kind) const noexcept {
        return *buttons_[std::size_t(kind)];
    }
    // The button Enter presses: Next while visible and enabled, else Finish
    // while visible and enabled, else none.
    TKWizardButtonControl* DefaultButton() const noexcept;

    bool ShowDivider() const noexcept { return showDivider_; }
    void SetShowDivider(bool show);
    // Visibility of an attached page-overview view; none is attached here.
    bool ShowRouteMap() const noexcept { return showRouteMap_; }
    void SetShowRouteMap(bool show) noexcept { showRouteMap_ = show; }
    ImageList* HeaderImages() const noexcept { return headerImages_; }
    void SetHeaderImages(ImageList* images);
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color);

    // 42 while buttons are shown, 0 when the active page shows none (pixels
    // at 96 DPI).
    int ButtonBarHeight() const noexcept { return buttonBarHeight_; }
    // The area the pages fill, in device pixels of the client area.
    RECT PageArea() const;

    void UpdateButtons();
    void LayoutButtons();

    // Enter (the default button) and Esc (Cancel); true when handled.
    bool DialogKey(const MSG& msg) override;

    TKWizardSelectPageEvent OnSelectFirstPage;
    TKWizardSelectPageEvent OnSelectLastPage;
    TKWizardSelectPageEvent OnSelectNextPage;
    TKWizardSelectPageEvent OnSelectPriorPage;
    // The wizard-level click events are the buttons' own click events.
    void SetOnStartButtonClick(TKWizardButtonClickEvent e) {
        SetClick(TKWizardButtonKind::bkStart, e);
    }
    void SetOnLastButtonClick(TKWizardButtonClickEvent e) {
        SetClick(TKWizardButtonKind::bkLast, e);
    }
    void SetOnBackButtonClick(TKWizardButtonClickEvent e) {
        SetClick(TKWizardButtonKind::bkBack, e);
    }
    void SetOnNextButtonClick(TKWizardButtonClickEvent e) {
        SetClick(TKWizardButtonKind::bkNext, e);
    }
    void SetOnFinishButtonClick(TKWizardButtonClickEvent e) {
        SetClick(TKWizardButtonKind::bkFinish, e);
    }
    void SetOnCancelButtonClick(TKWizardButtonClickEvent e) {
        SetClick(TKWizardButtonKind::bkCancel, e);
    }
    const TKWizardButtonClickEvent& OnButtonClick(TKWizardButtonKind kind) const noexcept {
        return Button(kind).OnClick;
    }
    // Opens the application's help at a help context (the Help button).
    std::function<void(TKWizard&, int context)> OnHelp;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TKWizardCustomPage;
    friend class TKWizardButtonControl;

    static std::unique_ptr<TKWizardButtonControl> CreateButton(TKWizard& wizard,
                                                               TKWizardButtonKind kind);
    void SetClick(TKWizardButtonKind kind, TKWizardButtonClickEvent handler) {
        Button(kind).OnClick = std::move(handler);
    }
    void Select(TKWizardCustomPage* candidate, const TKWizardSelectPageEvent& event);

    // Page membership and state changes reported by the pages.
    void AddPage(TKWizardCustomPage& page);
    void PageLeaving(TKWizardCustomPage& page, bool destroyed);
    void PageDisabled(TKWizardCustomPage& page);
    // The bar's height for the active page; re-aligns and lays out when it
    // changed; updates the buttons in every case.
    void ApplyButtonBar();
    void AlignPages();
    void Paint(HDC dc);
    void HeaderImagesChanged();

    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);

    TKWizardPageList pages_{*this};
    TKWizardCustomPage* activePage_ = nullptr;
    std::array<std::unique_ptr<TKWizardButtonControl>, WizardButtonKindCount> buttons_;
    std::array<std::unique_ptr<TKWizardNavigateButton>, WizardButtonKindCount> navigate_;
    // The buttons' bounds in pixels at 96 DPI, as last laid out.
    std::array<PixelRect, WizardButtonKindCount> buttonBounds_{};
    int buttonBarHeight_ = WizardButtonBarHeight;
    bool showDivider_ = true;
    bool showRouteMap_ = false;
    ImageList* headerImages_ = nullptr;
    int headerImagesSubscription_ = 0;
    TColor color_;
    bool loading_ = false;
    bool destroying_ = false;
    HWND parent_ = nullptr;
    DialogForm* keyForm_ = nullptr;
};

} // namespace brevalo::controls
