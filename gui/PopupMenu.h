// A pop-up menu for forms and dialogs: a tree of items (captions, submenus,
// separators, check items, radio groups, enabled or disabled) kept in step
// with one Win32 popup menu. Popup opens it with TrackPopupMenuEx on the
// owner window; the chosen command arrives there as WM_COMMAND, and the
// owner's message handler passes it to DispatchCommand, which runs the
// item's OnClick.
//
// Command ids come from one process-wide range (0xA000 to 0xEFFF), so several
// menus of one window never share an id; every item gets one while it exists.
// Menus are created, changed and used on the thread of their owner window.
#pragma once

#include "Handle.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brevalo::gui {

class Window;

class MenuItem {
public:
    using ClickHandler = std::function<void(MenuItem&)>;

    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    ~MenuItem();

    // Appends an item to this item's submenu, making this item a submenu
    // when it was a plain one. The returned reference stays valid until the
    // item is deleted.
    MenuItem& Add(const std::string& caption, ClickHandler onClick = {});
    MenuItem& AddSeparator();
    // Removes one item (with its own submenu) or all of them.
    void Delete(std::size_t index);
    void Clear();

    std::size_t Count() const noexcept { return items_.size(); }
    MenuItem& Item(std::size_t index) const { return *items_.at(index); }
    MenuItem* Parent() const noexcept { return parent_; }
    // The item's position in its parent's submenu.
    std::size_t Index() const noexcept;
    // The Win32 menu of this item's submenu; null for a plain item.
    HMENU Submenu() const noexcept { return submenu_; }
    // The command id that WM_COMMAND carries for this item.
    UINT Command() const noexcept { return command_; }
    bool IsSeparator() const noexcept { return separator_; }

    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(const std::string& caption);

    bool Checked() const noexcept { return checked_; }
    // Ticking a radio item unticks the other radio items of its group in the
    // same submenu.
    void SetChecked(bool checked);

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);

    // A radio item shows its tick as a dot (MFT_RADIOCHECK) and belongs to
    // the group GroupIndex of its submenu.
    bool RadioItem() const noexcept { return radio_; }
    void SetRadioItem(bool radio);
    int GroupIndex() const noexcept { return group_; }
    void SetGroupIndex(int group) noexcept { group_ = group; }

    // With AutoCheck a click toggles the tick (ticks a radio item) before
    // OnClick runs.
    bool AutoCheck() const noexcept { return autoCheck_; }
    void SetAutoCheck(bool on) noexcept { autoCheck_ = on; }

    // What choosing the item does: the automatic tick, then OnClick. A
    // disabled item does nothing. Errors of OnClick reach the caller.
    void Click();

    ClickHandler OnClick;

private:
    friend class PopupMenu;
    MenuItem(MenuItem* parent, HMENU submenu);
    MenuItem& Append(std::unique_ptr<MenuItem> item);
    void EnsureSubmenu();
    // Writes the item's type, caption and state into its parent's menu.
    void Apply() const;
    MenuItem* Find(UINT command) noexcept;

    MenuItem* parent_ = nullptr;
    HMENU submenu_ = nullptr; // owned by the parent's menu (the root's by PopupMenu)
    UINT command_ = 0;
    std::string caption_;
    bool separator_ = false;
    bool checked_ = false;
    bool enabled_ = true;
    bool radio_ = false;
    bool autoCheck_ = false;
    int group_ = 0;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

class PopupMenu {
public:
    // The owner window is looked up when the menu opens, so the menu may be
    // created before its form's window exists.
    explicit PopupMenu(Window* owner = nullptr);
    explicit PopupMenu(HWND owner);
    PopupMenu(PopupMenu&&) noexcept = default;
    PopupMenu& operator=(PopupMenu&&) noexcept = default;
    ~PopupMenu() = default;

    HMENU Handle() const noexcept { return menu_.Get(); }
    // The top level of the menu.
    MenuItem& Items() const noexcept { return *root_; }
    MenuItem& Add(const std::string& caption, MenuItem::ClickHandler onClick = {}) {
        return root_->Add(caption, std::move(onClick));
    }
    MenuItem& AddSeparator() { return root_->AddSeparator(); }

    void SetOwner(Window* owner) noexcept;
    void SetOwner(HWND owner) noexcept;
    HWND OwnerWindow() const noexcept;

    // Runs OnPopup, then shows the menu at a screen position and tracks it
    // until it closes; the chosen command is posted to the owner as
    // WM_COMMAND. False when the menu could not be shown. Throws
    // std::logic_error when there is no owner window.
    bool Popup(int x, int y);

    // For the owner's WM_COMMAND: runs the item whose command it is and
    // returns true, or returns false when the command is none of this menu's
    // (a control's notification carries its window in lParam).
    bool DispatchCommand(WPARAM wParam, LPARAM lParam = 0);
    MenuItem* FindCommand(UINT command) const noexcept;

    // The screen position for a WM_CONTEXTMENU: the mouse position it
    // carries, or for the keyboard (-1, -1) the top left of the window's
    // client area.
    static POINT ContextMenuPosition(HWND window, LPARAM lParam) noexcept;

    // Called just before the menu opens, to bring ticks and captions up to
    // date.
    std::function<void(PopupMenu&)> OnPopup;

private:
    base::Menu menu_;
    std::unique_ptr<MenuItem> root_;
    Window* ownerWindow_ = nullptr;
    HWND ownerHandle_ = nullptr;
};

} // namespace brevalo::gui
