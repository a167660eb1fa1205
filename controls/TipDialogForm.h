// The tip-of-the-day window: a framed tip on an info-coloured panel with a
// light bulb, a check box "Show every time Wizard mode starts", and the
// buttons "Next Tip" and "Close". It shows the tips in random order.
#pragma once

#include "ChildControl.h"
#include "DialogForm.h"
#include "WrappedLabel.h"

#include <memory>
#include <string>
#include <vector>

namespace brevalo::gui {
class Label;
}

namespace brevalo::controls {

// The tip shown when there is none to show.
inline constexpr char NoTipsText[] = "No tips have been loaded";

// A random index in 0 .. count - 1 from a generator seeded with `seed`.
std::size_t PickTipIndex(std::uint64_t seed, std::size_t count);

class TTipDialogForm : public DialogForm {
public:
    // Creates the hidden window; throws when it cannot be created.
    explicit TTipDialogForm(HWND owner = nullptr);
    ~TTipDialogForm() override;

    // The window's own copy of the tips.
    const std::vector<std::string>& Tips() const noexcept { return tips_; }
    void SetTips(const std::vector<std::string>& tips) { tips_ = tips; }

    std::string TipText() const;
    void SetTipText(const std::string& text);
    int CurrentIndex() const noexcept { return currentIndex_; }

    bool ShowAtStart() const noexcept;
    void SetShowAtStart(bool show);

    CheckBox& ShowAtStartCheckBox() noexcept { return *checkBox_; }
    PushButton& NextTipButton() noexcept { return *nextTip_; }
    PushButton& CloseButton() noexcept { return *close_; }

    // "Next Tip": another random tip (possibly the same one again).
    void NextTip();

protected:
    // Fills in "No tips have been loaded" for an empty list, disables
    // "Next Tip" for a single tip, and shows a random tip.
    void DoShow() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class Panel;
    void ShowRandomTip();

    std::vector<std::string> tips_;
    int currentIndex_ = -1;
    std::unique_ptr<Panel> panel_;
    std::unique_ptr<CheckBox> checkBox_;
    std::unique_ptr<PushButton> nextTip_;
    std::unique_ptr<PushButton> close_;
};

} // namespace brevalo::controls
