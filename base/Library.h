// Functions of a system library looked up at run time, for what the program
// can do without: the executable gains no import for them, and the library
// is loaded only when first needed.
#pragma once

#include <windows.h>

namespace brevalo::base {

// The function `name` of `module`, or null when either is missing.
template <typename Function>
void LoadFunction(HMODULE module, const char* name, Function& function) noexcept {
    function =
        module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

} // namespace brevalo::base
