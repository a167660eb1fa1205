// The colour button's palette window: "Automatic", 40 colour cells and
// "Other Colors...". Docked, it hangs under its button with a thin frame and
// a drag bar at the top, and hides when it loses the focus; dragged by the
// bar it becomes a floating tool window with a title bar that stays open.
// The keyboard moves over its buttons with the arrow keys, picks one with
// Enter or Space and closes it with Esc.
#pragma once

#include "ColorButtonGeometry.h"
#include "SubColorButton.h"
#include "Window.h"

#include <array>
#include <functional>
#include <string>

namespace brevalo::controls {

class TColorPalette : public gui::Window {
public:
    // The index OnPick reports for "Automatic" and "Other Colors...".
    static constexpr int AutomaticIndex = -1;
    static constexpr int OtherIndex = PaletteCellCount;

    TColorPalette() = default;

    // Creates the (hidden) window, owned by `owner`.
    void Create(HWND owner, const std::string& caption);

    bool Floating() const noexcept { return floating_; }
    bool Showing() const;
    // The drag bar in client pixels; empty when it is not shown.
    RECT DragBarRect() const noexcept { return dragBar_; }
    // Whether the drag bar is drawn in the active-caption colour.
    bool DragBarHot() const noexcept { return dragBarHot_; }

    // The metrics in pixels at 96 DPI and the DPI they are scaled to.
    void SetMetrics(const PaletteMetrics& metrics, UINT dpi);
    // Sizes the window and places the buttons.
    void Layout(bool withDragBar);
    // Back under the button: no title bar, not floating.
    void Dock();
    // Torn off: a title bar, floating, laid out without the drag bar.
    void MakeFloating();
    // Shows the docked palette at a screen position and gives it the focus.
    void ShowAt(int x, int y);
    void Hide();

    TSubColorButton& Automatic() noexcept { return automatic_; }
    const TSubColorButton& Automatic() const noexcept { return automatic_; }
    TSubColorButton& Cell(int index) { return cells_.at(std::size_t(index)); }
    TSpeedButton& Other() noexcept { return other_; }
    const TSpeedButton& Other() const noexcept { return other_; }
    // Calls `f` for each of the 42 buttons.
    void ForEachButton(const std::function<void(TSpeedButton&)>& f);
    // The button the keyboard is on: AutomaticIndex, a cell or OtherIndex.
    int KeyIndex() const noexcept { return keyIndex_; }
    // Moves the keyboard to a button, which is highlighted.
    void SetKeyIndex(int index);

    // What accessibility clients read for a button (by index): the palette
    // reports the keyboard's button as its value.
    std::function<std::string(int index)> ItemText;

    // A palette button was clicked: AutomaticIndex, a cell 0-39, OtherIndex.
    std::function<void(int index)> OnPick;
    // The window became hidden.
    std::function<void()> OnHidden;
    // The window was torn off.
    std::function<void()> OnFloat;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    void SetDragBarHot(bool hot);
    void ApplyStyle(bool withCaption);
    TSpeedButton& Button(int index);
    bool KeyDown(WPARAM key);

    TSubColorButton automatic_;
    std::array<TSubColorButton, PaletteCellCount> cells_;
    TSpeedButton other_;
    PaletteMetrics metrics_;
    UINT dpi_ = 96;
    bool floating_ = false;
    bool dragBarHot_ = false;
    bool trackingLeave_ = false;
    int keyIndex_ = AutomaticIndex;
    RECT dragBar_{};
};

} // namespace brevalo::controls
