// A dialog window built in code: a fixed frame, the system's message font,
// keyboard navigation between its controls (Tab, arrow keys, mnemonics),
// Enter for the default button and Esc for the cancel button, and modal
// showing with a modal result, as dialogs in this program behave.
#pragma once

#include "ChildControl.h"
#include "FontSpec.h"
#include "Form.h"
#include "Handle.h"

#include <string>
#include <vector>

namespace brevalo::controls {

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// A control inside a dialog that handles Enter and Esc itself (the wizard
// presses its own buttons). It sees the key before the dialog does.
class DialogKeyHandler {
public:
    // True when the key (a WM_KEYDOWN of VK_RETURN or VK_ESCAPE) was handled.
    virtual bool DialogKey(const MSG& msg) = 0;

protected:
    ~DialogKeyHandler() = default;
};

class DialogForm : public gui::Form {
public:
    ~DialogForm() override;

    // The dialog's font description and its GDI font at the window's DPI.
    const FontSpec& FontDescription() const noexcept { return font_; }
    HFONT Font() const noexcept { return fontHandle_.Get(); }

    int ModalResult() const noexcept { return modalResult_; }
    // While the dialog is shown modally, a result other than mrNone ends it.
    void SetModalResult(int result) noexcept { modalResult_ = result; }
    bool Modal() const noexcept { return modal_; }

    // Shows the dialog and runs its own message loop, with the program's
    // other windows disabled, until ModalResult is set or the dialog is
    // closed (mrCancel); then hides it and returns the result. A WM_QUIT
    // that arrives meanwhile ends the dialog with mrCancel and is posted
    // again for the caller's loop.
    int ShowModal();

    // Enter presses the default button (unless a focused push button takes
    // it), Esc the cancel button, while they are visible and enabled.
    void SetDefaultButton(PushButton* button) noexcept { defaultButton_ = button; }
    void SetCancelButton(PushButton* button) noexcept { cancelButton_ = button; }

    void AddDialogKeyHandler(DialogKeyHandler* handler);
    void RemoveDialogKeyHandler(DialogKeyHandler* handler) noexcept;

    int HelpContext() const noexcept { return helpContext_; }
    void SetHelpContext(int context) noexcept { helpContext_ = context; }

    // The dialog form of any window inside one, or null.
    static DialogForm* Of(HWND hwnd) noexcept;

    bool PreTranslateMessage(MSG& msg) override;

protected:
    struct DialogParams {
        std::wstring className;
        std::string caption;
        int clientWidth = 0; // pixels at 96 DPI
        int clientHeight = 0;
        bool stayOnTop = false;
        HWND owner = nullptr;
    };
    // Creates the hidden window, centred on the screen; throws OsError.
    void CreateDialogWindow(const DialogParams& params);

    // Runs each time ShowModal is about to show the dialog.
    virtual void DoShow() {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The dialog font is remade at the new DPI and replaces the old one in
    // every control that uses it.
    void RescaleForDpi(UINT oldDpi, UINT newDpi, gui::DpiFonts& fonts) override;

private:
    bool HandleDialogKey(const MSG& msg);
    // A mnemonic of a windowless label on this dialog or on a form inside
    // it: the focus goes to the label's control.
    bool HandleLabelMnemonic(const MSG& msg);
    // WM_NEXTDLGCTL: the focus to a given control, or to the next or
    // previous one in tab order.
    void NextControl(WPARAM wParam, LPARAM lParam);

    FontSpec font_ = MessageFontSpec();
    base::Font fontHandle_;
    int modalResult_ = mrNone;
    bool modal_ = false;
    int helpContext_ = 0;
    PushButton* defaultButton_ = nullptr;
    PushButton* cancelButton_ = nullptr;
    std::vector<DialogKeyHandler*> keyHandlers_;
};

// For key handlers: what Enter or Esc (in `msg`) means for the focused
// control. True when the focused control is a push button (which Enter then
// presses: `button` is set) or wants the key itself; false when the key is
// left to the dialog's default or cancel button.
bool KeyBelongsToFocus(const MSG& msg, HWND& button);

// Moves the focus to `control` as the dialog keys do: an edit has its text
// selected, and a radio button gives way to the chosen one of its group.
void FocusAsDialog(HWND control);

} // namespace brevalo::controls
