// The colour drop-down button: a colour face and a narrow arrow. The arrow
// opens a palette of "Automatic", 40 colours and "Other Colors..." (the
// system colour dialog); the chosen colour is SelectedColor. Positions are
// pixels at 96 DPI.
#pragma once

#include "ColorButtonGeometry.h"
#include "ColorDialog.h"
#include "ColorPalette.h"
#include "SubColorButton.h"
#include "Window.h"

#include <functional>
#include <string>
#include <vector>

namespace brevalo::controls {

// The picture above the face's colour bar.
enum class TGlyphType { gtBackGround, gtText, gtLines };

class TColorButton : public gui::Window {
public:
    TColorButton() = default;
    ~TColorButton() override;

    void Create(HWND parent, int left, int top, int width = 32, int height = 22);

    // Bounds at 96 DPI, after the size rules.
    int Left() const noexcept { return left_; }
    int Top() const noexcept { return top_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    void SetBounds(int left, int top, int width, int height);

    // Writing a different colour shows it on the face, puts the palette
    // button of that colour down and raises OnColorSelected.
    TColor SelectedColor() const noexcept { return selectedColor_; }
    void SetSelectedColor(TColor color);

    // The palette's metrics. Writing one leaves the word-processor style.
    int Metric(PaletteMetric metric) const { return metrics_[metric]; }
    void SetMetric(PaletteMetric metric, int value);
    const PaletteMetrics& Metrics() const noexcept { return metrics_; }

    int DropDownWidth() const noexcept { return dropDownWidth_; }
    void SetDropDownWidth(int width);
    // The palette has a drag bar and can be torn off.
    bool DropDownMove() const noexcept { return dropDownMove_; }
    void SetDropDownMove(bool move);
    bool DropDownFlat() const noexcept { return dropDownFlat_; }
    void SetDropDownFlat(bool flat);
    bool Flat() const noexcept { return flat_; }
    void SetFlat(bool flat);
    // True restores every metric's default, the flat looks and the drag bar.
    bool WordStyle() const noexcept { return wordStyle_; }
    void SetWordStyle(bool on);
    TGlyphType GlyphType() const noexcept { return glyphType_; }
    void SetGlyphType(TGlyphType type);

    std::string CaptionAutoColor() const { return palette_.Automatic().Caption(); }
    void SetCaptionAutoColor(const std::string& caption);
    std::string CaptionOtherColor() const { return palette_.Other().Caption(); }
    void SetCaptionOtherColor(const std::string& caption);
    std::string DropDownCaption() const { return palette_.Text(); }
    void SetDropDownCaption(const std::string& caption) { palette_.SetText(caption); }
    // "ColorA=BBGGRR" ... "ColorP=BBGGRR".
    std::vector<std::string> CustomColors() const;
    void SetCustomColors(const std::vector<std::string>& colors);

    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetVisible(bool visible);
    // The font of the palette's captions (not owned).
    void SetFont(HFONT font);

    // Opens the palette under the button, as a press on the arrow does. The
    // control is a tab stop: Space, Enter, F4 and Alt+Down open it too.
    void DropDown();
    // Names the control for accessibility clients after its label; they read
    // the chosen colour as its value.
    void SetAccessibleName(const std::string& labelCaption);
    // The chosen colour as clients read it: "Automatic" (the caption) or
    // RRGGBB.
    std::string ColorText(TColor color) const;
    bool Floating() const noexcept { return palette_.Floating(); }

    // The parts, for hosts that need to look at them.
    TSubColorButton& Face() noexcept { return face_; }
    TSpeedButton& Arrow() noexcept { return arrow_; }
    TColorPalette& Palette() noexcept { return palette_; }

    std::function<void(TColorButton&, TColor)> OnColorSelected;
    // Raised on every idle pass of the application while the button shows.
    std::function<void(TColorButton&)> OnUpdate;
    // A click on the face.
    std::function<void(TColorButton&)> OnClick;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AdjustSize();
    void LayoutPaletteIfShowing();
    void Pick(int index);
    void PickOther();
    void PaletteHidden();
    void PartEntered(TSpeedButton& part, bool forwarded);
    void PartLeft(TSpeedButton& part, bool forwarded);
    bool KeepHighlight() const;
    HWND DialogOwner() const;
    bool KeyDown(WPARAM key, bool alt);

    TSubColorButton face_;
    TSpeedButton arrow_;
    TColorPalette palette_;
    gui::ColorDialog dialog_;
    PaletteMetrics metrics_;
    int left_ = 0, top_ = 0, width_ = 32, height_ = 22;
    int dropDownWidth_ = MinDropDownWidth;
    bool dropDownMove_ = true;
    bool dropDownFlat_ = true;
    bool flat_ = true;
    bool wordStyle_ = true;
    TGlyphType glyphType_ = TGlyphType::gtText;
    TColor selectedColor_ = ClDefault;
    HFONT font_ = nullptr;
    int idleHandler_ = 0;
    // The palette was opened from the keyboard: the focus comes back here.
    bool keyboardDropDown_ = false;
};

} // namespace brevalo::controls
