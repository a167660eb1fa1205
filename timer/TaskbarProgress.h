// The progress a window shows on its taskbar button.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace brevalo {

enum class TaskbarState { None, Normal, Paused, Error };

// One window's button. The window talks only to this, so tests can record
// what it shows.
class TaskbarProgress {
public:
    virtual ~TaskbarProgress() = default;
    virtual void SetState(TaskbarState state) = 0;
    // How much of the bar is filled. On a button without progress this
    // shows it in the normal state.
    virtual void SetValue(std::uint64_t completed, std::uint64_t total) = 0;
};

// The message the shell sends a window each time it has made the window's
// taskbar button. It is let through to the window even when the window runs
// elevated and the shell does not.
UINT TaskbarButtonCreatedMessage(HWND window);

// The shell's progress on the window's button, through its taskbar list;
// null where the shell offers none. Made on the window's thread once the
// shell has announced the button, and used on that thread only.
std::unique_ptr<TaskbarProgress> CreateShellTaskbarProgress(HWND window);

} // namespace brevalo
