#include "InputBox.h"

#include "Accessible.h"
#include "Dpi.h"
#include "Handle.h"
#include "OsError.h"
#include "Strings.h"
#include "Window.h"

#include <algorithm>

namespace brevalo::gui {

namespace {

// Layout in pixels at 96 DPI.
constexpr int Margin = 11;
constexpr int ClientWidth = 330;
constexpr int PromptGap = 6;
constexpr int EditPadding = 8;
constexpr int ButtonGap = 14;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonSpacing = 6;

constexpr int PromptId = 100;
constexpr int EditId = 101;

// The system's message font at the given DPI; the stock GUI font if the
// metrics cannot be read.
base::Font MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LOGFONTW font = metrics.lfMessageFont;
        // The metrics are given at the system DPI.
        const UINT systemDpi = WindowDpi(nullptr);
        if (dpi != systemDpi)
            font.lfHeight = MulDiv(font.lfHeight, int(dpi), int(systemDpi));
        if (HFONT created = CreateFontIndirectW(&font))
            return base::Font(created);
    }
    LOGFONTW fallback{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
    return base::Font(CreateFontIndirectW(&fallback));
}

// Height of `text` wrapped to `width` pixels in `font`, and of one line.
SIZE MeasureText(HFONT font, const std::wstring& text, int width) {
    base::WindowDc dc(nullptr);
    base::SelectObjectScope select(dc.Get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    RECT r{0, 0, width, 0};
    DrawTextW(dc.Get(), text.empty() ? L" " : text.c_str(), -1, &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    return SIZE{int(r.bottom - r.top), int(metrics.tmHeight)};
}

// Disables the owner for the time the box is open; Restore (or the
// destructor) enables it again if it was enabled before.
class OwnerDisabled {
public:
    explicit OwnerDisabled(HWND owner) noexcept
        : owner_(owner && IsWindowEnabled(owner) ? owner : nullptr) {
        if (owner_)
            EnableWindow(owner_, FALSE);
    }
    OwnerDisabled(const OwnerDisabled&) = delete;
    OwnerDisabled& operator=(const OwnerDisabled&) = delete;
    ~OwnerDisabled() { Restore(); }
    void Restore() noexcept {
        if (owner_ && IsWindow(owner_))
            EnableWindow(owner_, TRUE);
        owner_ = nullptr;
    }

private:
    HWND owner_;
};

class InputBoxWindow : public Window {
public:
    void Create(HWND owner, const std::string& caption, const std::string& prompt,
                const std::string& value);
    // Shows the box and runs the modal loop until it is answered or closed.
    void RunModal(HWND owner);

    std::optional<std::string> Result() const { return result_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void HandleDestroyed() override { done_ = true; }

private:
    HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                    const RECT& bounds, int id);
    void Finish(bool confirmed);

    base::Font font_;
    HWND edit_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool done_ = false;
    bool quit_ = false;
    int quitCode_ = 0;
    std::optional<std::string> result_;
};

HWND InputBoxWindow::AddControl(const wchar_t* className, const std::wstring& text, DWORD style,
                                DWORD exStyle, const RECT& bounds, int id) {
    HWND control = CreateWindowExW(
        exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
        bounds.right - bounds.left, bounds.bottom - bounds.top, Handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!control)
        base::RaiseLastOsError();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return control;
}

void InputBoxWindow::Create(HWND owner, const std::string& caption, const std::string& prompt,
                            const std::string& value) {
    const UINT dpi = WindowDpi(owner);
    auto scale = [dpi](int pixels96) { return ScaleToDpi(pixels96, dpi); };
    font_ = MessageFont(dpi);

    const std::wstring promptText = base::Widen(prompt);
    const int margin = scale(Margin), width = scale(ClientWidth);
    const int innerWidth = width - 2 * margin;
    const SIZE text = MeasureText(font_.Get(), promptText, innerWidth);
    const RECT promptBounds{margin, margin, margin + innerWidth, margin + text.cx};
    const int editTop = promptBounds.bottom + scale(PromptGap);
    const RECT editBounds{margin, editTop, margin + innerWidth,
                          editTop + text.cy + scale(EditPadding)};
    const int buttonTop = editBounds.bottom + scale(ButtonGap);
    const int buttonWidth = scale(ButtonWidth), buttonHeight = scale(ButtonHeight);
    const int cancelLeft = width - margin - buttonWidth;
    const int okLeft = cancelLeft - scale(ButtonSpacing) - buttonWidth;
    const RECT okBounds{okLeft, buttonTop, okLeft + buttonWidth, buttonTop + buttonHeight};
    const RECT cancelBounds{cancelLeft, buttonTop, cancelLeft + buttonWidth,
                            buttonTop + buttonHeight};
    const int height = buttonTop + buttonHeight + margin;

    CreateParams params;
    params.className = InputBoxClassName;
    params.caption = base::Widen(caption);
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    params.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    params.parent = owner;
    params.background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    params.classStyle = 0;
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, params.style, FALSE, params.exStyle);
    params.width = outer.right - outer.left;
    params.height = outer.bottom - outer.top;

    // Centred on the owner (or the screen), kept inside the monitor's work area.
    RECT area{};
    if (owner)
        GetWindowRect(owner, &area);
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                          : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    if (!owner)
        area = monitor.rcWork;
    params.x = (area.left + area.right - params.width) / 2;
    params.y = (area.top + area.bottom - params.height) / 2;
    params.x = std::max<int>(monitor.rcWork.left,
                             std::min<int>(params.x, monitor.rcWork.right - params.width));
    params.y = std::max<int>(monitor.rcWork.top,
                             std::min<int>(params.y, monitor.rcWork.bottom - params.height));
    CreateHandle(params);

    AddControl(L"STATIC", promptText, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0, promptBounds,
               PromptId);
    edit_ = AddControl(L"EDIT", base::Widen(value), WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                       editBounds, EditId);
    // The prompt shows no mnemonic, so the edit is named after its words.
    AccessibleInfo info;
    info.name = [name = prompt] { return name; };
    SetAccessible(edit_, std::move(info));
    AddControl(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, okBounds, IDOK);
    AddControl(L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, cancelBounds, IDCANCEL);
}

void InputBoxWindow::RunModal(HWND owner) {
    OwnerDisabled disabled(owner);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(edit_);
    SendMessageW(edit_, EM_SETSEL, 0, -1);

    MSG msg;
    while (!done_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: close the box and leave the quit to the
            // loop it was meant for.
            quit_ = true;
            quitCode_ = int(msg.wParam);
            break;
        }
        if (got == -1)
            break;
        if (!Handle() || !IsDialogMessageW(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The owner must be enabled before the box goes, or the system activates
    // some other program's window instead of it.
    disabled.Restore();
    if (Handle())
        ShowWindow(Handle(), SW_HIDE);
    if (quit_)
        PostQuitMessage(quitCode_);
}

void InputBoxWindow::Finish(bool confirmed) {
    if (done_)
        return;
    if (confirmed) {
        const int length = GetWindowTextLengthW(edit_);
        std::wstring text(std::size_t(length) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(edit_, text.data(), length + 1)));
        result_ = base::Narrow(text);
    }
    done_ = true;
}

LRESULT InputBoxWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // From the buttons, and from Enter and Escape through IsDialogMessage.
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
            Finish(true);
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
            Finish(false);
            return 0;
        }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE:
        Finish(false);
        return 0;
    case WM_ACTIVATE:
        // Keep the focus on the same control across a switch to another program.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus))
                lastFocus_ = focus;
        } else {
            SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : edit_);
        }
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace

std::optional<std::string> InputBox(HWND owner, const std::string& caption,
                                    const std::string& prompt, const std::string& value) {
    // The box belongs to the owner's top-level window, which is what gets
    // disabled.
    HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    InputBoxWindow box;
    box.Create(root, caption, prompt, value);
    box.RunModal(root);
    return box.Result();
}

} // namespace brevalo::gui
