// The standard controls the wizard's pages are built from: edits with a
// per-character filter, radio buttons, date and time pickers and drop-down
// lists with an icon per row (child windows); and pictures, filled shapes
// and web-style links (windowless, painted by their form).
#pragma once

#include "ChildControl.h"
#include "DateTime.h"
#include "FontSpec.h"
#include "GraphicControl.h"
#include "Handle.h"
#include "KeyboardProxy.h"
#include "Picture.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

namespace brevalo::controls {

// A single-line edit.
class TEdit : public ChildControl {
public:
    TEdit(HWND parent, const RECT& bounds, HFONT font, const std::string& text = "");

    void SetMaxLength(int length);
    void Focus();

    // Raised for every typed character (WM_CHAR) before the edit sees it;
    // returning false refuses the character.
    std::function<bool(TEdit&, wchar_t)> OnKeyPress;
    // Raised whenever the text changes.
    std::function<void(TEdit&)> OnChange;

protected:
    bool Command(WORD code) override;

private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);
};

// A radio button; buttons created one after another in the same parent form
// one group unless `firstOfGroup` starts a new one.
class TRadioButton : public ChildControl {
public:
    TRadioButton(HWND parent, const std::string& caption, const RECT& bounds, HFONT font,
                 bool firstOfGroup = false);

    bool Checked() const noexcept;
    void SetChecked(bool checked);
    // Checks the button as a click does (unchecking its group), then raises
    // OnClick.
    void Click();

    std::function<void(TRadioButton&)> OnClick;

protected:
    bool Command(WORD code) override;
};

// A date picker (short date format) or a time picker (long time format).
class TDateTimePicker : public ChildControl {
public:
    enum class Kind { Date, Time };
    TDateTimePicker(HWND parent, Kind kind, const RECT& bounds, HFONT font);

    // The shown date and time of day (a date picker keeps the time it was
    // given, a time picker the date).
    DateTime Value() const;
    void SetValue(DateTime value);
    // Dates before `value`'s date cannot be chosen.
    void SetMinDate(DateTime value);
};

// A drop-down list whose rows have an image from an image list.
class TIconComboBox : public ChildControl {
public:
    TIconComboBox(HWND parent, const RECT& bounds, HFONT font, int dropDownRows = 8);

    void SetImages(HIMAGELIST images);
    void AddItem(const std::string& text, int image);
    // The list's own combo box inside, which takes the keyboard focus.
    HWND FocusHandle() const noexcept;
    int Count() const noexcept;
    // -1 when no row is selected.
    int ItemIndex() const noexcept;
    void SetItemIndex(int index);

    // Raised when the user picks another row.
    std::function<void(TIconComboBox&)> OnChange;

protected:
    bool Command(WORD code) override;
};

// A picture drawn at its own size or stretched to the control, optionally
// inside a sunken frame.
class TImage : public gui::GraphicControl {
public:
    explicit TImage(gui::Form& parent) : GraphicControl(parent) {}

    gui::Picture& Picture() noexcept { return picture_; }
    void SetStretch(bool stretch) noexcept { stretch_ = stretch; }
    void SetFramed(bool framed) noexcept { framed_ = framed; }
    // A picture that reacts to clicks is also reached by the keyboard: it
    // takes the next place in the tab order, under this accessible name and
    // role.
    void EnableKeyboard(const std::string& name, long role);

    void Paint(HDC dc) override;

private:
    std::unique_ptr<KeyboardProxy> proxy_;
    gui::Picture picture_;
    bool stretch_ = false;
    bool framed_ = false;
};

// A rectangle filled with one colour, optionally with a sunken edge.
class TShape : public gui::GraphicControl {
public:
    explicit TShape(gui::Form& parent) : GraphicControl(parent) {}

    COLORREF BrushColor() const noexcept { return color_; }
    void SetBrushColor(COLORREF color);
    void SetSunken(bool sunken) noexcept { sunken_ = sunken; }

    void Paint(HDC dc) override;

private:
    COLORREF color_ = RGB(255, 255, 255);
    bool sunken_ = false;
};

// A blue, underlined text that shows the hand cursor and loses its
// underline while the mouse is over it; OnClick is raised by a left click,
// and by Space or Enter while its place in the tab order has the focus.
class TLinkLabel : public gui::GraphicControl {
public:
    TLinkLabel(gui::Form& parent, const std::string& text, const FontSpec& font);
    ~TLinkLabel() override;

    const std::string& Text() const noexcept { return text_; }
    bool Hot() const noexcept { return hot_; }
    void SetFontName(const std::string& name);

    void Paint(HDC dc) override;
    void RescaleForDpi(UINT oldDpi, UINT newDpi) override;

private:
    void Rebuild();
    void SetHot(bool hot);
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);

    std::string text_;
    FontSpec font_;
    KeyboardProxy proxy_;
    base::Font normal_;
    base::Font hover_;
    bool hot_ = false;
};

// Adds a hint shown over `control` to the tooltip window `toolTip`, creating
// that window (owned by `owner`, destroyed with it) on first use.
void AddToolTip(HWND& toolTip, HWND owner, HWND control, const std::string& text);

} // namespace brevalo::controls
