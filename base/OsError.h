// The one error type for failed operating-system calls.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace brevalo::base {

class OsError : public std::runtime_error {
public:
    // "System Error.  Code: %d.\r\n%s" with the system's description, or
    // "A call to an OS function failed" when code is 0.
    explicit OsError(std::uint32_t code);
    std::uint32_t Code() const noexcept { return code_; }

private:
    std::uint32_t code_;
};

// The message text for a system error code.
std::string OsErrorMessage(std::uint32_t code);

// Throws the calling thread's last error.
[[noreturn]] void RaiseLastOsError();

// Throws the last error when `ok` is false; returns `ok` otherwise, so a call
// can be wrapped in place: CheckOs(SetWindowTextW(...)).
template <typename T> T CheckOs(T ok) {
    if (!ok)
        RaiseLastOsError();
    return ok;
}

} // namespace brevalo::base
