#include "MessageBox.h"

#include "Strings.h"

namespace brevalo::gui {

namespace {
HWND OwnerOrActive(HWND owner) {
    return owner ? owner : GetActiveWindow();
}
} // namespace

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    return MessageBoxW(owner, base::Widen(text).c_str(), base::Widen(caption).c_str(), flags);
}

void ErrorBox(const std::string& text, HWND owner) {
    ShowMessageBox(OwnerOrActive(owner), text, "Error", MB_OK | MB_ICONSTOP);
}

void WarningBox(const std::string& text, HWND owner) {
    ShowMessageBox(OwnerOrActive(owner), text, "Warning", MB_OK | MB_ICONWARNING);
}

void InformationBox(const std::string& text, HWND owner) {
    ShowMessageBox(OwnerOrActive(owner), text, "Information", MB_OK | MB_ICONINFORMATION);
}

int ConfirmBox(const std::string& text, UINT buttons, HWND owner) {
    return ShowMessageBox(OwnerOrActive(owner), text, "Confirm", buttons | MB_ICONQUESTION);
}

} // namespace brevalo::gui
