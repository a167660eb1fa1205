// Opening a program, document or address through the shell.
#pragma once

#include <windows.h>

#include <string>

namespace brevalo::os {

// ShellExecuteW with `verb` on `file`, shown normally; no parameters when
// `parameters` is empty. Throws base::OsError when the shell refuses (its
// results of 32 and below), with the error code the shell left, or the
// generic text when it left none.
void ShellOpen(HWND owner, const std::string& verb, const std::string& file,
               const std::string& parameters = {});

} // namespace brevalo::os
