// A transparent text label that sizes itself to its text.
#pragma once

#include "GraphicControl.h"
#include "Handle.h"

#include <string>

namespace brevalo::gui {

// The size of one line of `text` in `font` on the window's screen, without
// prefix processing; an empty text measures as one blank, so that it keeps
// the height of a line. Zero when the window has no DC.
SIZE SingleLineTextSize(HWND window, HFONT font, const std::wstring& text,
                        UINT prefixFlags = DT_NOPREFIX);

class Label : public GraphicControl {
public:
    explicit Label(Form& parent);

    const std::string& Text() const noexcept { return text_; }
    void SetText(const std::string& text);

    // The font: face name, size in points (scaled by the form's DPI),
    // character set, bold and italic.
    void SetFont(const std::string& face, int points, BYTE charset = DEFAULT_CHARSET,
                 bool bold = false, bool italic = false);
    const std::string& FontName() const noexcept { return face_; }
    void SetFontName(const std::string& face);
    int FontSize() const noexcept { return points_; }
    void SetFontSize(int points);

    COLORREF Color() const noexcept { return color_; }
    void SetColor(COLORREF color);

    void Paint(HDC dc) override;
    void RescaleForDpi(UINT oldDpi, UINT newDpi) override;
    // A label of a control shows the mnemonic of its text.
    void SetFocusControl(HWND control) override;
    wchar_t Mnemonic() const override;
    std::string AccessibleText() const override;

private:
    void RebuildFont();
    void AutoSize();

    std::string text_;
    std::wstring wideText_;
    std::string face_ = "Tahoma";
    int points_ = 8;
    BYTE charset_ = DEFAULT_CHARSET;
    bool bold_ = false, italic_ = false;
    COLORREF color_ = RGB(0, 0, 0);
    base::Font font_;
};

} // namespace brevalo::gui
