#include "OsError.h"

#include "Strings.h"

#include <windows.h>


namespace brevalo::base {

namespace {

std::string SystemDescription(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    // The system's descriptions end with a line break; the message does not.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return Narrow(text);
}

} // namespace

std::string OsErrorMessage(std::uint32_t code) {
    if (code == 0)
        return "A call to an OS function failed";
    return "System Error.  Code: " + std::to_string(int(code)) + ".\r\n" + SystemDescription(code);
}

OsError::OsError(std::uint32_t code) : std::runtime_error(OsErrorMessage(code)), code_(code) {}

void RaiseLastOsError() {
    throw OsError(GetLastError());
}

} // namespace brevalo::base
