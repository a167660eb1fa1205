#include "TaskbarProgress.h"

#include "ComApartment.h"
#include "ComPtr.h"

#include <shobjidl.h>

namespace brevalo {

namespace {

TBPFLAG ShellFlag(TaskbarState state) {
    switch (state) {
    case TaskbarState::Normal:
        return TBPF_NORMAL;
    case TaskbarState::Paused:
        return TBPF_PAUSED;
    case TaskbarState::Error:
        return TBPF_ERROR;
    case TaskbarState::None:
        break;
    }
    return TBPF_NOPROGRESS;
}

// The shell's answers are not checked: a shell that does little with the
// progress is no reason to disturb the timer.
class ShellTaskbarProgress : public TaskbarProgress {
public:
    // Joins the thread to COM (throws base::OsError where it cannot).
    explicit ShellTaskbarProgress(HWND window) : window_(window) {}

    // Makes the shell's taskbar list; false where the shell has none.
    bool Connect() {
        return SUCCEEDED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER,
                                          __uuidof(ITaskbarList3), list_.PutVoid())) &&
               SUCCEEDED(list_->HrInit());
    }

    void SetState(TaskbarState state) override {
        list_->SetProgressState(window_, ShellFlag(state));
    }
    void SetValue(std::uint64_t completed, std::uint64_t total) override {
        list_->SetProgressValue(window_, completed, total);
    }

private:
    // Declared first: the apartment outlives the taskbar list.
    os::ComApartment apartment_;
    HWND window_;
    base::ComPtr<ITaskbarList3> list_;
};

} // namespace

UINT TaskbarButtonCreatedMessage(HWND window) {
    const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    // An elevated window would otherwise never hear from the shell. Refused
    // or not, the window works without the progress.
    if (message)
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
    return message;
}

std::unique_ptr<TaskbarProgress> CreateShellTaskbarProgress(HWND window) {
    try {
        auto progress = std::make_unique<ShellTaskbarProgress>(window);
        return progress->Connect() ? std::move(progress) : nullptr;
    } catch (...) {
        // No COM on this thread: no progress.
        return nullptr;
    }
}

} // namespace brevalo
