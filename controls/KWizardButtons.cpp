#include "KWizardButtons.h"

#include "DialogForm.h"
#include "KWizard.h"

#include <algorithm>

namespace brevalo::controls {

namespace {

constexpr int ButtonHeight = WizardButtonHeight;

// One image of `glyph`, `index` images from the left, as a new bitmap.
base::Bitmap GlyphSlice(const gui::Picture& glyph, int width, int index) {
    base::WindowDc screen(nullptr);
    base::Bitmap slice(CreateCompatibleBitmap(screen.Get(), width, glyph.Height()));
    base::MemoryDc from(CreateCompatibleDC(screen.Get())), to(CreateCompatibleDC(screen.Get()));
    if (!slice || !from || !to)
        return slice;
    base::SelectObjectScope selectFrom(from.Get(), glyph.Handle());
    base::SelectObjectScope selectTo(to.Get(), slice.Get());
    BitBlt(to.Get(), 0, 0, width, glyph.Height(), from.Get(), index * width, 0, SRCCOPY);
    return slice;
}

} // namespace

TKWizardButtonControl::TKWizardButtonControl(TKWizard& wizard, TKWizardButtonKind kind,
                                             const std::string& caption, int width,
                                             TKWizardLeftRight alignment)
    : PushButton(wizard.Handle(), caption,
                 RECT{0, 0, wizard.Scale(width), wizard.Scale(ButtonHeight)},
                 DialogForm::Of(wizard.Handle()) ? DialogForm::Of(wizard.Handle())->Font()
                                                 : HFONT(GetStockObject(DEFAULT_GUI_FONT))),
      wizard_(&wizard), kind_(kind), alignment_(alignment), width_(width) {}

TKWizardButtonControl::~TKWizardButtonControl() {
    if (glyphImages_)
        ImageList_Destroy(glyphImages_);
}

void TKWizardButtonControl::SetButtonWidth(int width) {
    if (width_ == width)
        return;
    width_ = width;
    if (wizard_)
        wizard_->LayoutButtons();
}

void TKWizardButtonControl::SetGlyph(const gui::Picture& glyph) {
    glyph_ = glyph;
    ApplyGlyph();
}

void TKWizardButtonControl::SetNumGlyphs(int count) {
    numGlyphs_ = std::clamp(count, 1, 4);
    ApplyGlyph();
}

void TKWizardButtonControl::SetLayout(TButtonLayout layout) {
    layout_ = layout;
    ApplyGlyph();
}

void TKWizardButtonControl::ApplyGlyph() {
    HIMAGELIST images = nullptr;
    if (!glyph_.Empty()) {
        const int width = std::max(1, glyph_.Width() / numGlyphs_);
        images = ImageList_Create(width, glyph_.Height(), ILC_COLOR32 | ILC_MASK, 6, 0);
        if (images) {
            // The button's states: normal, hot, pressed, disabled, default,
            // stylus hot; the glyph gives normal, disabled and pressed.
            const int pressed = numGlyphs_ >= 3 ? 2 : 0;
            const int disabled = numGlyphs_ >= 2 ? 1 : 0;
            const COLORREF transparent = glyph_.TransparentColor();
            for (int slice : {0, 0, pressed, disabled, 0, 0}) {
                base::Bitmap bitmap = GlyphSlice(glyph_, width, slice);
                ImageList_AddMasked(images, bitmap.Get(), transparent);
            }
        }
    }
    BUTTON_IMAGELIST list{};
    list.himl = images;
    switch (layout_) {
    case TButtonLayout::blGlyphLeft:
        list.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
        break;
    case TButtonLayout::blGlyphRight:
        list.uAlign = BUTTON_IMAGELIST_ALIGN_RIGHT;
        break;
    case TButtonLayout::blGlyphTop:
        list.uAlign = BUTTON_IMAGELIST_ALIGN_TOP;
        break;
    case TButtonLayout::blGlyphBottom:
        list.uAlign = BUTTON_IMAGELIST_ALIGN_BOTTOM;
        break;
    }
    SendMessageW(Handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
    if (glyphImages_)
        ImageList_Destroy(glyphImages_);
    glyphImages_ = images;
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TKWizardButtonControl::PageStopped(TKWizardPageClickEvent TKWizardCustomPage::*event) {
    TKWizardCustomPage* page = wizard_ ? wizard_->ActivePage() : nullptr;
    if (!page || !(page->*event))
        return false;
    bool stop = false;
    // A copy: the handler may replace the page's handler while it runs.
    const TKWizardPageClickEvent handler = page->*event;
    handler(*page, stop);
    return stop;
}

void TKWizardButtonControl::OrdinaryClick() {
    if (wizard_)
        if (DialogForm* form = DialogForm::Of(wizard_->Handle()))
            form->SetModalResult(modalResult_);
    PushButton::Click();
}

TKWizardStartButton::TKWizardStartButton(TKWizard& wizard)
    : TKWizardButtonControl(wizard, TKWizardButtonKind::bkStart, "To &Start Page", 85,
                            TKWizardLeftRight::alLeft) {}

void TKWizardStartButton::Click() {
    if (!Wizard() || PageStopped(&TKWizardCustomPage::OnStartButtonClick))
        return;
    TKWizard* wizard = Wizard();
    OrdinaryClick();
    wizard->SelectFirstPage();
}

TKWizardLastButton::TKWizardLastButton(TKWizard& wizard)
    : TKWizardButtonControl(wizard, TKWizardButtonKind::bkLast, "To &Last Page", 85,
                            TKWizardLeftRight::alLeft) {}

void TKWizardLastButton::Click() {
    if (!Wizard() || PageStopped(&TKWizardCustomPage::OnLastButtonClick))
        return;
    TKWizard* wizard = Wizard();
    OrdinaryClick();
    wizard->SelectLastPage();
}

TKWizardBackButton::TKWizardBackButton(TKWizard& wizard)
    : TKWizardButtonControl(wizard, TKWizardButtonKind::bkBack, "< &Back", 75,
                            TKWizardLeftRight::alRight) {
    SetVisible(true);
    SetEnabled(false);
}

void TKWizardBackButton::Click() {
    if (!Wizard() || PageStopped(&TKWizardCustomPage::OnBackButtonClick))
        return;
    TKWizard* wizard = Wizard();
    OrdinaryClick();
    wizard->SelectPriorPage();
}

TKWizardNextButton::TKWizardNextButton(TKWizard& wizard)
    : TKWizardButtonControl(wizard, TKWizardButtonKind::bkNext, "&Next >", 75,
                            TKWizardLeftRight::alRight) {
    SetVisible(true);
    SetEnabled(false);
}

void TKWizardNextButton::Click() {
    if (!Wizard() || PageStopped(&TKWizardCustomPage::OnNextButtonClick))
        return;
    TKWizard* wizard = Wizard();
    OrdinaryClick();
    wizard->SelectNextPage();
}

TKWizardFinishButton::TKWizardFinishButton(TKWizard& wizard)
    : TKWizardButtonControl(wizard, TKWizardButtonKind::bkFinish, "&Finish", 75,
                            TKWizardLeftRight::alRight) {}

void TKWizardFinishButton::Click() {
    if (!Wizard() || PageStopped(&TKWizardCustomPage::OnFinishButtonClick))
        return;
    OrdinaryClick();
}

TKWizardCancelButton::TKWizardCancelButton(TKWizard& wizard)
    : TKWizardButtonControl(wizard, TKWizardButtonKind::bkCancel, "Cancel", 75,
                            TKWizardLeftRight::alRight) {
    SetModalResult(mrCancel);
    SetVisible(true);
}

void TKWizardCancelButton::Click() {
    if (!Wizard() || PageStopped(&TKWizardCustomPage::OnCancelButtonClick))
        return;
    OrdinaryClick();
}

TKWizardHelpButton::TKWizardHelpButton(TKWizard& wizard)
    : TKWizardButtonControl(wizard, TKWizardButtonKind::bkHelp, "&Help", 75,
                            TKWizardLeftRight::alLeft) {}

void TKWizardHelpButton::Click() {
    TKWizard* wizard = Wizard();
    if (!wizard)
        return;
    int context = 0;
    if (TKWizardCustomPage* page = wizard->ActivePage())
        context = page->HelpContext();
    else if (DialogForm* form = DialogForm::Of(wizard->Handle()))
        context = form->HelpContext();
    if (context != 0 && wizard->OnHelp)
        wizard->OnHelp(*wizard, context);
}

} // namespace brevalo::controls
