#include "KWizardPage.h"

#include "Accessible.h"
#include "ChildControl.h"
#include "KWizard.h"
#include "Strings.h"

#include <oleacc.h>

namespace brevalo::controls {

namespace {

constexpr wchar_t PageClassName[] = L"TKWizardPage";

} // namespace

// The page's own drawing, as the first of its windowless controls: the form
// fills the background with the page colour, then this paints the
// decorations and the body, then labels placed on the page paint on top.
class TKWizardCustomPage::Surface : public gui::GraphicControl {
public:
    explicit Surface(TKWizardCustomPage& page) : GraphicControl(page), page_(page) {}
    void Paint(HDC dc) override { page_.PaintPage(dc); }

private:
    TKWizardCustomPage& page_;
};

TKWizardCustomPage::TKWizardCustomPage(TKWizard& wizard, TColor color) : color_(color) {
    const RECT area = wizard.PageArea();
    CreateParams params;
    params.className = PageClassName;
    params.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.exStyle = WS_EX_CONTROLPARENT;
    params.parent = wizard.Handle();
    params.x = area.left;
    params.y = area.top;
    params.width = area.right - area.left;
    params.height = area.bottom - area.top;
    CreateHandle(params);
    SetDoubleBuffered(true);
    gui::Form::SetColor(ResolveColor(color_));

    surface_ = std::make_unique<Surface>(*this);
    const RECT client = ClientRectPixels();
    surface_->SetBounds(0, 0, client.right, client.bottom);

    gui::AccessibleInfo info;
    info.name = [this] { return AccessibleName(); };
    info.description = [this] { return AccessibleDescription(); };
    info.role = ROLE_SYSTEM_PROPERTYPAGE;
    gui::SetAccessible(Handle(), std::move(info));

    header_.SetPage(this);
    image_.OnChange = [this] { Invalidate(); };
    panel_.SetPage(this);
    wizard.AddPage(*this);
}

TKWizardCustomPage::~TKWizardCustomPage() {
    if (wizard_)
        wizard_->PageLeaving(*this, true);
    // The window goes while the whole object still exists, so that the
    // messages of its destruction find it intact; then nothing reaches it.
    destroying_ = true;
    if (Handle())
        DestroyWindow(Handle());
}

void TKWizardCustomPage::SetWizard(TKWizard& wizard) {
    if (wizard_ == &wizard)
        return;
    if (wizard_)
        wizard_->PageLeaving(*this, false);
    SetParent(Handle(), wizard.Handle());
    const RECT area = wizard.PageArea();
    SetWindowPos(Handle(), nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    wizard.AddPage(*this);
}

void TKWizardCustomPage::SetEnabledButtons(TKWizardButtonSet buttons) {
    enabledButtons_ = buttons;
    if (wizard_ && wizard_->ActivePage() == this)
        wizard_->UpdateButtons();
}

void TKWizardCustomPage::SetVisibleButtons(TKWizardButtonSet buttons) {
    if (visibleButtons_ == buttons)
        return;
    visibleButtons_ = buttons;
    if (wizard_ && wizard_->ActivePage() == this) {
        wizard_->ApplyButtonBar();
        Invalidate();
    }
}

void TKWizardCustomPage::SetColor(TColor color) {
    color_ = color;
    gui::Form::SetColor(ResolveColor(color));
}

void TKWizardCustomPage::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (Handle())
        SetWindowTextW(Handle(), base::Widen(caption).c_str());
    Invalidate();
}

void TKWizardCustomPage::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    if (Handle())
        EnableWindow(Handle(), enabled);
    if (!enabled && wizard_)
        wizard_->PageDisabled(*this);
}

void TKWizardCustomPage::SetFont(const FontSpec& font) {
    font_ = font;
    header_.PageFontChanged();
    Invalidate();
}

int TKWizardCustomPage::Left() const {
    RECT r = BoundsPixels();
    MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r.left;
}

int TKWizardCustomPage::Top() const {
    RECT r = BoundsPixels();
    MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r.top;
}

int TKWizardCustomPage::Width() const {
    const RECT r = BoundsPixels();
    return r.right - r.left;
}

int TKWizardCustomPage::Height() const {
    const RECT r = BoundsPixels();
    return r.bottom - r.top;
}

RECT TKWizardCustomPage::ChildArea() const {
    return ToRect(PageChildArea(ToPixelRect(ClientRectPixels()), header_.Visible(),
                                Scale(header_.Height()), false, TKWizardLeftRight::alLeft, 0));
}

void TKWizardCustomPage::Realign() {
    if (OnAlign && Handle())
        OnAlign(*this, ChildArea());
}

std::string TKWizardCustomPage::AccessibleName() const {
    if (!accessibleName_.empty())
        return accessibleName_;
    return caption_.empty() ? header_.Title().Text() : caption_;
}

std::string TKWizardCustomPage::AccessibleDescription() const {
    const std::string name = AccessibleName();
    std::string description;
    for (const gui::GraphicControl* control : Graphics()) {
        const std::string text = control->Visible() && !control->FocusControl()
                                     ? control->AccessibleText()
                                     : std::string();
        if (text.empty() || text == name)
            continue;
        if (!description.empty())
            description += ' ';
        description += text;
    }
    return description;
}

void TKWizardCustomPage::Invalidate() {
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TKWizardCustomPage::EnterPage(TKWizardCustomPage* fromPage) {
    if (enabled_ && OnEnterPage)
        OnEnterPage(*this, fromPage);
}

void TKWizardCustomPage::PageShown() {
    Invalidate();
    if (Handle())
        UpdateWindow(Handle());
    if (enabled_ && OnPage)
        OnPage(*this);
}

void TKWizardCustomPage::ExitPage(TKWizardCustomPage* toPage) {
    if (enabled_ && OnExitPage)
        OnExitPage(*this, toPage);
}

void TKWizardCustomPage::PaintPage(HDC dc) {
    if (painting_)
        return;
    painting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{painting_};

    RECT rect = ClientRectPixels();
    PaintDecorations(dc, rect);
    if (OnPaintPage) {
        OnPaintPage(*this, dc, rect);
        return;
    }
    image_.Draw(dc, rect);
    panel_.Paint(dc, rect);
}

LRESULT TKWizardCustomPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (destroying_)
        return DefaultHandler(message, wParam, lParam);
    LRESULT result = 0;
    if (ChildControl::Reflect(message, wParam, lParam, result))
        return result;
    if (message == WM_PRINTCLIENT) {
        // Paints the page into the given device context (PrintWindow).
        Paint(reinterpret_cast<HDC>(wParam), ClientRectPixels());
        return 0;
    }
    if (message == WM_SIZE && surface_) {
        surface_->SetBounds(0, 0, LOWORD(lParam), HIWORD(lParam));
        Invalidate();
        Realign();
    }
    return gui::Form::HandleMessage(message, wParam, lParam);
}

// ---- TKWizardInteriorPage

TKWizardInteriorPage::TKWizardInteriorPage(TKWizard& wizard)
    : TKWizardCustomPage(wizard, clBtnFace) {}

void TKWizardInteriorPage::PaintDecorations(HDC dc, RECT& rect) {
    Header().Paint(dc, rect);
}

// ---- TKWizardWelcomePage

TKWizardWelcomePage::TKWizardWelcomePage(TKWizard& wizard) : TKWizardCustomPage(wizard, clWindow) {
    waterMark_.SetPage(this);
    Header().Title().SetText("Welcome");
    Header().SetShowDivider(false);
}

RECT TKWizardWelcomePage::ChildArea() const {
    const TKWizardPageHeader& header = Header();
    return ToRect(PageChildArea(ToPixelRect(ClientRectPixels()), header.Visible(),
                                Scale(header.Height()), waterMark_.Visible(), waterMark_.Align(),
                                Scale(waterMark_.Width())));
}

void TKWizardWelcomePage::PaintDecorations(HDC dc, RECT& rect) {
    waterMark_.Paint(dc, rect);
    Header().Paint(dc, rect);
}

} // namespace brevalo::controls
