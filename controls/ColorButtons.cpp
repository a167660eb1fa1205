#include "ColorButtons.h"

#include "Accessible.h"
#include "Application.h"
#include "CustomColors.h"
#include "Dpi.h"
#include "Mnemonic.h"
#include "OsError.h"

#include <oleacc.h>

#include <utility>

namespace brevalo::controls {

namespace {

constexpr int ArrowGroup = 2;
// Posted to the control when the palette that the keyboard opened is gone.
constexpr UINT RestoreFocusMessage = WM_APP + 0x43;
// The face pictures and the arrow have a silver background.
constexpr COLORREF GlyphTransparent = RGB(192, 192, 192);

const wchar_t* GlyphResource(TGlyphType type) {
    switch (type) {
    case TGlyphType::gtBackGround:
        return L"TCOLOTBUTTON_BACKGROUD";
    case TGlyphType::gtLines:
        return L"TCOLORBUTTON_LINES";
    case TGlyphType::gtText:
        break;
    }
    return L"TCOLORBUTTON_TEXT";
}

} // namespace

TColorButton::~TColorButton() {
    if (idleHandler_)
        gui::Application::Instance().RemoveIdleHandler(idleHandler_);
    palette_.OnHidden = nullptr;
    palette_.Hide();
}

void TColorButton::Create(HWND parent, int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    const UINT dpi = gui::WindowDpi(parent);
    CreateParams params;
    params.className = L"BrevaloColorButton";
    params.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP;
    params.parent = parent;
    params.x = gui::ScaleToDpi(left, dpi);
    params.y = gui::ScaleToDpi(top, dpi);
    params.width = gui::ScaleToDpi(width, dpi);
    params.height = gui::ScaleToDpi(height, dpi);
    params.classStyle = 0;
    params.background = GetSysColorBrush(COLOR_BTNFACE);
    CreateHandle(params);

    face_.Create(Handle(), 0, 0, 1, 1);
    face_.SetColor(selectedColor_);
    face_.OnClick = [this](TSpeedButton&) {
        if (OnClick)
            OnClick(*this);
    };
    arrow_.Create(Handle(), 0, 0, 1, 1);
    arrow_.SetGlyph(Glyph::FromResource(L"TCOLORBUTTON_DROPDOWN", 1, GlyphTransparent));
    arrow_.SetGroupIndex(ArrowGroup);
    arrow_.SetAllowAllUp(true);
    arrow_.OnMouseDown = [this](TSpeedButton&) { DropDown(); };
    for (TSpeedButton* part : {static_cast<TSpeedButton*>(&face_), &arrow_}) {
        part->OnMouseEnter = [this](TSpeedButton& p, bool forwarded) { PartEntered(p, forwarded); };
        part->OnMouseLeave = [this](TSpeedButton& p, bool forwarded) { PartLeft(p, forwarded); };
        part->StayHighlighted = [this] { return KeepHighlight(); };
    }
    SetGlyphType(glyphType_);

    palette_.Create(GetAncestor(parent, GA_ROOT), "Text Color Window");
    palette_.Automatic().SetCaption("Automatic");
    palette_.Other().SetCaption("Other Colors...");
    palette_.OnPick = [this](int index) { Pick(index); };
    palette_.ItemText = [this](int index) {
        if (index == TColorPalette::AutomaticIndex)
            return gui::WithoutMnemonic(palette_.Automatic().Caption());
        if (index == TColorPalette::OtherIndex)
            return gui::WithoutMnemonic(palette_.Other().Caption());
        return ColorText(palette_.Cell(index).Color());
    };
    palette_.OnHidden = [this] { PaletteHidden(); };
    palette_.OnFloat = [this] {
        arrow_.SetDown(false);
        arrow_.ClearHover();
    };
    dialog_.SetFullOpen(true);

    idleHandler_ = gui::Application::Instance().AddIdleHandler([this] {
        if (OnUpdate && Handle() && IsWindowVisible(Handle()))
            OnUpdate(*this);
    });
    SetWordStyle(true);
}

void TColorButton::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    AdjustSize();
}

void TColorButton::AdjustSize() {
    const ColorButtonSize size = AdjustColorButtonSize(width_, height_, dropDownWidth_);
    width_ = size.width;
    height_ = size.height;
    dropDownWidth_ = size.dropDownWidth;
    if (!Handle())
        return;
    base::CheckOs(SetWindowPos(Handle(), nullptr, Scale(left_), Scale(top_), Scale(width_),
                              Scale(height_), SWP_NOZORDER | SWP_NOACTIVATE));
    const int faceRight = Scale(size.face.right), bottom = Scale(size.height);
    face_.SetBoundsPixels(0, 0, faceRight, bottom);
    arrow_.SetBoundsPixels(faceRight, 0, Scale(size.arrow.right) - faceRight, bottom);
}

void TColorButton::SetSelectedColor(TColor color) {
    if (color == selectedColor_)
        return;
    face_.SetColor(color);
    selectedColor_ = color;
    std::array<TColor, PaletteCellCount> cells{};
    for (int i = 0; i < PaletteCellCount; ++i)
        cells[std::size_t(i)] = palette_.Cell(i).Color();
    const PaletteChoice choice = FindPaletteButton(color, palette_.Automatic().Color(), cells);
    if (choice.automatic) {
        palette_.Automatic().SetDown(true);
    } else {
        palette_.Automatic().SetDown(false);
        for (int i = 0; i < PaletteCellCount; ++i)
            palette_.Cell(i).SetDown(i == choice.cell);
    }
    if (Handle())
        gui::NotifyAccessibleChange(Handle(), EVENT_OBJECT_VALUECHANGE);
    if (OnColorSelected)
        OnColorSelected(*this, color);
}

std::string TColorButton::ColorText(TColor color) const {
    if (color == palette_.Automatic().Color())
        return gui::WithoutMnemonic(palette_.Automatic().Caption());
    return ColourToString(TColor(std::uint32_t(ColorToRgb(color))));
}

void TColorButton::SetAccessibleName(const std::string& labelCaption) {
    gui::AccessibleInfo info;
    info.name = [name = gui::WithoutMnemonic(labelCaption)] { return name; };
    info.keyboardShortcut = gui::MnemonicShortcut(labelCaption);
    info.role = ROLE_SYSTEM_BUTTONDROPDOWN;
    info.value = [this] { return ColorText(selectedColor_); };
    gui::SetAccessible(Handle(), std::move(info));
}

void TColorButton::SetMetric(PaletteMetric metric, int value) {
    if (!WritePaletteMetric(metrics_, metric, value))
        return;
    wordStyle_ = false;
    LayoutPaletteIfShowing();
}

void TColorButton::LayoutPaletteIfShowing() {
    if (!palette_.Showing())
        return;
    palette_.SetMetrics(metrics_, Dpi());
    palette_.Layout(dropDownMove_ && !palette_.Floating());
}

void TColorButton::SetDropDownWidth(int width) {
    dropDownWidth_ = width;
    AdjustSize();
}

void TColorButton::SetDropDownMove(bool move) {
    dropDownMove_ = move;
    if (palette_.Floating())
        palette_.Hide();
}

void TColorButton::SetDropDownFlat(bool flat) {
    dropDownFlat_ = flat;
    palette_.ForEachButton([flat](TSpeedButton& button) { button.SetFlat(flat); });
}

void TColorButton::SetFlat(bool flat) {
    flat_ = flat;
    face_.SetFlat(flat);
    arrow_.SetFlat(flat);
}

void TColorButton::SetWordStyle(bool on) {
    wordStyle_ = on;
    if (!on)
        return;
    SetFlat(true);
    SetDropDownFlat(true);
    metrics_ = PaletteMetrics{};
    dropDownWidth_ = MinDropDownWidth;
    AdjustSize();
    dropDownMove_ = true;
    palette_.SetMetrics(metrics_, Dpi());
    palette_.Layout(!palette_.Floating());
}

void TColorButton::SetGlyphType(TGlyphType type) {
    glyphType_ = type;
    face_.SetGlyph(Glyph::FromResource(GlyphResource(type), 2, GlyphTransparent));
}

void TColorButton::SetCaptionAutoColor(const std::string& caption) {
    palette_.Automatic().SetCaption(caption);
}

void TColorButton::SetCaptionOtherColor(const std::string& caption) {
    palette_.Other().SetCaption(caption);
}

std::vector<std::string> TColorButton::CustomColors() const {
    CustomColorArray colors{};
    const auto& custom = dialog_.CustomColors();
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = TColor(custom[i]);
    return CustomColorsToList(colors);
}

void TColorButton::SetCustomColors(const std::vector<std::string>& list) {
    const CustomColorArray colors = CustomColorsFromList(list);
    for (std::size_t i = 0; i < colors.size(); ++i)
        dialog_.SetCustomColor(i, COLORREF(colors[i]));
}

bool TColorButton::Enabled() const {
    return Handle() && IsWindowEnabled(Handle());
}

void TColorButton::SetEnabled(bool enabled) {
    EnableWindow(Handle(), enabled);
    face_.SetEnabled(enabled);
    arrow_.SetEnabled(enabled);
    palette_.ForEachButton([enabled](TSpeedButton& button) { button.SetEnabled(enabled); });
}

void TColorButton::SetVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TColorButton::SetFont(HFONT font) {
    font_ = font;
    palette_.ForEachButton([font](TSpeedButton& button) { button.SetFont(font); });
}

void TColorButton::DropDown() {
    palette_.Dock();
    palette_.SetMetrics(metrics_, Dpi());
    palette_.Layout(dropDownMove_);
    RECT control{}, window{};
    GetWindowRect(Handle(), &control);
    GetWindowRect(palette_.Handle(), &window);
    const PixelPoint at =
        PlacePalette(PixelRect{control.left, control.top, control.right, control.bottom},
                     window.right - window.left, window.bottom - window.top,
                     GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    keyboardDropDown_ = GetFocus() == Handle();
    palette_.ShowAt(at.x, at.y);
}

void TColorButton::Pick(int index) {
    if (!palette_.Floating())
        palette_.Hide();
    if (index == TColorPalette::OtherIndex) {
        PickOther();
        return;
    }
    TSubColorButton& button =
        index == TColorPalette::AutomaticIndex ? palette_.Automatic() : palette_.Cell(index);
    button.SetDown(true);
    SetSelectedColor(button.Color());
}

HWND TColorButton::DialogOwner() const {
    return palette_.Floating() && palette_.Showing() ? palette_.Handle()
                                                     : GetAncestor(Handle(), GA_ROOT);
}

void TColorButton::PickOther() {
    dialog_.SetColor(ColorToRgb(selectedColor_));
    if (dialog_.Execute(DialogOwner()))
        SetSelectedColor(TColor(dialog_.Color()));
}

void TColorButton::PaletteHidden() {
    arrow_.SetDown(false);
    face_.ClearHover();
    arrow_.ClearHover();
    // The focus comes back once the system has activated the dialog again.
    if (std::exchange(keyboardDropDown_, false))
        PostMessageW(Handle(), RestoreFocusMessage, 0, 0);
}

bool TColorButton::KeyDown(WPARAM key, bool alt) {
    if (key == VK_F4 || (alt && key == VK_DOWN)) {
        DropDown();
        return true;
    }
    return false;
}

void TColorButton::PartEntered(TSpeedButton& part, bool forwarded) {
    if (forwarded)
        return;
    TSpeedButton& other = &part == &arrow_ ? static_cast<TSpeedButton&>(face_) : arrow_;
    other.SetHover(true, true);
}

void TColorButton::PartLeft(TSpeedButton& part, bool forwarded) {
    if (forwarded)
        return;
    TSpeedButton& other = &part == &arrow_ ? static_cast<TSpeedButton&>(face_) : arrow_;
    other.SetHover(false, true);
}

bool TColorButton::KeepHighlight() const {
    return arrow_.Down() || (palette_.Showing() && !palette_.Floating());
}

LRESULT TColorButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE:
        // A button that is not the default one: Enter presses it.
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        face_.SetFocusRect(message == WM_SETFOCUS);
        return 0;
    case BM_CLICK:
        DropDown();
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            DropDown();
            return 0;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (KeyDown(wParam, message == WM_SYSKEYDOWN))
            return 0;
        break;
    case RestoreFocusMessage:
        if (GetForegroundWindow() == GetAncestor(Handle(), GA_ROOT) && IsWindowVisible(Handle()))
            SetFocus(Handle());
        return 0;
    case WM_ENABLE:
        face_.SetEnabled(wParam != 0);
        arrow_.SetEnabled(wParam != 0);
        palette_.ForEachButton([on = wParam != 0](TSpeedButton& button) { button.SetEnabled(on); });
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace brevalo::controls
