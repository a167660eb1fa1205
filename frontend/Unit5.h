// The advanced options dialog: the ten stored options as check boxes and a
// box that switches the program back to wizard mode at its next start. The
// dialog never touches the settings file itself: its caller loads the boxes
// before showing it and saves them afterwards.
#pragma once

#include "AdvancedOptions.h"
#include "DialogForm.h"
#include "StdControls.h"

#include <array>
#include <memory>

namespace brevalo {

class TForm5 : public controls::DialogForm {
public:
    // Creates the hidden dialog, owned by `owner`.
    explicit TForm5(HWND owner);
    ~TForm5() override;

    // Check box N belongs to key "ChkN" (1 to 10); box 11 is "Use Wizard mode".
    controls::NotifyingCheckBox& CheckBox(int n) { return *boxes_.at(std::size_t(n - 1)); }

    // Sets the ten boxes in key order, each reacting as a click would.
    void LoadOptions(const AdvancedOptions& options);
    AdvancedOptions Options() const;

    // Loads the boxes from the settings file, ignoring errors: boxes not yet
    // reached when an error occurs keep their state.
    void LoadFromSettings();
    // Writes the ten boxes to the settings file, ignoring errors.
    void SaveToSettings() const;

    void CheckBox2Change();
    void Button1Click();

    std::unique_ptr<controls::PushButton> Button1;

protected:
    void DoShow() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND owner_;
    std::array<std::unique_ptr<controls::NotifyingCheckBox>, 11> boxes_;
};

} // namespace brevalo
