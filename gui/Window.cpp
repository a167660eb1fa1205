#include "Window.h"

#include "Application.h"
#include "Dpi.h"
#include "OsError.h"
#include "Strings.h"

#include <utility>

namespace brevalo::gui {

Window::~Window() {
    if (hwnd_) {
        // Detach first so that the destruction messages find no object.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = std::exchange(hwnd_, nullptr);
        DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd) noexcept {
    if (!hwnd)
        return nullptr;
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC)) != &Window::WindowProc)
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Window::PreTranslateMessage(MSG&) {
    return false;
}

UINT Window::Dpi() const noexcept {
    return WindowDpi(hwnd_);
}

int Window::Scale(int pixels96) const noexcept {
    return ScaleToDpi(pixels96, Dpi());
}

RECT Window::ScaleRect(int left, int top, int width, int height) const noexcept {
    return RECT{Scale(left), Scale(top), Scale(left + width), Scale(top + height)};
}

std::string Window::Text() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(std::size_t(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(std::size_t(copied));
    return base::Narrow(text);
}

void Window::SetText(const std::string& text) {
    base::CheckOs(SetWindowTextW(hwnd_, base::Widen(text).c_str()));
}

void Window::CreateHandle(const CreateParams& params) {
    HINSTANCE instance = Application::Instance().Instance_();
    WNDCLASSEXW existing{sizeof existing};
    if (!GetClassInfoExW(instance, params.className.c_str(), &existing)) {
        WNDCLASSEXW wc{sizeof wc};
        wc.style = params.classStyle;
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = instance;
        wc.hIcon = params.icon;
        wc.hIconSm = params.icon;
        wc.hCursor = params.cursor ? params.cursor : LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = params.background;
        wc.lpszClassName = params.className.c_str();
        base::CheckOs(RegisterClassExW(&wc));
    }
    HWND hwnd = CreateWindowExW(params.exStyle, params.className.c_str(), params.caption.c_str(),
                                params.style, params.x, params.y, params.width, params.height,
                                params.parent, params.menuOrId, instance, this);
    if (!hwnd)
        base::RaiseLastOsError();
}

void Window::CreateMessageOnlyHandle(const wchar_t* className) {
    CreateParams params;
    params.className = className;
    params.style = 0;
    params.x = params.y = params.width = params.height = 0;
    params.parent = HWND_MESSAGE;
    CreateHandle(params);
}

LRESULT Window::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        // A top-level window is laid out for the DPI it starts with.
        if (!(create->style & WS_CHILD))
            RecordWindowDpi(hwnd, WindowDpi(hwnd));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
        result = DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        RecordWindowDpi(hwnd, 0);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        try {
            self->HandleDestroyed();
        } catch (...) {
            Application::Instance().HandleException(std::current_exception());
        }
    }
    return result;
}

} // namespace brevalo::gui
