// More standard system controls as child windows: radio buttons, group
// boxes, static texts and icons, edits, date and time pickers and a list
// view with icons. Positions are device pixels of the parent's client area,
// as for every ChildControl. Parents pass WM_NOTIFY on with ReflectNotify.
#pragma once

#include "ChildControl.h"
#include "DateTime.h"
#include "Handle.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

namespace brevalo::controls {

// A check box that reports every change of its state, whether by the user or
// by SetState; setting the state it already has reports nothing.
class NotifyingCheckBox : public CheckBox {
public:
    using CheckBox::CheckBox;

    void SetState(bool checked);

    std::function<void(NotifyingCheckBox&)> OnChange;

protected:
    bool Command(WORD code) override;
};

// A radio button; `firstOfGroup` starts a new group (WS_GROUP) and makes the
// button the group's tab stop.
class RadioButton : public ChildControl {
public:
    RadioButton(HWND parent, const std::string& caption, const RECT& bounds, HFONT font,
                bool firstOfGroup);

    bool Checked() const noexcept;
    // Chooses this button and clears the others of its group (or only clears it).
    void SetChecked(bool checked);

    // The user chose the button (click, arrow key or mnemonic).
    std::function<void(RadioButton&)> OnClick;

protected:
    bool Command(WORD code) override;
};

// The frame and caption of a group of controls. It also starts a new group
// for the dialog manager, so the radios before it are a group of their own.
class GroupBox : public ChildControl {
public:
    GroupBox(HWND parent, const std::string& caption, const RECT& bounds, HFONT font);
};

// A one-line static text; a "&" in it marks the mnemonic that moves the focus
// to the next control in tab order, which is the one it labels.
class StaticText : public ChildControl {
public:
    StaticText(HWND parent, const std::string& caption, const RECT& bounds, HFONT font);

    // Sizes the text to its caption in its font, now and after each change
    // of DPI, as a label does: no caption is cut at another DPI.
    void FitToText();
    void DpiChanged() override;

private:
    bool fitToText_ = false;
};

// An icon from the program's resources at its own size.
class StaticIcon : public ChildControl {
public:
    StaticIcon(HWND parent, const RECT& bounds);
    // Shows the icon resource `name` at `size` pixels; throws OsError when
    // there is no such resource.
    void SetIcon(const wchar_t* name, int size);
    HICON Icon() const noexcept { return icon_.Get(); }
    // Loads the icon again at the new DPI's size.
    void DpiChanged() override;

private:
    base::Icon icon_;
    const wchar_t* name_ = nullptr; // a resource name or ordinal
    int size_ = 0;                  // pixels at 96 DPI
};

// A one-line edit with a sunken border.
class Edit : public ChildControl {
public:
    Edit(HWND parent, const std::string& text, const RECT& bounds, HFONT font);
    ~Edit() override;

    // 0: the system's limit.
    void SetMaxLength(int length);
    // Typed blanks are refused without a sound.
    void SetRefuseBlanks(bool refuse) noexcept { refuseBlanks_ = refuse; }
    void SetFocus();

private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);
    bool refuseBlanks_ = false;
};

// An edit with its caption as a label just above it; the edit is named after
// it for accessibility clients.
class LabeledEdit {
public:
    LabeledEdit(HWND parent, const std::string& label, const std::string& text, const RECT& bounds,
                HFONT font, int labelGap);

    StaticText EditLabel;
    Edit EditBox;

    std::string Text() const { return EditBox.Text(); }
    void SetText(const std::string& text) { EditBox.SetText(text); }
};

// For parents: answers WM_CTLCOLORSTATIC and WM_CTLCOLORBTN so that static
// texts, radio buttons, check boxes and group boxes show the dialog's face
// colour. True (with the brush in `result`) when the message was one of them.
bool DialogFaceColor(UINT message, WPARAM wParam, LRESULT& result);

// A control that reports WM_NOTIFY notifications to its object.
class NotifyControl : public ChildControl {
public:
    using ChildControl::ChildControl;

    // For parents: hands a WM_NOTIFY to the control that sent it. True when
    // the control handled it (with `result`).
    static bool ReflectNotify(LPARAM lParam, LRESULT& result);

protected:
    virtual bool Notify(const NMHDR& header, LRESULT& result) = 0;
};

enum class PickerKind { Date, Time };

// The system's date picker (short date format) or time picker (time format).
class DateTimePicker : public NotifyControl {
public:
    DateTimePicker(HWND parent, PickerKind kind, const RECT& bounds, HFONT font);

    DateTime Value() const;
    // Shows the value without raising OnChange.
    void SetValue(DateTime value);

    // The user changed the date or time.
    std::function<void(DateTimePicker&)> OnChange;

protected:
    bool Notify(const NMHDR& header, LRESULT& result) override;
};

// A report-style list view of one column without a header: whole-row
// selection, the selection kept visible without the focus, no editing.
class IconListView : public NotifyControl {
public:
    IconListView(HWND parent, const RECT& bounds, HFONT font);

    // The list does not own the image list.
    void SetSmallImages(HIMAGELIST images);
    // Appends a row; returns its index.
    int AddItem(const std::string& caption, int imageIndex);
    int Count() const;
    std::string ItemText(int index) const;
    // -1 when none is selected.
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
    // Width of the one column; LVSCW_AUTOSIZE_USEHEADER fills the list.
    void SetColumnWidth(int width);
    int ColumnWidth() const;

    std::function<void(IconListView&)> OnDoubleClick;

protected:
    bool Notify(const NMHDR& header, LRESULT& result) override;
};

} // namespace brevalo::controls
