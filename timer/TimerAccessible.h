// What a screen reader learns about the timer window's client area: the
// timer's name, the remaining time in words, and whether it counts.
#pragma once

#include "ComApartment.h"
#include "ComPtr.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace brevalo {

enum class TimerActivity { Counting, Paused, Other };

// What the accessible object reads from the window at each question.
class TimerAccessibleSource {
public:
    virtual ~TimerAccessibleSource() = default;
    virtual std::string AccessibleName() = 0;
    // The whole seconds the digits show.
    virtual std::int64_t AccessibleRemainingSeconds() = 0;
    virtual TimerActivity AccessibleActivity() = 0;
};

class TimerAccessible;

// The window's side: answers WM_GETOBJECT for the client area and tells
// listening readers of changes. The accessible object is made at the first
// question; a reader that keeps it after the window has gone gets errors,
// not the gone window's data.
class TimerAccessibility {
public:
    explicit TimerAccessibility(TimerAccessibleSource& source) noexcept;
    TimerAccessibility(const TimerAccessibility&) = delete;
    TimerAccessibility& operator=(const TimerAccessibility&) = delete;
    ~TimerAccessibility();

    // The answer to WM_GETOBJECT: the object for the client area, nullopt
    // for any other object (and where the system offers no accessibility),
    // which the default handling then answers.
    std::optional<LRESULT> AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam) noexcept;

private:
    TimerAccessibleSource& source_;
    // Declared before the object: COM stays joined until it is released.
    std::optional<os::ComApartment> apartment_;
    base::ComPtr<TimerAccessible> object_;
};

} // namespace brevalo
