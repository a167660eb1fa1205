#include "TimerAccessible.h"

#include "Accessible.h"
#include "RemainingWords.h"

#include <oleacc.h>

namespace brevalo {

namespace {

bool IsSelf(const VARIANT& child) noexcept {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

} // namespace

// The client area's accessible object. The window's name, value,
// description and state are its own; everything else, and every child,
// is the standard client object's.
class TimerAccessible final : public IAccessible, public IOleWindow {
public:
    TimerAccessible(HWND window, TimerAccessibleSource& source, base::ComPtr<IAccessible> standard)
        : window_(window), source_(&source), standard_(std::move(standard)) {}

    // The window is going: from now on every question fails.
    void Disconnect() noexcept {
        source_ = nullptr;
        standard_.Reset();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(id, __uuidof(IUnknown)) || IsEqualIID(id, __uuidof(IDispatch)) ||
            IsEqualIID(id, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
        } else if (IsEqualIID(id, __uuidof(IOleWindow))) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: readers call through the interface itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: the timer's own answers.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child))
            return Delegate(&IAccessible::get_accName, child, name);
        return AnswerText(name, [](TimerAccessibleSource& s) { return s.AccessibleName(); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!IsSelf(child))
            return Delegate(&IAccessible::get_accValue, child, value);
        return AnswerText(value, [](TimerAccessibleSource& s) {
            return RemainingWords(s.AccessibleRemainingSeconds());
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!IsSelf(child))
            return Delegate(&IAccessible::get_accDescription, child, description);
        return AnswerText(description, [](TimerAccessibleSource& s) {
            switch (s.AccessibleActivity()) {
            case TimerActivity::Counting:
                return std::string("Counting");
            case TimerActivity::Paused:
                return std::string("Paused");
            case TimerActivity::Other:
                break;
            }
            return std::string();
        });
    }
    // The standard state, animated while the digits count.
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = Delegate(&IAccessible::get_accState, child, state);
        if (FAILED(result) || !IsSelf(child) || state->vt != VT_I4 || !source_)
            return result;
        if (source_->AccessibleActivity() == TimerActivity::Counting)
            state->lVal |= STATE_SYSTEM_ANIMATED;
        else
            state->lVal &= ~STATE_SYSTEM_ANIMATED;
        return result;
    }

    // IAccessible: the standard client object's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Delegate(&IAccessible::get_accParent, parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return Delegate(&IAccessible::get_accChildCount, count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return Delegate(&IAccessible::get_accChild, child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Delegate(&IAccessible::get_accRole, child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Delegate(&IAccessible::get_accHelp, child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return Delegate(&IAccessible::get_accHelpTopic, file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return Delegate(&IAccessible::get_accKeyboardShortcut, child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return Delegate(&IAccessible::get_accFocus, child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return Delegate(&IAccessible::get_accSelection, children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Delegate(&IAccessible::get_accDefaultAction, child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return Delegate(&IAccessible::accSelect, flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return Delegate(&IAccessible::accLocation, left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return Delegate(&IAccessible::accNavigate, direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return Delegate(&IAccessible::accHitTest, x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Delegate(&IAccessible::accDoDefaultAction, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return Delegate(&IAccessible::put_accName, child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Delegate(&IAccessible::put_accValue, child, value);
    }

    // IOleWindow: which window the object belongs to.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    ~TimerAccessible() = default;

    template <typename Method, typename... Args> HRESULT Delegate(Method method, Args... args) {
        if (!standard_)
            return RPC_E_DISCONNECTED;
        return (standard_.Get()->*method)(args...);
    }

    // A text read from the window; S_FALSE when it is empty. No exception
    // leaves the object: a failure is the caller's error code.
    template <typename Read> HRESULT AnswerText(BSTR* out, Read read) noexcept {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!source_)
            return RPC_E_DISCONNECTED;
        try {
            return gui::GiveAccessibleText(read(*source_), out);
        } catch (...) {
            return E_FAIL;
        }
    }

    LONG references_ = 1;
    HWND window_;
    TimerAccessibleSource* source_;
    base::ComPtr<IAccessible> standard_;
};

TimerAccessibility::TimerAccessibility(TimerAccessibleSource& source) noexcept : source_(source) {}

TimerAccessibility::~TimerAccessibility() {
    if (object_)
        object_->Disconnect();
}

std::optional<LRESULT> TimerAccessibility::AnswerGetObject(HWND window, WPARAM wParam,
                                                           LPARAM lParam) noexcept {
    // The object id travels as 32 bits, whatever the width of lParam.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT)
        return std::nullopt;
    try {
        const gui::OleaccFunctions& functions = gui::Oleacc();
        if (!functions.Loaded())
            return std::nullopt;
        if (!object_) {
            if (!apartment_)
                apartment_.emplace();
            base::ComPtr<IAccessible> standard;
            if (FAILED(functions.createStandard(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                standard.PutVoid())))
                return std::nullopt;
            object_.Reset(new TimerAccessible(window, source_, std::move(standard)));
        }
        return functions.lresultFromObject(__uuidof(IAccessible), wParam,
                                          static_cast<IAccessible*>(object_.Get()));
    } catch (...) {
        // No COM on this thread, or no memory: the default handling answers.
        return std::nullopt;
    }
}

} // namespace brevalo
