// The decorations a wizard page paints on itself: the header band with its
// title and subtitle, the watermark band of a welcome page, the page's
// picture and the framed panel. They are small value objects owned by their
// page, not windows; every change repaints the page.
#pragma once

#include "FontSpec.h"
#include "KCommon.h"
#include "Picture.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace brevalo::controls {

class TKWizardCustomPage;
class TKWizardPageHeader;

// Text alignment of a title; only left alignment is painted differently
// from the others so far (all paint left-aligned).
enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

class TKWizardGraphicObject {
public:
    TKWizardGraphicObject(const TKWizardGraphicObject&) = delete;
    TKWizardGraphicObject& operator=(const TKWizardGraphicObject&) = delete;
    virtual ~TKWizardGraphicObject() = default;

    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);

    // Asks whatever shows the object to repaint it.
    virtual void Invalidate() = 0;
    // Paints into `rect` and shrinks it by the space used.
    virtual void Paint(HDC dc, RECT& rect) = 0;

protected:
    TKWizardGraphicObject(TColor color, bool visible) : color_(color), visible_(visible) {}
    virtual void VisibilityChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }

private:
    TColor color_;
    bool visible_;
};

class TKWizardPageObject : public TKWizardGraphicObject {
public:
    TKWizardCustomPage* Page() const noexcept { return page_; }
    void SetPage(TKWizardCustomPage* page);

    void Invalidate() override;

protected:
    using TKWizardGraphicObject::TKWizardGraphicObject;
    virtual void PageAttached() {}
    // A length in pixels at 96 DPI, scaled to the page's DPI.
    int Scale(int pixels96) const noexcept;

private:
    TKWizardCustomPage* page_ = nullptr;
};

// A picture with its placement; every change is reported through OnChange.
class TKWizardImage {
public:
    TKWizardImage();
    TKWizardImage(const TKWizardImage&) = delete;
    TKWizardImage& operator=(const TKWizardImage&) = delete;

    gui::Picture& Picture() noexcept { return picture_; }
    const gui::Picture& Picture() const noexcept { return picture_; }
    void SetPicture(const gui::Picture& picture) { picture_ = picture; }

    TKImageAlignment Alignment() const noexcept { return alignment_; }
    void SetAlignment(TKImageAlignment alignment);
    TKImageLayout Layout() const noexcept { return layout_; }
    void SetLayout(TKImageLayout layout);
    // The picture's own transparency.
    bool Transparent() const noexcept { return picture_.Transparent(); }
    void SetTransparent(bool transparent) { picture_.SetTransparent(transparent); }

    void Draw(HDC dc, const RECT& rect) const;

    std::function<void()> OnChange;

private:
    void Changed() const;

    gui::Picture picture_;
    TKImageAlignment alignment_ = TKImageAlignment::iaStretch;
    TKImageLayout layout_ = TKImageLayout::ilStretch;
};

// The title or subtitle of a page header.
class TKWizardPageTitle : public TKWizardGraphicObject {
public:
    TKWizardPageTitle(std::string text, unsigned anchors);

    const std::string& Text() const noexcept { return text_; }
    void SetText(const std::string& text);
    unsigned Anchors() const noexcept { return anchors_; }
    void SetAnchors(unsigned anchors);
    int AnchorPlacement() const noexcept { return anchorPlacement_; }
    void SetAnchorPlacement(int placement);
    int Indent() const noexcept { return indent_; }
    void SetIndent(int indent);
    TAlignment Alignment() const noexcept { return alignment_; }
    void SetAlignment(TAlignment alignment);

    const FontSpec& Font() const noexcept { return font_; }
    // Replacing the whole font is ignored while the header takes its font
    // from the page; single attributes can always be changed.
    void SetFont(const FontSpec& font);
    void SetFontName(const std::string& name);
    void SetFontSize(int points);
    void SetFontStyle(bool bold, bool italic = false, bool underline = false);
    void SetFontColor(TColor color);

    TKWizardPageHeader* Header() const noexcept { return header_; }

    void Invalidate() override;
    // Paints into the area and moves its top to the bottom of the title.
    void Paint(HDC dc, RECT& area) override;
    // Where the title stands in `area`, measured with `dc`'s current font.
    virtual RECT TextRect(HDC dc, const RECT& area) const;

private:
    friend class TKWizardPageHeader;
    void Attach(TKWizardPageHeader* header) noexcept { header_ = header; }
    // The page font's name and character set, from the header.
    void TakeParentFont(const std::string& name, BYTE charset);
    int Scale(int pixels96) const noexcept;

    std::string text_;
    unsigned anchors_;
    int anchorPlacement_ = 4;
    int indent_ = 0;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    FontSpec font_;
    TKWizardPageHeader* header_ = nullptr;
};

class TKWizardPageHeader : public TKWizardPageObject {
public:
    TKWizardPageHeader();

    int Height() const noexcept { return height_; }
    void SetHeight(int height);
    bool ParentFont() const noexcept { return parentFont_; }
    void SetParentFont(bool parentFont);
    int ImageIndex() const noexcept { return imageIndex_; }
    void SetImageIndex(int index);
    int ImageOffset() const noexcept { return imageOffset_; }
    void SetImageOffset(int offset);
    TKImageLeftRight ImageAlignment() const noexcept { return imageAlignment_; }
    void SetImageAlignment(TKImageLeftRight alignment);
    bool ShowDivider() const noexcept { return showDivider_; }
    void SetShowDivider(bool show);

    TKWizardPageTitle& Title() noexcept { return title_; }
    const TKWizardPageTitle& Title() const noexcept { return title_; }
    TKWizardPageTitle& Subtitle() noexcept { return subtitle_; }

    void Paint(HDC dc, RECT& rect) override;
    // The header image's rectangle in the header rectangle `header`.
    virtual RECT ImageRect(const RECT& header, int imageWidth, int imageHeight) const;

    // The page's font has changed.
    void PageFontChanged();

protected:
    void PageAttached() override;
    void VisibilityChanged() override;

private:
    void ApplyParentFont();

    int height_ = 70;
    bool parentFont_ = true;
    int imageIndex_ = -1;
    int imageOffset_ = 0;
    TKImageLeftRight imageAlignment_ = TKImageLeftRight::iaRight;
    bool showDivider_ = true;
    TKWizardPageTitle title_;
    TKWizardPageTitle subtitle_;
};

class TKWizardWaterMark : public TKWizardPageObject {
public:
    TKWizardWaterMark();

    TKWizardLeftRight Align() const noexcept { return align_; }
    void SetAlign(TKWizardLeftRight align);
    int Width() const noexcept { return width_; }
    void SetWidth(int width);
    int BorderWidth() const noexcept { return borderWidth_; }
    void SetBorderWidth(int width);
    TKWizardImage& Image() noexcept { return image_; }

    void Paint(HDC dc, RECT& rect) override;

protected:
    void VisibilityChanged() override;

private:
    TKWizardLeftRight align_ = TKWizardLeftRight::alLeft;
    int width_ = 164;
    int borderWidth_ = 1;
    TKWizardImage image_;
};

class TKWizardPagePanel : public TKWizardPageObject {
public:
    TKWizardPagePanel();

    std::uint16_t BorderWidth() const noexcept { return borderWidth_; }
    void SetBorderWidth(std::uint16_t width);

    void Paint(HDC dc, RECT& rect) override;

private:
    std::uint16_t borderWidth_ = 7;
};

} // namespace brevalo::controls
