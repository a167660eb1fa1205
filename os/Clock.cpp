#include "Clock.h"

#include "Library.h"

#include <windows.h>

namespace brevalo::os {

namespace {

using PreciseTimeFunction = void(WINAPI*)(LPFILETIME);

// The system time to the microsecond (Windows 8 and later), where the plain
// reading moves only with the clock's interrupt, every 15.6 ms by default:
// the ticks that land just after a whole second must see that second.
PreciseTimeFunction PreciseSystemTime() noexcept {
    static const PreciseTimeFunction function = [] {
        PreciseTimeFunction f = nullptr;
        base::LoadFunction(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime", f);
        return f;
    }();
    return function;
}

} // namespace

DateTime LocalNow() {
    SYSTEMTIME st;
    if (const PreciseTimeFunction precise = PreciseSystemTime()) {
        FILETIME utc, local;
        precise(&utc);
        // The current bias, as GetLocalTime applies it.
        if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &st))
            return FromSystemTime(st);
    }
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
