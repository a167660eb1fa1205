#include "KWizardObjects.h"

#include "Dpi.h"
#include "ImageList.h"
#include "KWizard.h"
#include "Strings.h"

namespace brevalo::controls {

namespace {

void Fill(HDC dc, const RECT& rect, TColor color) {
    if (color == ClNone)
        return;
    base::Brush brush(CreateSolidBrush(ResolveColor(color)));
    FillRect(dc, &rect, brush.Get());
}

} // namespace

// ---- TKWizardGraphicObject

void TKWizardGraphicObject::SetColor(TColor color) {
    if (color_ == color)
        return;
    color_ = color;
    ColorChanged();
}

void TKWizardGraphicObject::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    VisibilityChanged();
}

// ---- TKWizardPageObject

void TKWizardPageObject::SetPage(TKWizardCustomPage* page) {
    page_ = page;
    PageAttached();
}

void TKWizardPageObject::Invalidate() {
    if (page_)
        page_->Invalidate();
}

int TKWizardPageObject::Scale(int pixels96) const noexcept {
    return page_ ? page_->Scale(pixels96) : pixels96;
}

// ---- TKWizardImage

TKWizardImage::TKWizardImage() {
    picture_.OnChange = [this] { Changed(); };
}

void TKWizardImage::SetAlignment(TKImageAlignment alignment) {
    if (alignment_ == alignment)
        return;
    alignment_ = alignment;
    Changed();
}

void TKWizardImage::SetLayout(TKImageLayout layout) {
    if (layout_ == layout)
        return;
    layout_ = layout;
    Changed();
}

void TKWizardImage::Draw(HDC dc, const RECT& rect) const {
    DrawWizardImage(dc, picture_, rect, alignment_, layout_);
}

void TKWizardImage::Changed() const {
    if (OnChange)
        OnChange();
}

// ---- TKWizardPageTitle

TKWizardPageTitle::TKWizardPageTitle(std::string text, unsigned anchors)
    : TKWizardGraphicObject(ClNone, true), text_(std::move(text)), anchors_(anchors) {}

void TKWizardPageTitle::SetText(const std::string& text) {
    if (text_ == text)
        return;
    text_ = text;
    Invalidate();
}

void TKWizardPageTitle::SetAnchors(unsigned anchors) {
    anchors_ = anchors;
    Invalidate();
}

void TKWizardPageTitle::SetAnchorPlacement(int placement) {
    anchorPlacement_ = placement;
    Invalidate();
}

void TKWizardPageTitle::SetIndent(int indent) {
    indent_ = indent;
    Invalidate();
}

void TKWizardPageTitle::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TKWizardPageTitle::SetFont(const FontSpec& font) {
    if (header_ && header_->ParentFont())
        return;
    font_ = font;
    Invalidate();
}

void TKWizardPageTitle::SetFontName(const std::string& name) {
    font_.name = name;
    Invalidate();
}

void TKWizardPageTitle::SetFontSize(int points) {
    font_.size = points;
    Invalidate();
}

void TKWizardPageTitle::SetFontStyle(bool bold, bool italic, bool underline) {
    font_.bold = bold;
    font_.italic = italic;
    font_.underline = underline;
    Invalidate();
}

void TKWizardPageTitle::SetFontColor(TColor color) {
    font_.color = color;
    Invalidate();
}

void TKWizardPageTitle::TakeParentFont(const std::string& name, BYTE charset) {
    font_.name = name;
    font_.charset = charset;
}

void TKWizardPageTitle::Invalidate() {
    if (header_)
        header_->Invalidate();
}

int TKWizardPageTitle::Scale(int pixels96) const noexcept {
    TKWizardCustomPage* page = header_ ? header_->Page() : nullptr;
    return page ? page->Scale(pixels96) : pixels96;
}

RECT TKWizardPageTitle::TextRect(HDC dc, const RECT& area) const {
    const std::wstring text = base::Widen(text_);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return ToRect(PlaceTitle(ToPixelRect(area), size.cx, metrics.tmHeight, anchors_,
                             Scale(anchorPlacement_), Scale(indent_)));
}

void TKWizardPageTitle::Paint(HDC dc, RECT& area) {
    if (!Visible() || !header_ || !header_->Page())
        return;
    base::Font font = font_.Create(UINT(header_->Page()->Dpi()));
    base::SelectObjectScope select(dc, font.Get());
    RECT t = TextRect(dc, area);
    Fill(dc, t, Color());
    const std::wstring text = base::Widen(text_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColor(font_.color));
    RECT drawn = t;
    DrawTextW(dc, text.c_str(), int(text.size()), &drawn, DT_WORDBREAK | DT_LEFT | DT_NOPREFIX);
    area.top = t.bottom;
}

// ---- TKWizardPageHeader

TKWizardPageHeader::TKWizardPageHeader()
    : TKWizardPageObject(clWindow, true), title_("Title", akLeft | akTop | akRight),
      subtitle_("Subtitle", akLeft | akTop | akRight | akBottom) {
    title_.font_.size = 12;
    title_.font_.bold = true;
    title_.Attach(this);
    subtitle_.Attach(this);
}

void TKWizardPageHeader::SetHeight(int height) {
    if (height_ == height)
        return;
    height_ = height;
    Invalidate();
    if (Page())
        Page()->Realign();
}

void TKWizardPageHeader::SetParentFont(bool parentFont) {
    if (parentFont_ == parentFont)
        return;
    parentFont_ = parentFont;
    if (parentFont_)
        ApplyParentFont();
}

void TKWizardPageHeader::SetImageIndex(int index) {
    imageIndex_ = index;
    Invalidate();
}

void TKWizardPageHeader::SetImageOffset(int offset) {
    imageOffset_ = offset;
    Invalidate();
}

void TKWizardPageHeader::SetImageAlignment(TKImageLeftRight alignment) {
    imageAlignment_ = alignment;
    Invalidate();
}

void TKWizardPageHeader::SetShowDivider(bool show) {
    showDivider_ = show;
    Invalidate();
}

void TKWizardPageHeader::PageAttached() {
    title_.Attach(this);
    subtitle_.Attach(this);
    if (parentFont_)
        ApplyParentFont();
}

void TKWizardPageHeader::PageFontChanged() {
    if (parentFont_)
        ApplyParentFont();
}

void TKWizardPageHeader::ApplyParentFont() {
    if (!Page())
        return;
    const FontSpec& font = Page()->Font();
    title_.TakeParentFont(font.name, font.charset);
    subtitle_.TakeParentFont(font.name, font.charset);
    Invalidate();
}

void TKWizardPageHeader::VisibilityChanged() {
    TKWizardPageObject::VisibilityChanged();
    if (Page())
        Page()->Realign();
}

RECT TKWizardPageHeader::ImageRect(const RECT& header, int imageWidth, int imageHeight) const {
    return ToRect(PlaceHeaderImage(ToPixelRect(header), imageWidth, imageHeight, imageAlignment_,
                                   Scale(imageOffset_))
                      .image);
}

void TKWizardPageHeader::Paint(HDC dc, RECT& rect) {
    if (!Visible())
        return;
    const RECT header{rect.left, rect.top, rect.right, rect.top + Scale(height_)};
    Fill(dc, header, Color());
    if (showDivider_)
        EtchedLine(dc, header, EdgeBottom);

    RECT text = header;
    TKWizard* wizard = Page() ? Page()->Wizard() : nullptr;
    ImageList* images = wizard ? wizard->HeaderImages() : nullptr;
    if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
        const HeaderImagePlacement placement =
            PlaceHeaderImage(ToPixelRect(header), images->Width(), images->Height(),
                             imageAlignment_, Scale(imageOffset_));
        text = ToRect(placement.textArea);
        images->Draw(dc, imageIndex_, placement.image.left, placement.image.top);
    }
    title_.Paint(dc, text);
    subtitle_.Paint(dc, text);
    rect.top += Scale(height_);
}

// ---- TKWizardWaterMark

TKWizardWaterMark::TKWizardWaterMark() : TKWizardPageObject(clActiveCaption, true) {
    image_.OnChange = [this] { Invalidate(); };
}

void TKWizardWaterMark::SetAlign(TKWizardLeftRight align) {
    if (align_ == align)
        return;
    align_ = align;
    Invalidate();
    if (Page())
        Page()->Realign();
}

void TKWizardWaterMark::SetWidth(int width) {
    if (width_ == width)
        return;
    width_ = width;
    Invalidate();
    if (Page())
        Page()->Realign();
}

void TKWizardWaterMark::SetBorderWidth(int width) {
    borderWidth_ = width;
    Invalidate();
}

void TKWizardWaterMark::VisibilityChanged() {
    TKWizardPageObject::VisibilityChanged();
    if (Page())
        Page()->Realign();
}

void TKWizardWaterMark::Paint(HDC dc, RECT& rect) {
    if (!Visible())
        return;
    const WatermarkPlacement placement =
        PlaceWatermark(ToPixelRect(rect), align_, Scale(width_), Scale(borderWidth_));
    const RECT band = ToRect(placement.band);
    Fill(dc, band, Color());
    image_.Draw(dc, band);
    rect = ToRect(placement.remaining);
}

// ---- TKWizardPagePanel

TKWizardPagePanel::TKWizardPagePanel() : TKWizardPageObject(clBtnFace, false) {}

void TKWizardPagePanel::SetBorderWidth(std::uint16_t width) {
    borderWidth_ = width;
    Invalidate();
}

void TKWizardPagePanel::Paint(HDC dc, RECT& rect) {
    const auto frame = PanelFrame(ToPixelRect(rect), Visible(), Scale(borderWidth_));
    if (!frame)
        return;
    const RECT inside = EtchedLine(dc, ToRect(*frame), EdgeAll);
    Fill(dc, inside, Color());
}

} // namespace brevalo::controls
