#include "Clock.h"

#include <windows.h>

namespace brevalo::os {

DateTime LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    const auto value = EncodeDateTime(
        {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
    return value.value_or(0.0);
}

std::uint32_t TickCount() {
    return GetTickCount();
}

} // namespace brevalo::os
