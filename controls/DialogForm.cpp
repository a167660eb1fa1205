#include "DialogForm.h"

#include "Application.h"
#include "OsError.h"
#include "Strings.h"

#include <algorithm>

namespace brevalo::controls {

namespace {

bool NoModifiers() {
    return GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

struct ThreadWindows {
    HWND except;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableThreadWindow(HWND hwnd, LPARAM data) {
    auto* windows = reinterpret_cast<ThreadWindows*>(data);
    if (hwnd != windows->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        windows->disabled.push_back(hwnd);
    }
    return TRUE;
}

BOOL CALLBACK NotifyDpiChanged(HWND hwnd, LPARAM) {
    if (ChildControl* control = ChildControl::FromHandle(hwnd))
        control->DpiChanged();
    return TRUE;
}

bool PressIfAvailable(PushButton* button) {
    if (!button || !button->CanFocus())
        return false;
    button->Click();
    return true;
}

} // namespace

bool KeyBelongsToFocus(const MSG& msg, HWND& button) {
    button = nullptr;
    HWND focus = GetFocus();
    if (!focus)
        return false;
    MSG copy = msg;
    const LRESULT code =
        SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&copy));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
        return true;
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        button = focus;
        return true;
    }
    return false;
}

void FocusAsDialog(HWND control) {
    if (!control)
        return;
    const LRESULT code = SendMessageW(control, WM_GETDLGCODE, 0, 0);
    const bool radio = (code & DLGC_RADIOBUTTON) != 0;
    if (radio) {
        HWND parent = GetParent(control);
        HWND item = control;
        do {
            if (SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                control = item;
                break;
            }
            item = GetNextDlgGroupItem(parent, item, FALSE);
        } while (item && item != control);
    }
    if (code & DLGC_HASSETSEL)
        SendMessageW(control, EM_SETSEL, 0, -1);
    SetFocus(control);
}

DialogForm::~DialogForm() = default;

DialogForm* DialogForm::Of(HWND hwnd) noexcept {
    if (!hwnd)
        return nullptr;
    return dynamic_cast<DialogForm*>(gui::Window::FromHandle(GetAncestor(hwnd, GA_ROOT)));
}

void DialogForm::AddDialogKeyHandler(DialogKeyHandler* handler) {
    keyHandlers_.push_back(handler);
}

void DialogForm::RemoveDialogKeyHandler(DialogKeyHandler* handler) noexcept {
    std::erase(keyHandlers_, handler);
}

void DialogForm::CreateDialogWindow(const DialogParams& params) {
    CreateParams create;
    create.className = params.className;
    create.caption = base::Widen(params.caption);
    create.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    create.exStyle =
        WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | (params.stayOnTop ? WS_EX_TOPMOST : 0);
    create.parent = params.owner;
    create.x = create.y = 0;
    create.width = create.height = 100;
    CreateHandle(create);

    fontHandle_ = CreateMessageFont(Dpi());
    RECT outer{0, 0, Scale(params.clientWidth), Scale(params.clientHeight)};
    AdjustWindowRectEx(&outer, create.style, FALSE, create.exStyle);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    // Centred on the screen's work area.
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    SetBoundsPixels((area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2,
                    width, height);
}

int DialogForm::ShowModal() {
    if (modal_ || !Handle())
        return mrNone;
    modalResult_ = mrNone;
    modal_ = true;
    DoShow();

    ThreadWindows others{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), &DisableThreadWindow,
                      reinterpret_cast<LPARAM>(&others));
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());

    bool quit = false;
    int quitCode = 0;
    while (modalResult_ == mrNone && Handle()) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = int(msg.wParam);
            modalResult_ = mrCancel;
            break;
        }
        if (got == -1)
            break;
        try {
            gui::Window* root = gui::Window::FromHandle(GetAncestor(msg.hwnd, GA_ROOT));
            if (root && root->PreTranslateMessage(msg))
                continue;
        } catch (...) {
            gui::Application::Instance().HandleException(std::current_exception());
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (modalResult_ == mrNone)
        modalResult_ = mrCancel; // the window went away

    // The other windows come back before this one hides, so that the system
    // activates one of them and not another program's window.
    for (HWND hwnd : others.disabled)
        if (IsWindow(hwnd))
            EnableWindow(hwnd, TRUE);
    if (Handle())
        ShowWindow(Handle(), SW_HIDE);
    modal_ = false;
    if (quit)
        PostQuitMessage(quitCode);
    return modalResult_;
}

bool DialogForm::HandleDialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) ||
        !NoModifiers())
        return false;
    for (DialogKeyHandler* handler : std::vector<DialogKeyHandler*>(keyHandlers_))
        if (handler->DialogKey(msg))
            return true;
    HWND button = nullptr;
    const bool focusTakesKey = KeyBelongsToFocus(msg, button);
    if (msg.wParam == VK_ESCAPE)
        return !(focusTakesKey && !button) && PressIfAvailable(cancelButton_);
    if (focusTakesKey) {
        if (!button)
            return false;
        SendMessageW(button, BM_CLICK, 0, 0);
        return true;
    }
    return PressIfAvailable(defaultButton_);
}

namespace {

struct MnemonicSearch {
    wchar_t typed;
    HWND target = nullptr;
};

BOOL CALLBACK FindLabelMnemonic(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<MnemonicSearch*>(data);
    auto* form = dynamic_cast<gui::Form*>(gui::Window::FromHandle(hwnd));
    if (form && IsWindowVisible(hwnd))
        search->target = form->MnemonicTarget(search->typed);
    return search->target ? FALSE : TRUE;
}

bool Reachable(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

} // namespace

bool DialogForm::HandleLabelMnemonic(const MSG& msg) {
    if (msg.message != WM_SYSCHAR && msg.message != WM_CHAR)
        return false;
    if (msg.message == WM_CHAR) {
        // Plain keys are mnemonics only where the control they are meant for
        // takes no characters itself, as for the dialog manager.
        MSG copy = msg;
        if (!msg.hwnd || (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam,
                                       reinterpret_cast<LPARAM>(&copy)) &
                          (DLGC_WANTCHARS | DLGC_WANTMESSAGE)))
            return false;
    }
    MnemonicSearch search{wchar_t(msg.wParam)};
    search.target = MnemonicTarget(search.typed);
    if (!search.target)
        EnumChildWindows(Handle(), &FindLabelMnemonic, reinterpret_cast<LPARAM>(&search));
    if (!Reachable(search.target))
        return false;
    FocusAsDialog(search.target);
    return true;
}

void DialogForm::NextControl(WPARAM wParam, LPARAM lParam) {
    HWND target = nullptr;
    if (LOWORD(lParam))
        target = reinterpret_cast<HWND>(wParam);
    else
        target = GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0);
    if (!target)
        return;
    // A label (or a group's frame) is only a step: the dialog manager asks
    // for the next control at once.
    if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) {
        SetFocus(target);
        return;
    }
    FocusAsDialog(target);
}

bool DialogForm::PreTranslateMessage(MSG& msg) {
    if (gui::Form::PreTranslateMessage(msg))
        return true;
    if (HandleDialogKey(msg))
        return true;
    if (HandleLabelMnemonic(msg))
        return true;
    // Tab, the arrow keys between grouped controls and mnemonics.
    return IsDialogMessageW(Handle(), &msg) != FALSE;
}

void DialogForm::RescaleForDpi(UINT oldDpi, UINT newDpi, gui::DpiFonts& fonts) {
    // The old font goes only once no control uses it any more.
    const base::Font previous = std::move(fontHandle_);
    fontHandle_ = CreateMessageFont(newDpi);
    fonts.Map(previous.Get(), fontHandle_.Get());
    gui::Form::RescaleForDpi(oldDpi, newDpi, fonts);
    // Then the controls that size themselves to their font or load pictures.
    EnumChildWindows(Handle(), &NotifyDpiChanged, 0);
}

LRESULT DialogForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ChildControl::Reflect(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_COMMAND:
        // Enter and Esc that no control took arrive as IDOK / IDCANCEL from
        // the dialog manager; they mean nothing here.
        if (lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
            return 0;
        break;
    case WM_NEXTDLGCTL:
        NextControl(wParam, lParam);
        return 0;
    case WM_CLOSE:
        if (modal_) {
            modalResult_ = mrCancel;
            return 0;
        }
        break;
    }
    return gui::Form::HandleMessage(message, wParam, lParam);
}

} // namespace brevalo::controls
