// Modal message boxes: the four kinds the program uses, and the plain call.
#pragma once

#include <windows.h>

#include <string>

namespace brevalo::gui {

// MessageBoxW with UTF-8 texts; returns the button pressed (IDOK, IDYES ...).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// "Error", stop icon, OK.
void ErrorBox(const std::string& text, HWND owner = nullptr);
// "Warning", exclamation icon, OK.
void WarningBox(const std::string& text, HWND owner = nullptr);
// "Information", information icon, OK.
void InformationBox(const std::string& text, HWND owner = nullptr);
// "Confirm", question icon; `buttons` is MB_YESNO or MB_YESNOCANCEL.
int ConfirmBox(const std::string& text, UINT buttons = MB_YESNO, HWND owner = nullptr);

} // namespace brevalo::gui
