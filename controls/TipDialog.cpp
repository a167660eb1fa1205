#include "TipDialog.h"

#include "TipDialogForm.h"

#include <memory>

namespace brevalo::controls {

TTipDialog::TTipDialog() : titleFont_(MessageFontSpec()) {}

bool TTipDialog::Execute(HWND owner) {
    std::unique_ptr<TTipDialogForm> form;
    try {
        form = std::make_unique<TTipDialogForm>(owner);
    } catch (...) {
        MessageBeep(0);
        return false;
    }
    form->SetTipText("");
    form->SetTips(tips_);
    form->SetShowAtStart(showAtStart_);
    form->ShowModal();
    showAtStart_ = form->ShowAtStart();
    return false;
}

} // namespace brevalo::controls
