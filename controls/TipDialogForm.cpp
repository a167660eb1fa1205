#include "TipDialogForm.h"

#include "Accessible.h"
#include "GraphicControl.h"
#include "Label.h"

#include <oleacc.h>

#include <chrono>
#include <random>

namespace brevalo::controls {

namespace {

constexpr wchar_t TipFormClassName[] = L"TTipDialogForm";
constexpr char TipHeading[] = "Tip of the day";

// A seed from the high-resolution clock, so that two quick presses of
// "Next Tip" still draw differently.
std::uint64_t ClockSeed() {
    return std::uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

// The panel's lowered bevel and the dotted frame of its info-coloured shape.
class PanelFrame : public gui::GraphicControl {
public:
    using GraphicControl::GraphicControl;
    void Paint(HDC dc) override {
        const RECT r = Bounds();
        base::Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        base::Pen highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
        HGDIOBJ old = SelectObject(dc, shadow.Get());
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
        SelectObject(dc, highlight.Get());
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left - 1, r.bottom - 1);

        // The shape fills the panel inside the bevel.
        base::Pen dotted(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
        base::Brush fill(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
        SelectObject(dc, dotted.Get());
        HGDIOBJ oldBrush = SelectObject(dc, fill.Get());
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, GetSysColor(COLOR_INFOBK));
        Rectangle(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
        SelectObject(dc, oldBrush);
        SelectObject(dc, old);
    }
};

// A glowing yellow light bulb, centred in its bounds.
class LightBulb : public gui::GraphicControl {
public:
    using GraphicControl::GraphicControl;
    void Paint(HDC dc) override {
        const RECT r = Bounds();
        const int size = std::min(r.right - r.left, r.bottom - r.top);
        const int cx = (r.left + r.right) / 2, top = (r.top + r.bottom - size) / 2;
        auto scale = [size](int v) { return v * size / 36; };
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        // The glow: rings fading from pale to the bulb's yellow.
        const COLORREF glow[] = {RGB(255, 250, 205), RGB(255, 244, 160), RGB(255, 236, 110)};
        for (int i = 0; i < 3; ++i) {
            base::Brush brush(CreateSolidBrush(glow[i]));
            HGDIOBJ old = SelectObject(dc, brush.Get());
            const int radius = scale(17 - 2 * i);
            Ellipse(dc, cx - radius, top + scale(14) - radius, cx + radius,
                    top + scale(14) + radius);
            SelectObject(dc, old);
        }
        base::Pen outline(CreatePen(PS_SOLID, 1, RGB(160, 120, 0)));
        SelectObject(dc, outline.Get());
        base::Brush bulb(CreateSolidBrush(RGB(255, 220, 0)));
        HGDIOBJ oldBrush = SelectObject(dc, bulb.Get());
        Ellipse(dc, cx - scale(9), top + scale(5), cx + scale(9), top + scale(24));
        // The screw base.
        base::Brush base(CreateSolidBrush(RGB(150, 150, 150)));
        SelectObject(dc, base.Get());
        Rectangle(dc, cx - scale(5), top + scale(23), cx + scale(5), top + scale(32));
        for (int y : {26, 29}) {
            MoveToEx(dc, cx - scale(5), top + scale(y), nullptr);
            LineTo(dc, cx + scale(5), top + scale(y));
        }
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }
};

} // namespace

std::size_t PickTipIndex(std::uint64_t seed, std::size_t count) {
    if (count == 0)
        return 0;
    std::mt19937_64 generator(seed);
    std::uniform_int_distribution<std::size_t> index(0, count - 1);
    return index(generator);
}

// The info-coloured panel with its frame, the bulb and the two labels.
class TTipDialogForm::Panel : public gui::Form {
public:
    Panel(TTipDialogForm& form, const RECT& bounds) {
        CreateParams params;
        params.className = L"TTipDialogPanel";
        params.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        params.exStyle = WS_EX_CONTROLPARENT;
        params.parent = form.Handle();
        params.x = bounds.left;
        params.y = bounds.top;
        params.width = bounds.right - bounds.left;
        params.height = bounds.bottom - bounds.top;
        CreateHandle(params);
        SetDoubleBuffered(true);
        SetColor(GetSysColor(COLOR_INFOBK));

        frame_ = std::make_unique<PanelFrame>(*this);
        frame_->SetBounds(0, 0, params.width, params.height);
        bulb_ = std::make_unique<LightBulb>(*this);
        const RECT bulb = ScaleRect(16, 16, 36, 36);
        bulb_->SetBounds(bulb.left, bulb.top, bulb.right - bulb.left, bulb.bottom - bulb.top);

        const FontSpec& font = form.FontDescription();
        heading_ = std::make_unique<gui::Label>(*this);
        heading_->SetFont(font.name, font.size, font.charset, true);
        heading_->SetLeft(Scale(64));
        heading_->SetTop(Scale(24));
        heading_->SetText(TipHeading);

        tip_ = std::make_unique<WrappedLabel>(*this, font);
        const RECT tip = ScaleRect(64, 56, 393, 113);
        tip_->SetBounds(tip.left, tip.top, tip.right - tip.left, tip.bottom - tip.top);
    }

    WrappedLabel& Tip() noexcept { return *tip_; }

private:
    std::unique_ptr<PanelFrame> frame_;
    std::unique_ptr<LightBulb> bulb_;
    std::unique_ptr<gui::Label> heading_;
    std::unique_ptr<WrappedLabel> tip_;
};

TTipDialogForm::TTipDialogForm(HWND owner) {
    DialogParams params;
    params.className = TipFormClassName;
    params.caption = "Tip";
    params.clientWidth = 492;
    params.clientHeight = 253;
    params.stayOnTop = true;
    params.owner = owner;
    CreateDialogWindow(params);

    panel_ = std::make_unique<Panel>(*this, ScaleRect(9, 8, 473, 193));
    checkBox_ = std::make_unique<CheckBox>(Handle(), "&Show every time Wizard mode starts",
                                           ScaleRect(9, 205, 265, 17), Font());
    checkBox_->SetVisible(true);
    nextTip_ =
        std::make_unique<PushButton>(Handle(), "&Next Tip", ScaleRect(309, 208, 83, 25), Font());
    nextTip_->SetVisible(true);
    nextTip_->OnClick = [this](PushButton&) { NextTip(); };
    close_ = std::make_unique<PushButton>(Handle(), "Close", ScaleRect(397, 208, 83, 25), Font());
    close_->SetVisible(true);
    close_->OnClick = [this](PushButton&) { Close(); };
    SetCancelButton(close_.get());

    // The tip is text in a picture to accessibility clients: the panel and
    // "Next Tip" carry it as their description.
    gui::AccessibleInfo panel;
    panel.name = [] { return std::string(TipHeading); };
    panel.description = [this] { return TipText(); };
    panel.role = ROLE_SYSTEM_PANE;
    gui::SetAccessible(panel_->Handle(), std::move(panel));
    gui::AccessibleInfo next;
    next.description = [this] { return TipText(); };
    gui::SetAccessible(nextTip_->Handle(), std::move(next));
}

TTipDialogForm::~TTipDialogForm() {
    // The window goes while the controls' objects still exist.
    if (Handle())
        DestroyWindow(Handle());
}

std::string TTipDialogForm::TipText() const {
    return panel_->Tip().Text();
}

void TTipDialogForm::SetTipText(const std::string& text) {
    panel_->Tip().SetText(text);
    gui::NotifyAccessibleChange(nextTip_->Handle(), EVENT_OBJECT_DESCRIPTIONCHANGE);
}

bool TTipDialogForm::ShowAtStart() const noexcept {
    return checkBox_->Checked();
}

void TTipDialogForm::SetShowAtStart(bool show) {
    checkBox_->SetChecked(show);
}

void TTipDialogForm::DoShow() {
    if (tips_.empty())
        tips_.push_back(NoTipsText);
    if (tips_.size() == 1)
        nextTip_->SetEnabled(false);
    ShowRandomTip();
}

void TTipDialogForm::NextTip() {
    if (tips_.empty())
        return;
    ShowRandomTip();
}

void TTipDialogForm::ShowRandomTip() {
    currentIndex_ = int(PickTipIndex(ClockSeed(), tips_.size()));
    SetTipText(tips_[std::size_t(currentIndex_)]);
}

LRESULT TTipDialogForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // Closing releases the window's copy of the tips.
        tips_.clear();
        tips_.shrink_to_fit();
    }
    return DialogForm::HandleMessage(message, wParam, lParam);
}

} // namespace brevalo::controls
