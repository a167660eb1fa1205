// What happens when an exception escapes everything, or a noexcept function
// throws: the process ends at once. The runtime's own handler would first
// print the exception's name, demangled, to a console that a windowed
// program does not have, and brings the C++ demangler (about 45 KB) into
// the executable for it. Every window, dialog and thread procedure of the
// program catches its errors and reports them, so this is the last resort.
#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
