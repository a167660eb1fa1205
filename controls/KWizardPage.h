// The pages of a wizard: child windows of the wizard that fill the area above
// its button bar, are shown one at a time, hold the dialog's controls for
// one step, paint their own decorations (header, watermark, picture, panel)
// and decide which navigation buttons are visible and enabled.
#pragma once

#include "FontSpec.h"
#include "Form.h"
#include "GraphicControl.h"
#include "KWizardObjects.h"
#include "WizardGeometry.h"

#include <functional>
#include <memory>
#include <string>

namespace brevalo::controls {

class TKWizard;
class TKWizardCustomPage;

// Sender, the other page (the one being left when entering, the one about to
// be entered when leaving).
using TKWizardChangePageEvent = std::function<void(TKWizardCustomPage&, TKWizardCustomPage*)>;
// Sender, canvas, in/out body rectangle.
using TKWizardPaintPageEvent = std::function<void(TKWizardCustomPage&, HDC, RECT&)>;
// Sender, in/out Stop (false on entry): true cancels the button's default.
using TKWizardPageClickEvent = std::function<void(TKWizardCustomPage&, bool&)>;
using TKWizardPageNotifyEvent = std::function<void(TKWizardCustomPage&)>;

class TKWizardCustomPage : public gui::Form {
public:
    ~TKWizardCustomPage() override;

    TKWizard* Wizard() const noexcept { return wizard_; }
    // Moves the page to another wizard: it leaves its wizard, is re-parented
    // and appended to the new wizard's pages.
    void SetWizard(TKWizard& wizard);

    TKWizardPageHeader& Header() noexcept { return header_; }
    const TKWizardPageHeader& Header() const noexcept { return header_; }
    TKWizardImage& Image() noexcept { return image_; }
    TKWizardPagePanel& Panel() noexcept { return panel_; }

    TKWizardButtonSet EnabledButtons() const noexcept { return enabledButtons_; }
    void SetEnabledButtons(TKWizardButtonSet buttons);
    TKWizardButtonSet VisibleButtons() const noexcept { return visibleButtons_; }
    void SetVisibleButtons(TKWizardButtonSet buttons);

    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    const FontSpec& Font() const noexcept { return font_; }
    void SetFont(const FontSpec& font);
    bool ShowHint() const noexcept { return showHint_; }
    void SetShowHint(bool show) noexcept { showHint_ = show; }
    int HelpContext() const noexcept { return helpContext_; }
    void SetHelpContext(int context) noexcept { helpContext_ = context; }

    // Bounds in the wizard's client area, in device pixels.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    // The area for aligned child controls: the client rectangle without the
    // header and the watermark.
    virtual RECT ChildArea() const;
    // Re-aligns the children after the decorations changed size (raises
    // OnAlign with the new ChildArea).
    void Realign();

    // Repaints the whole page.
    void Invalidate();

    // For accessibility clients the page is a property page. Its name is the
    // one given here, else its Caption, else its header's title.
    void SetAccessibleName(const std::string& name) { accessibleName_ = name; }
    std::string AccessibleName() const;
    // Its description: the texts on it that label no control, in painting
    // order (the name left out).
    std::string AccessibleDescription() const;

    // Operations the wizard runs; each raises its event only while the page
    // is enabled.
    virtual void EnterPage(TKWizardCustomPage* fromPage);
    virtual void PageShown();
    virtual void ExitPage(TKWizardCustomPage* toPage);

    TKWizardChangePageEvent OnEnterPage;
    TKWizardChangePageEvent OnExitPage;
    TKWizardPageNotifyEvent OnPage;
    TKWizardPaintPageEvent OnPaintPage;
    TKWizardPageClickEvent OnStartButtonClick;
    TKWizardPageClickEvent OnLastButtonClick;
    TKWizardPageClickEvent OnNextButtonClick;
    TKWizardPageClickEvent OnBackButtonClick;
    TKWizardPageClickEvent OnCancelButtonClick;
    TKWizardPageClickEvent OnFinishButtonClick;
    std::function<void(TKWizardCustomPage&, const RECT&)> OnAlign;

protected:
    // Creates the page (hidden) in `wizard` and appends it to its pages.
    TKWizardCustomPage(TKWizard& wizard, TColor color);

    // Paints the decorations and shrinks `rect` to the body; nothing here.
    virtual void PaintDecorations(HDC dc, RECT& rect) {
        (void)dc;
        (void)rect;
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TKWizard;
    friend class TKWizardPageList;
    class Surface;

    // Paints the whole page: decorations, then the body (OnPaintPage, or
    // the picture and the panel).
    void PaintPage(HDC dc);

    TKWizard* wizard_ = nullptr;
    TKWizardPageHeader header_;
    TKWizardImage image_;
    TKWizardPagePanel panel_;
    TKWizardButtonSet enabledButtons_ = TKWizardButtonSet::All();
    TKWizardButtonSet visibleButtons_ = DefaultVisibleButtons;
    TColor color_;
    std::string caption_;
    std::string accessibleName_;
    bool enabled_ = true;
    FontSpec font_ = MessageFontSpec();
    bool showHint_ = false;
    int helpContext_ = 0;
    bool painting_ = false;
    bool destroying_ = false;
    std::unique_ptr<Surface> surface_;
};

// A plain page.
class TKWizardInteriorPage : public TKWizardCustomPage {
public:
    explicit TKWizardInteriorPage(TKWizard& wizard);

protected:
    void PaintDecorations(HDC dc, RECT& rect) override;
};

// A page with a coloured watermark band down one side; its header reads
// "Welcome" and has no divider, and its colour is the window colour.
class TKWizardWelcomePage : public TKWizardCustomPage {
public:
    explicit TKWizardWelcomePage(TKWizard& wizard);

    TKWizardWaterMark& WaterMark() noexcept { return waterMark_; }
    RECT ChildArea() const override;

protected:
    void PaintDecorations(HDC dc, RECT& rect) override;

private:
    TKWizardWaterMark waterMark_;
};

} // namespace brevalo::controls
