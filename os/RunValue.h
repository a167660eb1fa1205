// The Run value of one timer that resumes after a restart: its name is
// chosen so that no other running timer uses it, and the timer holds that
// name (a named kernel object) for as long as its process lives, so that a
// timer started later in the same second takes another one.
#pragma once

#include "Handle.h"
#include "TimerSettings.h"

#include <string>

namespace brevalo::os {

// The autorun list a value is in: Run, which starts the timer at every
// log-on until the timer removes it, or RunOnce, which the system empties as
// it starts the timer once (a timer interrupted by a log-off).
enum class AutorunList { Run, RunOnce };

class RunValue {
public:
    // Chooses and claims the name for a timer ending at `endText` whose
    // restart command line is `data`, in `root`'s `list` (ChooseRunValueName:
    // the names of both lists follow one rule, so timers ending in the same
    // second never share one). Throws OsError when the key cannot be read.
    RunValue(RegistryRoot root, const std::string& endText, const std::string& data,
             AutorunList list = AutorunList::Run);
    RunValue(RunValue&&) = default;
    RunValue& operator=(RunValue&&) = default;

    const std::string& Name() const noexcept { return name_; }
    // True from a successful Write to the next Remove.
    bool Written() const noexcept { return written_; }

    // Sets the value; throws OsError.
    void Write();
    // Deletes the value if this timer wrote it, and never another timer's;
    // throws OsError.
    void Remove();

private:
    RegistryRoot root_;
    const char* key_;
    std::string data_;
    std::string name_;
    base::KernelHandle claim_;
    bool written_ = false;
};

} // namespace brevalo::os
