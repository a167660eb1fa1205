// Help: the local help file named by "LocalHelp" when it exists, else the
// help page on the vendor's web site.
#pragma once

#include <windows.h>

#include <string>

namespace brevalo::os {

// The file or web address help opens.
std::string HelpTarget();
// "Help" when the local file would open, "Online help" otherwise.
std::string HelpCaption();
// Opens help; throws base::OsError when the shell cannot open it.
void OpenHelp(HWND owner);

} // namespace brevalo::os
