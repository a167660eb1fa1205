// The tip-of-the-day component: a list of tips and the "show at start"
// flag, shown in a modal tip window one random tip at a time. The caller
// stores ShowAtStart.
#pragma once

#include "FontSpec.h"
#include "KWizardObjects.h"

#include <windows.h>

#include <string>
#include <vector>

namespace brevalo::controls {

// Vertical placement of a title.
enum class TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

class TTipDialog {
public:
    TTipDialog();

    // The check box "Show every time Wizard mode starts", before and after
    // Execute.
    bool ShowAtStart() const noexcept { return showAtStart_; }
    void SetShowAtStart(bool show) noexcept { showAtStart_ = show; }

    const std::vector<std::string>& Tips() const noexcept { return tips_; }
    void SetTips(const std::vector<std::string>& tips) { tips_ = tips; }

    // Kept with the component; the window does not use them.
    TAlignment TitleAlignment() const noexcept { return titleAlignment_; }
    void SetTitleAlignment(TAlignment alignment) noexcept { titleAlignment_ = alignment; }
    const FontSpec& TitleFont() const noexcept { return titleFont_; }
    void SetTitleFont(const FontSpec& font) { titleFont_ = font; }
    const std::string& TitleLabel() const noexcept { return titleLabel_; }
    void SetTitleLabel(const std::string& label) { titleLabel_ = label; }
    TTextLayout TitleLayout() const noexcept { return titleLayout_; }
    void SetTitleLayout(TTextLayout layout) noexcept { titleLayout_ = layout; }

    // Shows the tip window modally until it is closed, then takes the check
    // box's state into ShowAtStart. When the window cannot be created it
    // only beeps. Always returns false.
    bool Execute(HWND owner = nullptr);

private:
    bool showAtStart_ = false;
    std::vector<std::string> tips_;
    TAlignment titleAlignment_ = TAlignment::taLeftJustify;
    FontSpec titleFont_;
    std::string titleLabel_;
    TTextLayout titleLayout_ = TTextLayout::tlTop;
};

} // namespace brevalo::controls
