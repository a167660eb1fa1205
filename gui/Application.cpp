#include "Application.h"

#include "MessageBox.h"
#include "Strings.h"
#include "Window.h"

#include <commctrl.h>

#include <cwctype>

namespace brevalo::gui {

Application& Application::Instance() {
    static Application application;
    return application;
}

void Application::Initialize(HINSTANCE instance, bool commonControls) {
    instance_ = instance;
    if (commonControls) {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                   ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&init);
    }
    wchar_t path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    title_ = DefaultTitle(std::wstring(path, length));
}

std::string Application::DefaultTitle(const std::wstring& modulePath) {
    std::wstring name = modulePath.substr(modulePath.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.find(L'.'));
    for (std::size_t i = 1; i < name.size(); ++i)
        name[i] = wchar_t(std::towlower(name[i]));
    return base::Narrow(name);
}

int Application::Run() {
    for (;;) {
        MSG msg;
        // With no idle handler there is nothing to do between messages:
        // GetMessage waits in the same call that looks (every look is a
        // kernel call, and a timer wakes five times a second).
        if (idle_.empty()) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0)
                return int(msg.wParam);
            if (got > 0)
                DispatchOne(msg);
            continue;
        }
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return int(msg.wParam);
            DispatchOne(msg);
        }
        // Idle handlers may have posted messages or quit: look again first.
        DoIdle();
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            WaitMessage();
    }
}

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the loop that owns it.
            terminated_ = true;
            PostQuitMessage(int(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

bool Application::DispatchOne(MSG& msg) {
    try {
        if (Window* root = Window::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)))
            if (root->PreTranslateMessage(msg))
                return true;
    } catch (...) {
        HandleException(std::current_exception());
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

int Application::AddIdleHandler(IdleHandler handler) {
    const int id = nextIdleId_++;
    idle_.push_back({id, std::move(handler)});
    return id;
}

void Application::RemoveIdleHandler(int id) noexcept {
    for (auto& entry : idle_)
        if (entry.id == id)
            entry.handler = nullptr;
}

void Application::DoIdle() noexcept {
    // Handlers may add or remove handlers while running: work on ids.
    std::vector<int> ids;
    for (const auto& entry : idle_)
        ids.push_back(entry.id);
    for (int id : ids) {
        for (auto& entry : idle_) {
            if (entry.id != id || !entry.handler)
                continue;
            IdleHandler handler = entry.handler; // keep alive if it removes itself
            try {
                handler();
            } catch (...) {
                HandleException(std::current_exception());
            }
            break;
        }
    }
    std::erase_if(idle_, [](const IdleEntry& e) { return !e.handler; });
}

std::string Application::ExceptionMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

std::string Application::ErrorBoxText(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

void Application::HandleException(std::exception_ptr error) noexcept {
    try {
        if (onException_)
            onException_(error);
        else
            ShowException(ExceptionMessage(error));
    } catch (...) {
        // The handler itself failed: fall back to the plain error box.
        ShowException(ExceptionMessage(std::current_exception()));
    }
}

void Application::ShowException(const std::string& message) noexcept {
    try {
        ShowMessageBox(GetActiveWindow(), ErrorBoxText(message), title_, MB_OK | MB_ICONSTOP);
    } catch (...) {
        MessageBeep(MB_ICONSTOP);
    }
}

} // namespace brevalo::gui
