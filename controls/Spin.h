// The integer spin edit: an edit box with a pair of auto-repeating up and
// down arrows at its right edge.
#pragma once

#include "SpeedButton.h"
#include "Window.h"

#include <windows.h>

#include <functional>
#include <string>

namespace brevalo::controls {

// Holding an arrow steps once at once, again after the first delay, then at
// every interval.
inline constexpr UINT SpinRepeatFirstDelay = 400; // ms
inline constexpr UINT SpinRepeatInterval = 100;   // ms

// A speed button that, with repeat allowed, clicks when pressed and then
// again and again while it is held.
class TTimerSpeedButton : public TSpeedButton {
public:
    bool AllowTimer() const noexcept { return allowTimer_; }
    void SetAllowTimer(bool allow) noexcept { allowTimer_ = allow; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintContent(HDC dc, const RECT& client) override;
    void MouseDown() override;
    void MouseUp() override;
    bool ClickOnRelease() const override { return !allowTimer_; }

private:
    void StopTimer();
    void RepeatClick();

    bool allowTimer_ = false;
    bool timerRunning_ = false;
};

// The pair of arrows: the up arrow over the down arrow.
class TSpinButton : public gui::Window {
public:
    TSpinButton() = default;

    // Creates the arrows as a child of `parent`; bounds in device pixels. The
    // width is never below 15 pixels (at 96 DPI).
    void Create(HWND parent, int left, int top, int width, int height, bool tabStop = false);
    void SetBoundsPixels(int left, int top, int width, int height);

    TTimerSpeedButton& UpButton() noexcept { return up_; }
    TTimerSpeedButton& DownButton() noexcept { return down_; }
    TTimerSpeedButton& FocusedButton() noexcept { return *focused_; }
    // Makes an arrow the focused one (only when the spin button can take the
    // focus itself).
    void SetFocusedButton(TTimerSpeedButton& button);

    // The window that gets the keyboard focus when an arrow is pressed.
    HWND FocusControl() const noexcept { return focusControl_; }
    void SetFocusControl(HWND control) noexcept { focusControl_ = control; }

    bool TabStop() const;

    // Other pictures than the standard arrows.
    void SetUpGlyph(Glyph glyph) { up_.SetGlyph(std::move(glyph)); }
    void SetDownGlyph(Glyph glyph) { down_.SetGlyph(std::move(glyph)); }

    std::function<void(TSpinButton&)> OnUpClick;
    std::function<void(TSpinButton&)> OnDownClick;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();
    void ArrowPressed(TTimerSpeedButton& button);
    bool CanTakeFocus() const;

    TTimerSpeedButton up_;
    TTimerSpeedButton down_;
    TTimerSpeedButton* focused_ = &up_;
    HWND focusControl_ = nullptr;
};

// The edit with the arrows. Positions are pixels at 96 DPI.
class TSpinEdit {
public:
    TSpinEdit() = default;
    TSpinEdit(const TSpinEdit&) = delete;
    TSpinEdit& operator=(const TSpinEdit&) = delete;
    ~TSpinEdit();

    // `sunken` is the 3-D look (a client edge).
    void Create(HWND parent, int left, int top, int width, int height, int id = 0,
                bool sunken = true);
    HWND Handle() const noexcept { return edit_; }

    // The number in the text: text that is not a whole number reads as
    // MinValue. Writing clamps and shows the number.
    int Value() const;
    void SetValue(int value);

    // Equal limits mean no limits.
    int MinValue() const noexcept { return minValue_; }
    void SetMinValue(int value) noexcept { minValue_ = value; }
    int MaxValue() const noexcept { return maxValue_; }
    void SetMaxValue(int value) noexcept { maxValue_ = value; }
    int Increment() const noexcept { return increment_; }
    void SetIncrement(int value) noexcept { increment_ = value; }

    // Typing, cut and paste allowed.
    bool EditorEnabled() const noexcept { return editorEnabled_; }
    void SetEditorEnabled(bool enabled) noexcept { editorEnabled_ = enabled; }
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Selects all the text when the edit gets the focus from the keyboard.
    bool AutoSelect() const noexcept { return autoSelect_; }
    void SetAutoSelect(bool on) noexcept { autoSelect_ = on; }
    // 0: no limit.
    int MaxLength() const noexcept { return maxLength_; }
    void SetMaxLength(int length);

    std::string Text() const;
    void SetText(const std::string& text);

    void SetBounds(int left, int top, int width, int height);
    void SetEnabled(bool enabled);

    TSpinButton& Button() noexcept { return button_; }

    // One step up or down, as the arrows and the Up and Down keys do.
    void UpClick();
    void DownClick();

    // Raised whenever the text changes.
    std::function<void(TSpinEdit&)> OnChange;

private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
    LRESULT EditMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The arrow keys, refused characters and refused clipboard commands:
    // true when the message is used up and the edit must not see it.
    bool InputHandled(UINT message, WPARAM wParam);
    LRESULT SetTextMessage(WPARAM wParam, LPARAM lParam);
    LRESULT SetFontMessage(WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    bool CharAccepted(wchar_t c) const;
    bool EditingAllowed() const noexcept { return editorEnabled_ && !readOnly_; }
    int MinHeight() const;
    void Layout();
    void RaiseChange();
    int Scale(int pixels96) const;

    HWND edit_ = nullptr;
    HWND parent_ = nullptr;
    TSpinButton button_;
    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    int maxLength_ = 0;
    bool sunken_ = true;
    bool settingText_ = false;
};

} // namespace brevalo::controls
