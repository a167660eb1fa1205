// Both front ends as a screen reader meets them, through the accessibility
// library: on every dialog and wizard page, Tab reaches every control (a
// windowless link or picture through its stand-in), each control that takes
// the focus has a name and a role, no two mnemonics are alike, and each
// label's mnemonic takes the focus to the control it names. The colour
// button and its palette work from the keyboard. The names found are
// printed, page by page.
#include "Application.h"
#include "ComPtr.h"
#include "Form.h"
#include "GraphicControl.h"
#include "Mnemonic.h"
#include "Strings.h"
#include "TipDialogForm.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit8.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace brevalo {
namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::string WindowCaption(HWND hwnd) {
    wchar_t text[512]{};
    GetWindowTextW(hwnd, text, 512);
    return base::Narrow(text);
}

base::ComPtr<IAccessible> ObjectOf(HWND hwnd) {
    base::ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                               object.PutVoid());
    return object;
}

VARIANT Self() {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

using TextQuery = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

std::string Ask(IAccessible* object, TextQuery query) {
    BSTR text = nullptr;
    if (!object || (object->*query)(Self(), &text) != S_OK || !text)
        return {};
    std::string result = base::Narrow(std::wstring(text, SysStringLen(text)));
    SysFreeString(text);
    return result;
}

long RoleOf(IAccessible* object) {
    VARIANT role{};
    if (!object || FAILED(object->get_accRole(Self(), &role)) || role.vt != VT_I4)
        return 0;
    return role.lVal;
}

std::string RoleText(long role) {
    wchar_t text[64]{};
    GetRoleTextW(DWORD(role), text, 64);
    return base::Narrow(text);
}

// What a screen reader reads for a window's client object.
struct Spoken {
    std::string name, description, shortcut;
    long role = 0;
};

Spoken Speak(HWND hwnd) {
    const base::ComPtr<IAccessible> object = ObjectOf(hwnd);
    return {Ask(object.Get(), &IAccessible::get_accName),
            Ask(object.Get(), &IAccessible::get_accDescription),
            Ask(object.Get(), &IAccessible::get_accKeyboardShortcut), RoleOf(object.Get())};
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> VisibleDescendants(HWND root) {
    std::vector<HWND> all, visible;
    EnumChildWindows(root, &CollectChild, reinterpret_cast<LPARAM>(&all));
    for (HWND hwnd : all)
        if (IsWindowVisible(hwnd))
            visible.push_back(hwnd);
    return visible;
}

LONG ButtonKind(HWND hwnd) {
    return GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
}

bool IsRadio(HWND hwnd) {
    return ClassOf(hwnd) == L"Button" &&
           (ButtonKind(hwnd) == BS_AUTORADIOBUTTON || ButtonKind(hwnd) == BS_RADIOBUTTON);
}

// The windows a user works with: buttons of every kind but the group's
// frame, edits, lists, pickers, colour buttons and the stand-ins of
// windowless controls. The edit of a drop-down list counts as its list.
bool IsControl(HWND hwnd) {
    if (!IsWindowEnabled(hwnd))
        return false;
    const std::wstring cls = ClassOf(hwnd);
    if (cls == L"Button")
        return ButtonKind(hwnd) != BS_GROUPBOX;
    if (cls == L"ComboBox")
        return ClassOf(GetParent(hwnd)) != L"ComboBoxEx32";
    return cls == L"Edit" || cls == L"ComboBoxEx32" || cls == L"SysDateTimePick32" ||
           cls == L"SysListView32" || cls == L"BrevaloColorButton" ||
           cls == L"BrevaloKeyboardProxy";
}

// The windowless controls of the forms in a dialog that are showing.
std::vector<const gui::GraphicControl*> VisibleGraphics(HWND root) {
    std::vector<HWND> forms = VisibleDescendants(root);
    forms.push_back(root);
    std::vector<const gui::GraphicControl*> graphics;
    for (HWND hwnd : forms)
        if (auto* form = dynamic_cast<gui::Form*>(gui::Window::FromHandle(hwnd)))
            for (const gui::GraphicControl* control : form->Graphics())
                if (control->Visible())
                    graphics.push_back(control);
    return graphics;
}

RECT ScreenBounds(const gui::GraphicControl& control) {
    RECT r = control.Bounds();
    MapWindowPoints(control.Parent().Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT LocationOf(HWND hwnd) {
    const base::ComPtr<IAccessible> object = ObjectOf(hwnd);
    LONG left = 0, top = 0, width = 0, height = 0;
    if (object)
        object->accLocation(&left, &top, &width, &height, Self());
    return RECT{left, top, left + width, top + height};
}

// A caption with a mnemonic: a label, a group's frame or a button, with or
// without a window.
struct Mnemonic {
    wchar_t key;
    std::string caption;
    HWND window = nullptr; // null for a windowless label
    bool isLabel = false;  // a label or a group's frame, not a button
};

std::vector<Mnemonic> MnemonicsOf(HWND root) {
    std::vector<Mnemonic> found;
    for (HWND hwnd : VisibleDescendants(root)) {
        const std::wstring cls = ClassOf(hwnd);
        if (cls != L"Button" && cls != L"Static")
            continue;
        const std::string caption = WindowCaption(hwnd);
        const bool frame = cls == L"Button" && ButtonKind(hwnd) == BS_GROUPBOX;
        const bool prefixed = cls == L"Button" || !(GetWindowLongW(hwnd, GWL_STYLE) & SS_NOPREFIX);
        if (const wchar_t key = prefixed ? gui::MnemonicOf(caption) : 0)
            found.push_back({key, caption, hwnd, cls == L"Static" || frame});
    }
    for (const gui::GraphicControl* label : VisibleGraphics(root))
        if (const wchar_t key = label->Mnemonic())
            found.push_back({key, label->AccessibleText(), nullptr, true});
    return found;
}

// One dialog or page as the test found it.
struct PageReport {
    std::string title;
    std::vector<std::string> lines;
};
std::vector<PageReport> reports;

void PrintReports() {
    std::cout << "\nAccessible names, page by page:\n";
    for (const PageReport& report : reports) {
        std::cout << "== " << report.title << "\n";
        for (const std::string& line : report.lines)
            std::cout << "   " << line << "\n";
    }
}

class Accessibility : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    static void TearDownTestSuite() { PrintReports(); }

    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    // Walks the dialog `root` as a user and a screen reader would and
    // checks it; `title` names it in the report.
    static void CheckPage(controls::DialogForm& dialog, const std::string& title) {
        SCOPED_TRACE(title);
        const HWND root = dialog.Handle();
        PageReport report{title, {}};

        // Tab from the first control round to it again; each control that
        // gets the focus is spoken.
        std::set<HWND> reached;
        HWND first = GetNextDlgTabItem(root, nullptr, FALSE);
        ASSERT_NE(first, nullptr);
        HWND item = first;
        for (int step = 0; step < 100; ++step) {
            SetFocus(item);
            const HWND focus = GetFocus();
            reached.insert(item);
            reached.insert(focus);
            const Spoken spoken = Speak(focus);
            std::string line = RoleText(spoken.role) + ": \"" + spoken.name + "\"";
            if (!spoken.shortcut.empty())
                line += " " + spoken.shortcut;
            if (!spoken.description.empty())
                line += " (" + spoken.description + ")";
            report.lines.push_back(line);
            EXPECT_FALSE(spoken.name.empty()) << "no name: " << line;
            EXPECT_NE(spoken.role, 0) << "no role: " << line;
            EXPECT_NE(spoken.role, ROLE_SYSTEM_CLIENT) << "no role of its own: " << line;
            item = GetNextDlgTabItem(root, item, FALSE);
            if (!item || item == first)
                break;
        }

        // Every control is reached, a radio button through its group.
        for (HWND hwnd : VisibleDescendants(root)) {
            if (!IsControl(hwnd) || reached.count(hwnd) || reached.count(GetParent(hwnd)))
                continue;
            bool groupReached = false;
            for (HWND other = GetNextDlgGroupItem(root, hwnd, FALSE); IsRadio(hwnd) && other &&
                                                                      other != hwnd;
                 other = GetNextDlgGroupItem(root, other, FALSE))
                groupReached = groupReached || reached.count(other) > 0;
            EXPECT_TRUE(groupReached) << "Tab never reaches " << base::Narrow(ClassOf(hwnd))
                                      << " \"" << WindowCaption(hwnd) << "\"";
        }
        // A windowless control that reacts to clicks has a stand-in that Tab
        // reaches, placed where the control is.
        for (const gui::GraphicControl* control : VisibleGraphics(root)) {
            if (!control->OnClick)
                continue;
            const RECT wanted = ScreenBounds(*control);
            bool standIn = false;
            for (HWND hwnd : reached) {
                const RECT at = LocationOf(hwnd);
                standIn = standIn || (ClassOf(hwnd) == L"BrevaloKeyboardProxy" &&
                                      EqualRect(&at, &wanted));
            }
            EXPECT_TRUE(standIn) << "a clickable picture or link at " << wanted.left << ","
                                 << wanted.top << " has no place in the tab order";
        }

        // No two mnemonics alike; each label's takes the focus to its control.
        const std::vector<Mnemonic> mnemonics = MnemonicsOf(root);
        std::map<wchar_t, std::string> seen;
        for (const Mnemonic& m : mnemonics) {
            const auto [at, fresh] = seen.emplace(m.key, m.caption);
            EXPECT_TRUE(fresh) << "\"" << m.caption << "\" and \"" << at->second
                               << "\" share the mnemonic " << base::Narrow(std::wstring(1, m.key));
            if (!m.isLabel)
                continue;
            SetFocus(first);
            MSG msg{GetFocus(), WM_SYSCHAR, WPARAM(m.key + (L'a' - L'A')), 0x20000000, 0, {}};
            if (!dialog.PreTranslateMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            const HWND focus = GetFocus();
            const std::string label = gui::WithoutMnemonic(m.caption);
            if (m.window && ClassOf(m.window) == L"Button") {
                // A group's frame: the focus goes into the group.
                RECT frame{}, at{};
                GetWindowRect(m.window, &frame);
                GetWindowRect(focus, &at);
                EXPECT_TRUE(at.left >= frame.left && at.right <= frame.right &&
                            at.top >= frame.top && at.bottom <= frame.bottom)
                    << "the mnemonic of the group \"" << label << "\" leads out of it";
            } else {
                const Spoken spoken = Speak(focus);
                EXPECT_TRUE(spoken.name == label || spoken.description == label)
                    << "the mnemonic of \"" << label << "\" leads to \"" << spoken.name << "\"";
            }
        }
        reports.push_back(report);
    }
};

// The wizard with its tips kept out of the way.
class QuietWizard : public TForm8 {
protected:
    void ExecuteTips() override {}
};

TEST_F(Accessibility, EveryWizardPageIsNamedReachableAndHasDistinctMnemonics) {
    QuietWizard wizard;
    wizard.FormCreate();
    wizard.Show(SW_SHOW);
    Pump();
    for (int i = 0; i < wizard.KWizard1->PageCount(); ++i) {
        controls::TKWizardCustomPage& page = *wizard.KWizard1->Pages()[i];
        wizard.KWizard1->SetActivePage(&page);
        Pump();
        // The page itself is a property page named after its title, its
        // explanations as its description.
        const Spoken spoken = Speak(page.Handle());
        EXPECT_EQ(spoken.role, ROLE_SYSTEM_PROPERTYPAGE);
        EXPECT_EQ(spoken.name, wizard.Titles[std::size_t(i)]->Text());
        CheckPage(wizard, "Wizard, position " + std::to_string(i) + ": " + spoken.name);
        reports.back().lines.insert(reports.back().lines.begin(),
                                    RoleText(spoken.role) + ": \"" + spoken.name + "\" (" +
                                        spoken.description + ")");
    }
}

TEST_F(Accessibility, AdvancedDialogsAndTheTipDialogAreNamedReachableAndHaveDistinctMnemonics) {
    TForm4 form4;
    form4.FormCreate({1, 6, 1});
    TForm5 form5(form4.Handle());
    TForm6 form6(form4.Handle());
    form4.SetCompanions(&form5, &form6);
    form4.Show(SW_SHOW);
    Pump();
    CheckPage(form4, "Create a timer");
    form5.Show(SW_SHOW);
    Pump();
    CheckPage(form5, "Advanced");
    form5.Show(SW_HIDE);
    form6.Show(SW_SHOW);
    form6.Button2Click(); // the list unfolded
    Pump();
    CheckPage(form6, "Action");
    form6.Show(SW_HIDE);

    controls::TTipDialogForm tips(form4.Handle());
    tips.SetTipText("You can exit full screen mode by pressing the ESC key.");
    tips.Show(SW_SHOW);
    Pump();
    CheckPage(tips, "Tip");
    EXPECT_EQ(Speak(tips.NextTipButton().Handle()).description,
              "You can exit full screen mode by pressing the ESC key.");
}

TEST_F(Accessibility, TheColourButtonWorksFromTheKeyboard) {
    TForm4 form;
    form.FormCreate({1, 6, 1});
    form.Show(SW_SHOW);
    SetForegroundWindow(form.Handle());
    Pump();
    controls::TColorButton& button = form.ColorButton2;
    button.SetSelectedColor(0x00FFFFFF);
    EXPECT_EQ(Speak(button.Handle()).role, ROLE_SYSTEM_BUTTONDROPDOWN);
    EXPECT_EQ(Ask(ObjectOf(button.Handle()).Get(), &IAccessible::get_accValue), "FFFFFF");

    // F4 opens the palette on the chosen colour, the last cell.
    SetFocus(button.Handle());
    SendMessageW(button.Handle(), WM_KEYDOWN, VK_F4, 0);
    const HWND palette = button.Palette().Handle();
    ASSERT_TRUE(IsWindowVisible(palette));
    EXPECT_EQ(GetFocus(), palette);
    EXPECT_EQ(Speak(palette).name, "Background");
    EXPECT_EQ(Ask(ObjectOf(palette).Get(), &IAccessible::get_accValue), "FFFFFF");
    // Up twice (two rows up, the same column), Left three times: cell 20.
    // Enter picks it and closes the palette.
    for (WPARAM key : {VK_UP, VK_UP, VK_LEFT, VK_LEFT, VK_LEFT})
        SendMessageW(palette, WM_KEYDOWN, key, 0);
    EXPECT_EQ(button.Palette().KeyIndex(), 20);
    EXPECT_EQ(Ask(ObjectOf(palette).Get(), &IAccessible::get_accValue), "33CCCC");
    SendMessageW(palette, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(palette));
    EXPECT_EQ(button.SelectedColor(), TColor(0x00CCCC33));

    // Space opens it again; from the top row Up goes to "Automatic", and Esc
    // closes the palette without a change.
    SetFocus(button.Handle());
    SendMessageW(button.Handle(), WM_KEYUP, VK_SPACE, 0);
    ASSERT_TRUE(IsWindowVisible(palette));
    for (WPARAM key : {VK_UP, VK_UP, VK_UP, VK_UP})
        SendMessageW(palette, WM_KEYDOWN, key, 0);
    EXPECT_EQ(button.Palette().KeyIndex(), controls::TColorPalette::AutomaticIndex);
    EXPECT_EQ(Ask(ObjectOf(palette).Get(), &IAccessible::get_accValue), "Automatic");
    SendMessageW(palette, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(palette));
    EXPECT_EQ(button.SelectedColor(), TColor(0x00CCCC33));
}

} // namespace
} // namespace brevalo
