#include "Clock.h"

#include <windows.h>

namespace brevalo::os {

DateTime LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return FromSystemTime(st);
}

SYSTEMTIME ToSystemTime(DateTime value) {
    const CivilDateTime civil = DecodeDateTime(value);
    SYSTEMTIME st{};
    st.wYear = WORD(civil.year);
    st.wMonth = WORD(civil.month);
    st.wDay = WORD(civil.day);
    st.wHour = WORD(civil.hour);
    st.wMinute = WORD(civil.minute);
    st.wSecond = WORD(civil.second);
    st.wMilliseconds = WORD(civil.millisecond);
    return st;
}

DateTime FromSystemTime(const SYSTEMTIME& st) {
    return EncodeDateTime(
               {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds})
        .value_or(0.0);
}

std::uint32_t TickCount() {
    return GetTickCount();
}

} // namespace brevalo::os
