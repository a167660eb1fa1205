// The application object: the message loop, the idle event, the exception
// event and the error box.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace brevalo::gui {

class Window;

class Application {
public:
    using IdleHandler = std::function<void()>;
    using ExceptionHandler = std::function<void(std::exception_ptr)>;

    static Application& Instance();

    // Registers the common controls (unless told not to: a running timer
    // has none, and the library is then never loaded) and takes the default
    // title: the executable's name up to the first ".", letters after the
    // first in lower case.
    void Initialize(HINSTANCE instance, bool commonControls = true);
    HINSTANCE Instance_() const noexcept { return instance_; }

    const std::string& Title() const noexcept { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // The window whose destruction ends the message loop.
    void SetMainWindow(Window* window) noexcept { mainWindow_ = window; }
    Window* MainWindow() const noexcept { return mainWindow_; }

    // Runs the message loop until WM_QUIT; returns its exit code.
    int Run();
    // Handles every message already queued, then returns.
    void ProcessMessages();
    // True once ProcessMessages has met the WM_QUIT that ends the loop: a
    // wait that pumps messages must then give up.
    bool Terminated() const noexcept { return terminated_; }

    // Idle handlers run each time the message queue has been emptied. A
    // handler may remove itself (or another) while running.
    int AddIdleHandler(IdleHandler handler);
    void RemoveIdleHandler(int id) noexcept;

    // The exception event: replaces the default of showing the error box.
    void SetExceptionHandler(ExceptionHandler handler) { onException_ = std::move(handler); }

    // Reports an error that left an event handler; never throws.
    void HandleException(std::exception_ptr error) noexcept;
    // The error box: the message (with a full stop added when its last
    // character's code is above that of "."), the title as caption, a stop
    // icon and OK.
    void ShowException(const std::string& message) noexcept;

    // The text of an error as shown to the user.
    static std::string ExceptionMessage(std::exception_ptr error);
    static std::string ErrorBoxText(std::string message);
    static std::string DefaultTitle(const std::wstring& modulePath);

private:
    Application() = default;
    bool DispatchOne(MSG& msg);
    void DoIdle() noexcept;

    HINSTANCE instance_ = nullptr;
    std::string title_;
    Window* mainWindow_ = nullptr;
    struct IdleEntry {
        int id;
        IdleHandler handler;
    };
    std::vector<IdleEntry> idle_;
    int nextIdleId_ = 1;
    ExceptionHandler onException_;
    bool terminated_ = false;
};

} // namespace brevalo::gui
