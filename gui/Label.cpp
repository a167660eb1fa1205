#include "Label.h"

#include "Form.h"
#include "Mnemonic.h"
#include "Strings.h"

namespace brevalo::gui {

Label::Label(Form& parent) : GraphicControl(parent) {
    RebuildFont();
}

void Label::SetText(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    wideText_ = base::Widen(text);
    AutoSize();
    Invalidate();
}

void Label::SetFont(const std::string& face, int points, BYTE charset, bool bold, bool italic) {
    face_ = face;
    points_ = points;
    charset_ = charset;
    bold_ = bold;
    italic_ = italic;
    RebuildFont();
}

void Label::SetFontName(const std::string& face) {
    face_ = face;
    RebuildFont();
}

void Label::SetFontSize(int points) {
    if (points == points_)
        return;
    points_ = points;
    RebuildFont();
}

void Label::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

void Label::RebuildFont() {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points_, int(Parent().Dpi()), 72);
    lf.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic_;
    lf.lfCharSet = charset_;
    lf.lfQuality = ANTIALIASED_QUALITY;
    const std::wstring face = base::Widen(face_);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    font_.Reset(CreateFontIndirectW(&lf));
    AutoSize();
    Invalidate();
}

void Label::RescaleForDpi(UINT oldDpi, UINT newDpi) {
    GraphicControl::RescaleForDpi(oldDpi, newDpi);
    RebuildFont(); // at the form's new DPI; the size follows the text
}

SIZE SingleLineTextSize(HWND window, HFONT font, const std::wstring& text, UINT prefixFlags) {
    base::WindowDc dc(window);
    if (!dc.Get())
        return SIZE{0, 0};
    base::SelectObjectScope select(dc.Get(), font);
    RECT r{0, 0, 0, 0};
    const std::wstring measured = text.empty() ? L" " : text;
    DrawTextW(dc.Get(), measured.c_str(), int(measured.size()), &r,
              DT_CALCRECT | prefixFlags | DT_SINGLELINE);
    return SIZE{r.right, r.bottom};
}

void Label::AutoSize() {
    HWND hwnd = Parent().Handle();
    // An empty label keeps the height of one line, with no width.
    const SIZE size =
        SingleLineTextSize(hwnd, font_.Get(), wideText_, FocusControl() ? 0 : DT_NOPREFIX);
    if (size.cy == 0)
        return; // no DC to measure with
    SetBounds(Left(), Top(), wideText_.empty() ? 0 : size.cx, size.cy);
}

void Label::Paint(HDC dc) {
    base::SelectObjectScope select(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color_);
    RECT r = Bounds();
    const UINT prefix = FocusControl() ? MnemonicDrawFlags(Parent().Handle()) : DT_NOPREFIX;
    DrawTextW(dc, wideText_.c_str(), int(wideText_.size()), &r,
              prefix | DT_SINGLELINE | DT_NOCLIP);
}

void Label::SetFocusControl(HWND control) {
    GraphicControl::SetFocusControl(control);
    AutoSize();
}

wchar_t Label::Mnemonic() const {
    return FocusControl() ? MnemonicOf(wideText_) : 0;
}

std::string Label::AccessibleText() const {
    return FocusControl() ? WithoutMnemonic(text_) : text_;
}

} // namespace brevalo::gui
