// The Run value of one timer that resumes after a restart: its name is
// chosen so that no other running timer uses it, and the timer holds that
// name (a named kernel object) for as long as its process lives, so that a
// timer started later in the same second takes another one.
#pragma once

#include "Handle.h"
#include "TimerSettings.h"

#include <windows.h>

#include <string>
#include <vector>

namespace brevalo::os {

// The autorun list a value is in: Run, which starts the timer at every
// log-on until the timer removes it, or RunOnce, which the system empties as
// it starts the timer once (a timer interrupted by a log-off).
enum class AutorunList { Run, RunOnce };

// How removing a value ended: gone (or never there), or still there.
enum class Removal { Removed, Left };

// The key of an autorun list, as the Registry Editor shows it (ElevatedRegistry.h).
std::string AutorunKeyPath(RegistryRoot root, AutorunList list);

// Deletes value `name` of `root`'s `list`. A machine-wide value this process
// may not delete (a user without administrator rights, or an administrator
// whose process is not elevated) is deleted with the rights Windows grants
// once the user allows it; Left when it is there all the same. Throws
// OsError when the key cannot be used for any other reason.
Removal DeleteAutorunValue(RegistryRoot root, AutorunList list, const std::string& name,
                           HWND owner);

// The names of the Run values under `root` whose data is `data`, in the
// key's order; none when the key cannot be read.
std::vector<std::string> RunValuesHolding(RegistryRoot root, const std::string& data);

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

    RegistryRoot Root() const noexcept { return root_; }
    const std::string& Name() const noexcept { return name_; }
    // True from a successful Write to the next Remove.
    bool Written() const noexcept { return written_; }

    // Sets the value; throws OsError. A value that holds the data already
    // (the one a resumed timer was started from) is taken as it is, so a
    // machine-wide value needs no rights to write when it is there.
    void Write();
    // Deletes the value if this timer wrote it, and never another timer's,
    // as DeleteAutorunValue does. Once only: a value Left is not tried
    // again. Throws OsError.
    Removal Remove(HWND owner);

private:
    RegistryRoot root_;
    AutorunList list_;
    std::string data_;
    std::string name_;
    base::KernelHandle claim_;
    bool written_ = false;
};

} // namespace brevalo::os
