// Pop-up menus as the system sees them (structure, ticks, radio marks and
// captions read back with GetMenuItemInfoW), commands reaching the right
// item, a menu opened and chosen from with the keyboard, the input box driven
// the way a user would, and the colour dialog confirmed and cancelled.
#include "Application.h"
#include "ColorDialog.h"
#include "Form.h"
#include "InputBox.h"
#include "PopupMenu.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <colordlg.h>

#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace brevalo::gui {
namespace {

// A form that hands its WM_COMMAND to its pop-up menu, as the timer window does.
class MenuForm : public Form {
public:
    MenuForm() {
        CreateParams params;
        params.className = L"MenuTestForm";
        params.caption = L"Menus";
        params.x = 50;
        params.y = 50;
        params.width = 400;
        params.height = 300;
        CreateHandle(params);
    }
    PopupMenu Menu{this};
    int unhandledCommands = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) {
            if (Menu.DispatchCommand(wParam, lParam))
                return 0;
            ++unhandledCommands;
        }
        return Form::HandleMessage(message, wParam, lParam);
    }
};

struct ItemInfo {
    UINT type = 0, state = 0, id = 0;
    HMENU submenu = nullptr;
    std::string text;
};

ItemInfo ReadItem(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = UINT(std::size(text));
    if (!GetMenuItemInfoW(menu, position, TRUE, &info))
        throw std::runtime_error("no menu item at that position");
    return ItemInfo{info.fType, info.fState, info.wID, info.hSubMenu, base::Narrow(text)};
}

bool IsTicked(const MenuItem& item) {
    return ReadItem(item.Parent()->Submenu(), UINT(item.Index())).state & MFS_CHECKED;
}

class GuiMenusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Application::Instance().Initialize(GetModuleHandleW(nullptr)); }
    void TearDown() override { Application::Instance().SetExceptionHandler(nullptr); }
};

// The timer window's colour and title-bar part of its menu.
struct TimerLikeMenu {
    explicit TimerLikeMenu(PopupMenu& menu)
        : color(menu.Add("Color")), foreground(color.Add("Foreground")),
          background(color.Add("Background")), colorSeparator(color.AddSeparator()),
          invert(color.Add("Invert")), titleBar(menu.Add("Title-bar")), show(titleBar.Add("Show")),
          hide(titleBar.Add("Hide")), separator(menu.AddSeparator()),
          keepOnTop(menu.Add("Keep on top")) {
        show.SetRadioItem(true);
        hide.SetRadioItem(true);
    }
    MenuItem &color, &foreground, &background, &colorSeparator, &invert;
    MenuItem &titleBar, &show, &hide, &separator, &keepOnTop;
};

TEST_F(GuiMenusTest, TheSystemMenuMirrorsTheItemTree) {
    PopupMenu menu;
    TimerLikeMenu items(menu);
    HMENU root = menu.Handle();
    ASSERT_TRUE(IsMenu(root));
    ASSERT_EQ(GetMenuItemCount(root), 4);
    EXPECT_EQ(menu.Items().Count(), 4u);

    const ItemInfo color = ReadItem(root, 0);
    EXPECT_EQ(color.text, "Color");
    ASSERT_TRUE(color.submenu);
    EXPECT_EQ(color.submenu, items.color.Submenu());
    ASSERT_EQ(GetMenuItemCount(color.submenu), 4);
    EXPECT_EQ(ReadItem(color.submenu, 0).text, "Foreground");
    EXPECT_EQ(ReadItem(color.submenu, 1).text, "Background");
    EXPECT_TRUE(ReadItem(color.submenu, 2).type & MFT_SEPARATOR);
    EXPECT_TRUE(items.colorSeparator.IsSeparator());
    EXPECT_EQ(ReadItem(color.submenu, 3).text, "Invert");
    EXPECT_EQ(ReadItem(color.submenu, 3).id, items.invert.Command());

    EXPECT_TRUE(ReadItem(root, 2).type & MFT_SEPARATOR);
    const ItemInfo keep = ReadItem(root, 3);
    EXPECT_EQ(keep.text, "Keep on top");
    EXPECT_EQ(keep.submenu, nullptr);
    EXPECT_EQ(keep.id, items.keepOnTop.Command());
    EXPECT_EQ(items.keepOnTop.Submenu(), nullptr);
    EXPECT_EQ(items.hide.Parent(), &items.titleBar);
    EXPECT_EQ(items.hide.Index(), 1u);

    // Every item has a command of its own.
    std::set<UINT> commands;
    for (MenuItem* item : {&items.foreground, &items.background, &items.invert, &items.show,
                           &items.hide, &items.keepOnTop, &items.color, &items.titleBar})
        commands.insert(item->Command());
    EXPECT_EQ(commands.size(), 8u);
    EXPECT_EQ(commands.count(0u), 0u);
}

TEST_F(GuiMenusTest, TicksRadioMarksAndDisabledStatesReachTheSystemMenu) {
    PopupMenu menu;
    TimerLikeMenu items(menu);
    HMENU titleBar = items.titleBar.Submenu();
    EXPECT_TRUE(ReadItem(titleBar, 0).type & MFT_RADIOCHECK);
    EXPECT_TRUE(ReadItem(titleBar, 1).type & MFT_RADIOCHECK);
    EXPECT_FALSE(ReadItem(menu.Handle(), 3).type & MFT_RADIOCHECK);

    items.show.SetChecked(true);
    EXPECT_TRUE(IsTicked(items.show));
    EXPECT_FALSE(IsTicked(items.hide));
    // Ticking the other radio item of the group unticks the first.
    items.hide.SetChecked(true);
    EXPECT_FALSE(items.show.Checked());
    EXPECT_FALSE(IsTicked(items.show));
    EXPECT_TRUE(IsTicked(items.hide));
    EXPECT_TRUE(ReadItem(titleBar, 0).type & MFT_RADIOCHECK); // the mark kind stays

    // Check items elsewhere are independent of the group.
    items.keepOnTop.SetChecked(true);
    EXPECT_TRUE(IsTicked(items.keepOnTop));
    EXPECT_TRUE(IsTicked(items.hide));
    items.keepOnTop.SetChecked(false);
    EXPECT_FALSE(IsTicked(items.keepOnTop));

    // Radio items of another group in the same submenu stay ticked.
    MenuItem& other = items.titleBar.Add("Other");
    other.SetRadioItem(true);
    other.SetGroupIndex(1);
    other.SetChecked(true);
    EXPECT_TRUE(IsTicked(items.hide));
    items.show.SetChecked(true);
    EXPECT_TRUE(IsTicked(other));
    EXPECT_FALSE(IsTicked(items.hide));

    items.invert.SetEnabled(false);
    EXPECT_TRUE(ReadItem(items.color.Submenu(), 3).state & MFS_DISABLED);
    EXPECT_FALSE(items.invert.Enabled());
    items.invert.SetEnabled(true);
    EXPECT_FALSE(ReadItem(items.color.Submenu(), 3).state & MFS_DISABLED);
}

TEST_F(GuiMenusTest, CaptionsChangeAtRunTimeAfterItemsAreDeleted) {
    PopupMenu menu;
    MenuItem& action = menu.Add("Action");
    MenuItem& first = action.Add("None");
    MenuItem& second = action.Add("Second");
    MenuItem& third = action.Add("Third");
    const UINT freed = second.Command();
    first.SetCaption("C:\\Program Files\\Caf\xC3\xA9\\run.exe");
    EXPECT_EQ(ReadItem(action.Submenu(), 0).text, "C:\\Program Files\\Caf\xC3\xA9\\run.exe");
    EXPECT_EQ(first.Caption(), "C:\\Program Files\\Caf\xC3\xA9\\run.exe");

    // Deleting moves the later items up; changes still reach the right one.
    action.Delete(1);
    ASSERT_EQ(GetMenuItemCount(action.Submenu()), 2);
    EXPECT_EQ(menu.FindCommand(freed), nullptr);
    EXPECT_EQ(third.Index(), 1u);
    third.SetCaption("Last");
    third.SetChecked(true);
    EXPECT_EQ(ReadItem(action.Submenu(), 1).text, "Last");
    EXPECT_TRUE(ReadItem(action.Submenu(), 1).state & MFS_CHECKED);
    EXPECT_EQ(ReadItem(action.Submenu(), 0).text, "C:\\Program Files\\Caf\xC3\xA9\\run.exe");
    EXPECT_FALSE(ReadItem(action.Submenu(), 0).state & MFS_CHECKED);

    // A submenu can be emptied and filled again.
    action.Clear();
    EXPECT_EQ(GetMenuItemCount(action.Submenu()), 0);
    MenuItem& again = action.Add("Again");
    EXPECT_EQ(ReadItem(action.Submenu(), 0).text, "Again");
    EXPECT_EQ(menu.FindCommand(again.Command()), &again);
    EXPECT_THROW(action.Delete(5), std::out_of_range);
}

TEST_F(GuiMenusTest, WmCommandRunsTheChosenItemsOnClickOnly) {
    MenuForm form;
    TimerLikeMenu items(form.Menu);
    std::vector<std::string> clicked;
    auto record = [&](MenuItem& item) { clicked.push_back(item.Caption()); };
    for (MenuItem* item : {&items.foreground, &items.background, &items.invert, &items.show,
                           &items.hide, &items.keepOnTop})
        item->OnClick = record;

    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(items.invert.Command(), 0), 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(items.keepOnTop.Command(), 0), 0);
    EXPECT_EQ(clicked, (std::vector<std::string>{"Invert", "Keep on top"}));
    EXPECT_EQ(form.unhandledCommands, 0);

    // A control's notification with the same number, an accelerator and an
    // unknown command are not the menu's.
    clicked.clear();
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(items.invert.Command(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.Handle()));
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(items.invert.Command(), 1), 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(form.unhandledCommands, 3);

    // A disabled item does nothing, even for a command that was already queued.
    items.invert.SetEnabled(false);
    PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(items.invert.Command(), 0), 0);
    Application::Instance().ProcessMessages();
    EXPECT_TRUE(clicked.empty());
}

TEST_F(GuiMenusTest, AutoCheckTogglesTicksBeforeTheHandlerRuns) {
    MenuForm form;
    TimerLikeMenu items(form.Menu);
    items.keepOnTop.SetAutoCheck(true);
    items.show.SetAutoCheck(true);
    items.hide.SetAutoCheck(true);
    bool seen = false;
    items.keepOnTop.OnClick = [&](MenuItem& item) { seen = item.Checked(); };

    form.Menu.DispatchCommand(MAKEWPARAM(items.keepOnTop.Command(), 0));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(IsTicked(items.keepOnTop));
    form.Menu.DispatchCommand(MAKEWPARAM(items.keepOnTop.Command(), 0));
    EXPECT_FALSE(seen);
    EXPECT_FALSE(IsTicked(items.keepOnTop));

    // A radio item is ticked by a click, never unticked.
    form.Menu.DispatchCommand(MAKEWPARAM(items.hide.Command(), 0));
    form.Menu.DispatchCommand(MAKEWPARAM(items.hide.Command(), 0));
    EXPECT_TRUE(IsTicked(items.hide));
    form.Menu.DispatchCommand(MAKEWPARAM(items.show.Command(), 0));
    EXPECT_TRUE(IsTicked(items.show));
    EXPECT_FALSE(IsTicked(items.hide));
}

TEST_F(GuiMenusTest, AnErrorInAHandlerReachesTheApplicationNotTheSystem) {
    std::string reported;
    Application::Instance().SetExceptionHandler(
        [&](std::exception_ptr e) { reported = Application::ExceptionMessage(e); });
    MenuForm form;
    MenuItem& item = form.Menu.Add("Fails");
    item.OnClick = [](MenuItem&) { throw std::runtime_error("handler failed"); };
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(item.Command(), 0), 0);
    EXPECT_EQ(reported, "handler failed");
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST_F(GuiMenusTest, MenusOfOneWindowNeverShareCommandsAndMovesKeepTheMenu) {
    PopupMenu first;
    PopupMenu second;
    std::set<UINT> commands;
    for (int i = 0; i < 20; ++i) {
        commands.insert(first.Add("a").Command());
        commands.insert(second.Add("b").Command());
    }
    EXPECT_EQ(commands.size(), 40u);
    EXPECT_EQ(second.FindCommand(first.Items().Item(0).Command()), nullptr);

    int clicks = 0;
    first.Items().Item(3).OnClick = [&](MenuItem&) { ++clicks; };
    const UINT command = first.Items().Item(3).Command();
    HMENU handle = first.Handle();
    PopupMenu moved(std::move(first));
    EXPECT_EQ(moved.Handle(), handle);
    EXPECT_TRUE(moved.DispatchCommand(MAKEWPARAM(command, 0)));
    EXPECT_EQ(clicks, 1);
    {
        PopupMenu target;
        target = std::move(moved);
        EXPECT_TRUE(IsMenu(handle));
        EXPECT_EQ(target.FindCommand(command), &target.Items().Item(3));
    }
    // The last owner destroyed the menu with itself.
    EXPECT_FALSE(IsMenu(handle));
}

// Runs a step on every tick of a thread timer until it returns true, so that
// tests can act inside modal loops (menus, dialogs) as a user would. Keeps
// watching afterwards: if the loop has not ended after about ten seconds, it
// gives up and posts WM_QUIT, which ends any of those loops.
class Driver {
public:
    explicit Driver(std::function<bool()> step) {
        step_ = std::move(step);
        ticks_ = 0;
        timer_ = SetTimer(nullptr, 0, 50, &Driver::Tick);
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;
    ~Driver() {
        if (timer_)
            KillTimer(nullptr, timer_);
        timer_ = 0;
        step_ = nullptr;
        // Leave no WM_QUIT of a give-up behind for the next test.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    static bool GaveUp() { return ticks_ >= GiveUpTicks; }

private:
    static constexpr int GiveUpTicks = 200;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (++ticks_ == GiveUpTicks)
            PostQuitMessage(99);
        if (step_ && step_())
            step_ = nullptr;
    }
    static inline std::function<bool()> step_;
    static inline UINT_PTR timer_ = 0;
    static inline int ticks_ = 0;
};

TEST_F(GuiMenusTest, PopupRunsOnPopupFirstAndTheChosenItemArrivesAsWmCommand) {
    MenuForm form;
    form.Show(SW_SHOW);
    MenuItem& first = form.Menu.Add("First");
    MenuItem& second = form.Menu.Add("Second");
    int popups = 0;
    bool tickedWhenChosen = false;
    std::string chosen;
    form.Menu.OnPopup = [&](PopupMenu&) {
        ++popups;
        second.SetChecked(true); // marks are brought up to date here
    };
    first.OnClick = [&](MenuItem& item) { chosen = item.Caption(); };
    second.OnClick = [&](MenuItem& item) {
        chosen = item.Caption();
        tickedWhenChosen = item.Checked();
    };

    // The menu loop takes the thread's keyboard input: Down twice and Enter.
    HWND target = form.Handle();
    int step = 0;
    Driver driver([&] {
        switch (step++) {
        case 0:
            return false; // let the menu open
        case 1:
        case 2:
            PostMessageW(target, WM_KEYDOWN, VK_DOWN, 0);
            return false;
        default:
            PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        }
    });
    RECT r = form.BoundsPixels();
    EXPECT_TRUE(form.Menu.Popup(r.left + 40, r.top + 40));
    EXPECT_EQ(popups, 1);
    EXPECT_TRUE(chosen.empty()); // the command is posted, not sent
    Application::Instance().ProcessMessages();
    ASSERT_FALSE(Driver::GaveUp());
    EXPECT_EQ(chosen, "Second");
    EXPECT_TRUE(tickedWhenChosen);
}

TEST_F(GuiMenusTest, PopupWithoutAnOwnerWindowIsAnError) {
    PopupMenu menu;
    menu.Add("x");
    bool opened = false;
    menu.OnPopup = [&](PopupMenu&) { opened = true; };
    EXPECT_THROW(menu.Popup(10, 10), std::logic_error);
    EXPECT_FALSE(opened);
}

TEST_F(GuiMenusTest, KeyboardContextMenuOpensAtTheClientAreasCorner) {
    MenuForm form;
    POINT corner{0, 0};
    ClientToScreen(form.Handle(), &corner);
    const POINT keyboard = PopupMenu::ContextMenuPosition(form.Handle(), MAKELPARAM(-1, -1));
    EXPECT_EQ(keyboard.x, corner.x);
    EXPECT_EQ(keyboard.y, corner.y);
    // Mouse positions, negative ones on a monitor left of the primary included.
    const POINT mouse = PopupMenu::ContextMenuPosition(form.Handle(), MAKELPARAM(-300, 25));
    EXPECT_EQ(mouse.x, -300);
    EXPECT_EQ(mouse.y, 25);
}

// The input box's windows, found as another program would find them.
struct BoxWindows {
    HWND box = nullptr, edit = nullptr, ok = nullptr, cancel = nullptr, prompt = nullptr;
};

BoxWindows FindBox(const wchar_t* caption) {
    BoxWindows w;
    w.box = FindWindowW(InputBoxClassName, caption);
    if (!w.box || !IsWindowVisible(w.box))
        return BoxWindows{};
    w.edit = FindWindowExW(w.box, nullptr, L"Edit", nullptr);
    w.ok = FindWindowExW(w.box, nullptr, L"Button", L"OK");
    w.cancel = FindWindowExW(w.box, nullptr, L"Button", L"Cancel");
    w.prompt = FindWindowExW(w.box, nullptr, L"Static", nullptr);
    return w;
}

std::string WindowText(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, int(std::size(text)));
    return base::Narrow(text);
}

TEST_F(GuiMenusTest, InputBoxReturnsTheEditedTextOnOkWithItsOwnerDisabledMeanwhile) {
    MenuForm owner;
    owner.Show(SW_SHOW);
    std::string preset, prompt;
    bool ownerEnabledMeanwhile = true, editFocused = false;
    Driver driver([&] {
        const BoxWindows w = FindBox(L"Timer name");
        if (!w.box || !w.edit || !w.ok)
            return false;
        preset = WindowText(w.edit);
        prompt = WindowText(w.prompt);
        ownerEnabledMeanwhile = IsWindowEnabled(owner.Handle());
        editFocused = GetFocus() == w.edit;
        SetWindowTextW(w.edit, L"Tee \x2615 f\x00FCr zwei");
        SendMessageW(w.ok, BM_CLICK, 0, 0);
        return true;
    });
    const std::optional<std::string> result =
        InputBox(owner.Handle(), "Timer name", "Change the timer name:", "Tea");
    ASSERT_FALSE(Driver::GaveUp());
    EXPECT_EQ(preset, "Tea");
    EXPECT_EQ(prompt, "Change the timer name:");
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(editFocused);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, "Tee \xE2\x98\x95 f\xC3\xBCr zwei");
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_EQ(FindWindowW(InputBoxClassName, nullptr), nullptr);
}

TEST_F(GuiMenusTest, InputBoxTakesTypingAndEnterAndCancelsOnEscapeCancelAndClose) {
    MenuForm owner;
    owner.Show(SW_SHOW);
    // The preset is selected, so typing replaces it; Enter confirms.
    {
        int step = 0;
        Driver driver([&] {
            const BoxWindows w = FindBox(L"Name");
            if (!w.box)
                return false;
            if (step++ == 0) {
                PostMessageW(w.edit, WM_CHAR, L'Z', 0);
                PostMessageW(w.edit, WM_CHAR, L'x', 0);
                return false;
            }
            PostMessageW(w.edit, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        });
        const auto typed = InputBox(owner.Handle(), "Name", "Prompt", "preset");
        ASSERT_FALSE(Driver::GaveUp());
        ASSERT_TRUE(typed.has_value());
        EXPECT_EQ(*typed, "Zx");
    }
    // Escape, the Cancel button and the close box all cancel, whatever was typed.
    const std::vector<std::function<void(const BoxWindows&)>> cancels = {
        [](const BoxWindows& w) { PostMessageW(w.edit, WM_KEYDOWN, VK_ESCAPE, 0); },
        [](const BoxWindows& w) { SendMessageW(w.cancel, BM_CLICK, 0, 0); },
        [](const BoxWindows& w) { PostMessageW(w.box, WM_CLOSE, 0, 0); },
    };
    for (std::size_t i = 0; i < cancels.size(); ++i) {
        Driver driver([&] {
            const BoxWindows w = FindBox(L"Name");
            if (!w.box)
                return false;
            SetWindowTextW(w.edit, L"changed");
            cancels[i](w);
            return true;
        });
        EXPECT_FALSE(InputBox(owner.Handle(), "Name", "Prompt", "preset").has_value()) << i;
        ASSERT_FALSE(Driver::GaveUp()) << i;
        EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << i;
    }
}

TEST_F(GuiMenusTest, InputBoxEndsOnQuitAndLeavesTheQuitForTheMainLoop) {
    Driver driver([&] {
        if (!FindBox(L"Quit").box)
            return false;
        PostQuitMessage(3);
        return true;
    });
    // Without an owner: centred on the screen.
    EXPECT_FALSE(InputBox(nullptr, "Quit",
                          "A long prompt that needs more than one line to be "
                          "shown in full inside the box, so it wraps.",
                          "")
                     .has_value());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// The colour dialog is the system's: find it by its class and answer it.
HWND FindThreadDialog() {
    struct Search {
        static BOOL CALLBACK Visit(HWND hwnd, LPARAM found) {
            wchar_t name[32] = {};
            GetClassNameW(hwnd, name, int(std::size(name)));
            if (std::wstring(name) == L"#32770" && IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(found) = hwnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Search::Visit, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool AnswerColorDialog(ColorDialog& dialog, HWND owner, WPARAM button) {
    Driver driver([button] {
        HWND dialog = FindThreadDialog();
        return dialog && PostMessageW(dialog, WM_COMMAND, button, 0);
    });
    const bool confirmed = dialog.Execute(owner);
    EXPECT_FALSE(Driver::GaveUp());
    return confirmed;
}

TEST_F(GuiMenusTest, ColorDialogCancelledKeepsTheColourAndConfirmedReturnsThePreset) {
    MenuForm owner;
    owner.Show(SW_SHOW);
    ColorDialog dialog;
    dialog.SetColor(RGB(0x00, 0x80, 0xFF));
    dialog.SetCustomColor(0, RGB(1, 2, 3));
    dialog.SetCustomColor(15, RGB(200, 100, 50));

    EXPECT_FALSE(AnswerColorDialog(dialog, owner.Handle(), IDCANCEL));
    EXPECT_EQ(dialog.Color(), RGB(0x00, 0x80, 0xFF));
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));

    EXPECT_TRUE(AnswerColorDialog(dialog, owner.Handle(), IDOK));
    EXPECT_EQ(dialog.Color(), RGB(0x00, 0x80, 0xFF));
    // The custom colours survive both openings.
    EXPECT_EQ(dialog.CustomColors()[0], RGB(1, 2, 3));
    EXPECT_EQ(dialog.CustomColors()[15], RGB(200, 100, 50));
    EXPECT_EQ(dialog.CustomColors()[7], RGB(255, 255, 255));
    EXPECT_THROW(dialog.SetCustomColor(16, 0), std::out_of_range);
}

TEST_F(GuiMenusTest, ColorDialogShowsThePresetAndKeepsWhatTheUserMixedAndAdded) {
    ColorDialog dialog;
    dialog.SetFullOpen(true);
    dialog.SetColor(0xFF000000u | COLOR_WINDOW); // a system colour opens as its value
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(ColorDialog::ToRgb(0xFF000000u | COLOR_WINDOW), window);
    EXPECT_EQ(ColorDialog::ToRgb(0x00123456u), 0x00123456u);

    int shown[3] = {-1, -1, -1};
    Driver driver([&] {
        HWND box = FindThreadDialog();
        if (!box)
            return false;
        // The red, green and blue fields of the system's dialog.
        shown[0] = int(GetDlgItemInt(box, COLOR_RED, nullptr, FALSE));
        shown[1] = int(GetDlgItemInt(box, COLOR_GREEN, nullptr, FALSE));
        shown[2] = int(GetDlgItemInt(box, COLOR_BLUE, nullptr, FALSE));
        // The user types a colour, adds it to the custom colours and confirms.
        SetDlgItemInt(box, COLOR_RED, 10, FALSE);
        SetDlgItemInt(box, COLOR_GREEN, 20, FALSE);
        SetDlgItemInt(box, COLOR_BLUE, 30, FALSE);
        SendMessageW(box, WM_COMMAND, COLOR_ADD, 0);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    ASSERT_TRUE(dialog.Execute(nullptr));
    ASSERT_FALSE(Driver::GaveUp());
    EXPECT_EQ(RGB(shown[0], shown[1], shown[2]), window);
    EXPECT_EQ(dialog.Color(), RGB(10, 20, 30));
    EXPECT_EQ(dialog.CustomColors()[0], RGB(10, 20, 30));
}

} // namespace
} // namespace brevalo::gui
