// The form resizer: once started, it remembers the bounds (and font size) of
// every control of its owner and rescales them all in proportion to the
// owner's current size on request.
//
// The controls of an owner are its child windows, and those of child windows
// that hold controls themselves (WS_EX_CONTROLPARENT: panels and the like), in
// creation order. The inner windows of a composite control (the arrows of a
// spin edit, the parts of a colour button, the edit of a combo box) belong to
// that control and are not recorded.
#pragma once

#include "Handle.h"
#include "ResizerMath.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace brevalo::gui {
class Window;
}

namespace brevalo::controls {

class EResizerException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What one control looked like when the resizer started.
class TSingleResizer {
public:
    // Throws EResizerException without a control or without the owner.
    TSingleResizer(HWND control, HWND parentForm, bool resizeFonts, int minFontSize,
                   int maxFontSize);
    TSingleResizer(const TSingleResizer&) = delete;
    TSingleResizer& operator=(const TSingleResizer&) = delete;
    // Gives a control that still uses a font made here its own font back.
    ~TSingleResizer();

    // Null once the control has been destroyed.
    HWND Control() const noexcept { return control_; }
    HWND ParentForm() const noexcept { return parentForm_; }
    const ResizerRecord& Record() const noexcept { return record_; }
    bool IsLabel() const noexcept { return isLabel_; }
    // It filled its parent at the start, as a client-aligned control does.
    bool FillsParent() const noexcept { return fillsParent_; }

    // Gives the control its bounds and font for the owner's current size.
    void Resize(OwnerSize owner, ResizeRatios ratios);
    void ControlDestroyed() noexcept { control_ = nullptr; }

private:
    void ApplyFont(int points);
    void FitLabel(const ResizerBounds& bounds);

    HWND control_;
    HWND parentForm_;
    ResizerRecord record_;
    bool isLabel_ = false;
    bool fillsParent_ = false; // client-aligned
    HFONT originalFont_ = nullptr;
    LOGFONTW initialFont_{};
    // The fonts this record made for its control; the last one is in use.
    base::Font font_;
};

class TFormResizer {
public:
    // Throws EResizerException when there is no owner or the owner has no
    // window.
    explicit TFormResizer(gui::Window* owner);
    TFormResizer(const TFormResizer&) = delete;
    TFormResizer& operator=(const TFormResizer&) = delete;
    ~TFormResizer();

    bool ResizeFonts() const noexcept { return resizeFonts_; }
    void SetResizeFonts(bool on) noexcept { resizeFonts_ = on; }
    int MinFontSize() const noexcept { return minFontSize_; }
    void SetMinFontSize(int size) noexcept { minFontSize_ = size; }
    int MaxFontSize() const noexcept { return maxFontSize_; }
    void SetMaxFontSize(int size) noexcept { maxFontSize_ = size; }
    bool EnforceMinSize() const noexcept { return enforceMinSize_; }
    void SetEnforceMinSize(bool on) noexcept { enforceMinSize_ = on; }

    bool Initialized() const noexcept { return initialized_; }
    // Records the owner's size and every control's geometry (once).
    void InitializeForm();
    // Rescales every recorded control to the owner's current size.
    void ResizeAll();

    const std::vector<std::unique_ptr<TSingleResizer>>& Records() const noexcept {
        return records_;
    }

    // Raised after each recorded control has been handled; the control is
    // null when it has been destroyed.
    std::function<void(TFormResizer& sender, HWND comp, double heightRatio, double widthRatio)>
        OnPostResize;

private:
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);
    void Record(HWND control);
    void Forget(HWND control) noexcept;
    OwnerSize CurrentOwnerSize() const;

    HWND owner_;
    bool resizeFonts_ = false;
    int minFontSize_ = 8;
    int maxFontSize_ = 48;
    bool enforceMinSize_ = false;
    bool initialized_ = false;
    OwnerSize initialSize_;
    std::vector<std::unique_ptr<TSingleResizer>> records_;
};

} // namespace brevalo::controls
