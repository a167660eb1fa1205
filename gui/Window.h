// Base of every window the program registers itself. The object is attached
// to its HWND once, on WM_NCCREATE, from the lpCreateParams of
// CreateWindowExW; all messages then go to the one virtual HandleMessage.
// No exception leaves the window procedure: errors go to the application's
// handler.
#pragma once

#include <windows.h>

#include <string>

namespace brevalo::gui {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

    // The object of one of our windows, or null for any other window.
    static Window* FromHandle(HWND hwnd) noexcept;

    // Called by the message loop for every message aimed at this root window
    // or its children before it is translated and dispatched; true when the
    // message has been handled.
    virtual bool PreTranslateMessage(MSG& msg);

    // The window's DPI and a length in 96-DPI pixels scaled to it.
    UINT Dpi() const noexcept;
    int Scale(int pixels96) const noexcept;
    // The rectangle at (left, top), width by height, all in 96-DPI pixels,
    // scaled to the window's DPI. Its corners are scaled, not its size, so
    // that neighbouring rectangles stay neighbours at any DPI.
    RECT ScaleRect(int left, int top, int width, int height) const noexcept;

    std::string Text() const;
    void SetText(const std::string& text);

protected:
    struct CreateParams {
        DWORD exStyle = 0;
        DWORD style = WS_OVERLAPPEDWINDOW;
        std::wstring className;
        std::wstring caption;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        HWND parent = nullptr;
        HMENU menuOrId = nullptr;
        UINT classStyle = CS_DBLCLKS;
        HBRUSH background = nullptr;
        HICON icon = nullptr;
        HCURSOR cursor = nullptr;
    };

    // Registers the class (once) and creates the window; throws OsError.
    void CreateHandle(const CreateParams& params);
    // A message-only window (never shown, no size) of that class, for
    // receiving messages that other threads post to this thread.
    void CreateMessageOnlyHandle(const wchar_t* className);

    // The one message handler; the default passes to DefWindowProcW.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

    // Called once the window is gone (after WM_NCDESTROY).
    virtual void HandleDestroyed() {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

} // namespace brevalo::gui
