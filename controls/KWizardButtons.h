// The seven navigation buttons of a wizard and the wrappers through which
// the wizard exposes them. Each button kind has its own class whose click
// first asks the active page (which may stop it), then does the button's
// ordinary click (the dialog's modal result and the wizard-level event),
// then, for Start, Last, Back and Next, moves.
#pragma once

#include "ChildControl.h"
#include "KWizardPage.h"
#include "Picture.h"
#include "WizardGeometry.h"

#include <commctrl.h>

#include <string>

namespace brevalo::controls {

class TKWizard;

// Where a button's glyph stands beside its caption.
enum class TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TKWizardButtonControl : public PushButton {
public:
    ~TKWizardButtonControl() override;

    TKWizard* Wizard() const noexcept { return wizard_; }
    TKWizardButtonKind Kind() const noexcept { return kind_; }
    // The side of the bar the button stands on.
    TKWizardLeftRight Alignment() const noexcept { return alignment_; }

    int ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(int result) noexcept { modalResult_ = result; }

    // Width in pixels at 96 DPI; changing it lays the bar out again.
    int ButtonWidth() const noexcept { return width_; }
    void SetButtonWidth(int width);

    const gui::Picture& Glyph() const noexcept { return glyph_; }
    void SetGlyph(const gui::Picture& glyph);
    // The glyph holds this many images side by side: normal, disabled,
    // pressed (the ones beyond are not used).
    int NumGlyphs() const noexcept { return numGlyphs_; }
    void SetNumGlyphs(int count);
    TButtonLayout Layout() const noexcept { return layout_; }
    void SetLayout(TButtonLayout layout);

protected:
    TKWizardButtonControl(TKWizard& wizard, TKWizardButtonKind kind, const std::string& caption,
                          int width, TKWizardLeftRight alignment);

    // Raises the active page's event; true when it set Stop.
    bool PageStopped(TKWizardPageClickEvent TKWizardCustomPage::*event);
    // The dialog's modal result becomes the button's, then the wizard-level
    // click event (the button's OnClick) is raised.
    void OrdinaryClick();

private:
    friend class TKWizard;
    void ApplyGlyph();

    TKWizard* wizard_;
    TKWizardButtonKind kind_;
    TKWizardLeftRight alignment_;
    int modalResult_ = 0;
    int width_;
    gui::Picture glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    HIMAGELIST glyphImages_ = nullptr;
};

class TKWizardStartButton : public TKWizardButtonControl {
public:
    explicit TKWizardStartButton(TKWizard& wizard);
    void Click() override;
};

class TKWizardLastButton : public TKWizardButtonControl {
public:
    explicit TKWizardLastButton(TKWizard& wizard);
    void Click() override;
};

class TKWizardBackButton : public TKWizardButtonControl {
public:
    explicit TKWizardBackButton(TKWizard& wizard);
    void Click() override;
};

class TKWizardNextButton : public TKWizardButtonControl {
public:
    explicit TKWizardNextButton(TKWizard& wizard);
    void Click() override;
};

class TKWizardFinishButton : public TKWizardButtonControl {
public:
    explicit TKWizardFinishButton(TKWizard& wizard);
    void Click() override;
};

class TKWizardCancelButton : public TKWizardButtonControl {
public:
    explicit TKWizardCancelButton(TKWizard& wizard);
    void Click() override;
};

class TKWizardHelpButton : public TKWizardButtonControl {
public:
    explicit TKWizardHelpButton(TKWizard& wizard);
    void Click() override;
};

// The wizard's view of one button: its caption, glyph, modal result and
// width.
class TKWizardNavigateButton {
public:
    explicit TKWizardNavigateButton(TKWizardButtonControl& control) : control_(&control) {}

    TKWizardButtonControl& Control() const noexcept { return *control_; }

    std::string Caption() const { return control_->Text(); }
    void SetCaption(const std::string& caption) { control_->SetText(caption); }
    const gui::Picture& Glyph() const noexcept { return control_->Glyph(); }
    void SetGlyph(const gui::Picture& glyph) { control_->SetGlyph(glyph); }
    int NumGlyphs() const noexcept { return control_->NumGlyphs(); }
    void SetNumGlyphs(int count) { control_->SetNumGlyphs(count); }
    TButtonLayout Layout() const noexcept { return control_->Layout(); }
    void SetLayout(TButtonLayout layout) { control_->SetLayout(layout); }
    int ModalResult() const noexcept { return control_->ModalResult(); }
    void SetModalResult(int result) noexcept { control_->SetModalResult(result); }
    int Width() const noexcept { return control_->ButtonWidth(); }
    void SetWidth(int width) { control_->SetButtonWidth(width); }

private:
    TKWizardButtonControl* control_;
};

} // namespace brevalo::controls
