// Accessible names and roles for windows whose standard accessible object
// says too little: an edit named after its label, an owner-drawn button that
// is a drop-down button, a wizard page named after its title. The window
// answers WM_GETOBJECT for its client area with an object that delegates to
// the system's standard one and replaces only what is given here. The
// accessibility library is loaded on the first such request, so a program
// that no client inspects never loads it.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

namespace brevalo::gui {

// What a window's accessible object says instead of the standard answer; an
// empty member keeps the standard one. The texts are read at each request.
struct AccessibleInfo {
    std::function<std::string()> name;
    std::function<std::string()> description;
    std::function<std::string()> value;
    // A ROLE_SYSTEM_* value; 0 keeps the standard role, or, where that is
    // only a window's client area, the role of the window's class (a push
    // button, a radio button, an edit, a list...).
    long role = 0;
    std::string keyboardShortcut; // as clients show it: "Alt+N"
    // The object's place in screen pixels, for windows that stand in for
    // something drawn elsewhere.
    std::function<RECT()> location;
};

// Gives `window` these answers, replacing any given before. They live as
// long as the window; an object a client still holds afterwards answers
// nothing of its own.
void SetAccessible(HWND window, AccessibleInfo info);

// Names `control` after the caption of the label that stands for it: the
// caption as shown, and the label's mnemonic as the keyboard shortcut.
void NameAfterLabel(HWND control, const std::string& labelCaption, long role = 0);

class GraphicControl;

// Makes the windowless `label` the label of `control`: the label's mnemonic
// moves the focus there, and the control is named after the label's text.
void LabelControl(GraphicControl& label, HWND control, long role = 0);

// Gives `control` the text of the windowless `label` as its description (a
// question above a group of choices); with a `name`, names it too.
void DescribeByLabel(HWND control, const GraphicControl& label, const std::string& name = {});

// The two functions of the accessibility library that answering
// WM_GETOBJECT needs, loaded at the first call and kept for the life of the
// process: a program nobody inspects never loads the library.
struct OleaccFunctions {
    decltype(&CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    bool Loaded() const noexcept { return createStandard && lresultFromObject; }
};
const OleaccFunctions& Oleacc() noexcept;

// Hands a text to an accessibility client; S_FALSE for an empty one, as the
// standard objects do.
HRESULT GiveAccessibleText(const std::string& text, BSTR* out);

// Tells accessibility clients that something the window's object reports
// changed (EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, ...).
void NotifyAccessibleChange(HWND window, DWORD event);

} // namespace brevalo::gui
