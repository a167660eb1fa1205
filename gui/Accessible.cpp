#include "Accessible.h"

#include "Application.h"
#include "ComPtr.h"
#include "GraphicControl.h"
#include "Library.h"
#include "Mnemonic.h"
#include "Strings.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>

namespace brevalo::gui {

namespace {

constexpr UINT_PTR AccessibleSubclassId = 0x4143; // any number unique to this file
// The answers of a window that has them, for replacing them.
constexpr wchar_t AnswersProperty[] = L"Brevalo.Accessible";

using SharedInfo = std::shared_ptr<const AccessibleInfo>;

// The role of a standard control by its window class, for standard objects
// that report a control only as a window's client area.
long ClassRole(HWND hwnd) {
    wchar_t name[32]{};
    GetClassNameW(hwnd, name, 32);
    const std::wstring cls = name;
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (cls == L"Button") {
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return ROLE_SYSTEM_CHECKBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ROLE_SYSTEM_RADIOBUTTON;
        case BS_GROUPBOX:
            return ROLE_SYSTEM_GROUPING;
        }
        return ROLE_SYSTEM_PUSHBUTTON;
    }
    if (cls == L"Edit")
        return ROLE_SYSTEM_TEXT;
    if (cls == L"Static")
        return ROLE_SYSTEM_STATICTEXT;
    if (cls == L"ComboBox" || cls == L"ComboBoxEx32")
        return ROLE_SYSTEM_COMBOBOX;
    if (cls == L"SysListView32")
        return ROLE_SYSTEM_LIST;
    if (cls == L"SysDateTimePick32")
        return (style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT ? ROLE_SYSTEM_SPINBUTTON
                                                          : ROLE_SYSTEM_DROPLIST;
    return 0;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object of a window with some of its answers replaced. The
// answers are held weakly: once the window is gone they are gone too, and
// the standard object answers (for a window that no longer exists).
class AccessibleObject final : public IAccessible {
public:
    AccessibleObject(HWND hwnd, base::ComPtr<IAccessible> standard,
                     std::weak_ptr<const AccessibleInfo> info)
        : hwnd_(hwnd), standard_(std::move(standard)), info_(std::move(info)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The rest (the window it belongs to, the enumeration of children)
        // is the standard object's.
        return standard_->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return ULONG(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return standard_->Invoke(id, iid, locale, flags, params, result, exception, argument);
    }

    // IAccessible: the replaced answers.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, &AccessibleInfo::name, name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, &AccessibleInfo::value, value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Text(child, &AccessibleInfo::description, description,
                    &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const auto info = info_.lock();
        if (!info || !IsSelf(child))
            return standard_->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        if (info->role == 0) {
            // Where the standard object knows only a window, the class says
            // what control it is.
            const HRESULT standard = standard_->get_accRole(child, role);
            if (FAILED(standard) || role->vt != VT_I4 || role->lVal != ROLE_SYSTEM_CLIENT)
                return standard;
            if (const long byClass = ClassRole(hwnd_))
                role->lVal = byClass;
            return S_OK;
        }
        role->vt = VT_I4;
        role->lVal = info->role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        const auto info = info_.lock();
        if (!info || !IsSelf(child) || info->keyboardShortcut.empty())
            return standard_->get_accKeyboardShortcut(child, shortcut);
        return GiveAccessibleText(info->keyboardShortcut, shortcut);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        const auto info = info_.lock();
        if (!info || !IsSelf(child) || !info->location)
            return standard_->accLocation(left, top, width, height, child);
        if (!left || !top || !width || !height)
            return E_POINTER;
        try {
            const RECT r = info->location();
            *left = r.left;
            *top = r.top;
            *width = r.right - r.left;
            *height = r.bottom - r.top;
            return S_OK;
        } catch (...) {
            return E_FAIL;
        }
    }

    // IAccessible: the standard answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        return standard_->get_accChild(child, dispatch);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return standard_->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    using TextMember = std::function<std::string()> AccessibleInfo::*;
    using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

    HRESULT Text(VARIANT child, TextMember member, BSTR* out, StandardText standard) {
        const auto info = info_.lock();
        if (!info || !IsSelf(child) || !((*info).*member))
            return (standard_.Get()->*standard)(child, out);
        try {
            return GiveAccessibleText(((*info).*member)(), out);
        } catch (...) {
            // A question from another program is no reason for an error box.
            return E_FAIL;
        }
    }

    LONG references_ = 1;
    HWND hwnd_;
    base::ComPtr<IAccessible> standard_;
    std::weak_ptr<const AccessibleInfo> info_;
};

LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, const SharedInfo& info,
                        bool& answered) {
    answered = false;
    const OleaccFunctions& oleacc = Oleacc();
    if (!oleacc.Loaded())
        return 0;
    base::ComPtr<IAccessible> standard;
    if (FAILED(oleacc.createStandard(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                     standard.PutVoid())) ||
        !standard)
        return 0;
    base::ComPtr<IAccessible> object(new AccessibleObject(hwnd, std::move(standard), info));
    const LRESULT result = oleacc.lresultFromObject(__uuidof(IAccessible), wParam, object.Get());
    answered = result >= 0; // a failed HRESULT means no object
    return result;
}

LRESULT CALLBACK AccessibleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR data) {
    auto* info = reinterpret_cast<SharedInfo*>(data);
    if (message == WM_GETOBJECT && LONG(lParam) == LONG(OBJID_CLIENT)) {
        try {
            bool answered = false;
            const LRESULT result = AnswerGetObject(hwnd, wParam, *info, answered);
            if (answered)
                return result;
        } catch (...) {
            Application::Instance().HandleException(std::current_exception());
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &AccessibleProc, id);
        RemovePropW(hwnd, AnswersProperty);
        delete info;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

void SetAccessible(HWND window, AccessibleInfo info) {
    auto shared = std::make_shared<const AccessibleInfo>(std::move(info));
    if (auto* existing = static_cast<SharedInfo*>(GetPropW(window, AnswersProperty))) {
        // Objects handed out before fall back to the standard answers.
        *existing = std::move(shared);
        return;
    }
    auto* owned = new SharedInfo(std::move(shared));
    if (!SetWindowSubclass(window, &AccessibleProc, AccessibleSubclassId,
                           reinterpret_cast<DWORD_PTR>(owned))) {
        delete owned;
        return;
    }
    SetPropW(window, AnswersProperty, owned);
}

void NameAfterLabel(HWND control, const std::string& labelCaption, long role) {
    AccessibleInfo info;
    info.name = [name = WithoutMnemonic(labelCaption)] { return name; };
    info.keyboardShortcut = MnemonicShortcut(labelCaption);
    info.role = role;
    SetAccessible(control, std::move(info));
}

void LabelControl(GraphicControl& label, HWND control, long role) {
    label.SetFocusControl(control);
    AccessibleInfo info;
    info.name = [&label] { return label.AccessibleText(); };
    info.keyboardShortcut = MnemonicShortcut(label.Mnemonic());
    info.role = role;
    SetAccessible(control, std::move(info));
}

void DescribeByLabel(HWND control, const GraphicControl& label, const std::string& name) {
    AccessibleInfo info;
    if (!name.empty())
        info.name = [name] { return name; };
    info.description = [&label] { return label.AccessibleText(); };
    SetAccessible(control, std::move(info));
}

HRESULT GiveAccessibleText(const std::string& text, BSTR* out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    const std::wstring wide = base::Widen(text);
    *out = SysAllocStringLen(wide.data(), UINT(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

const OleaccFunctions& Oleacc() noexcept {
    static const OleaccFunctions functions = [] {
        OleaccFunctions f;
        const HMODULE module = base::LoadSystemLibrary(L"oleacc.dll");
        base::LoadFunction(module, "CreateStdAccessibleObject", f.createStandard);
        base::LoadFunction(module, "LresultFromObject", f.lresultFromObject);
        return f;
    }();
    return functions;
}

void NotifyAccessibleChange(HWND window, DWORD event) {
    NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace brevalo::gui
