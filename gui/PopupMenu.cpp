#include "PopupMenu.h"

#include "OsError.h"
#include "Strings.h"
#include "Window.h"

#include <stdexcept>
#include <utility>

namespace brevalo::gui {

namespace {

// The process-wide pool of menu command ids. Far above the ids dialogs give
// their controls and below the system commands (0xF000 on).
constexpr UINT FirstCommand = 0xA000;
constexpr UINT LastCommand = 0xEFFF;

class CommandIds {
public:
    UINT Allocate() {
        const std::size_t count = used_.size();
        for (std::size_t tried = 0; tried < count; ++tried) {
            const std::size_t index = (next_ + tried) % count;
            if (!used_[index]) {
                used_[index] = true;
                next_ = (index + 1) % count;
                return FirstCommand + UINT(index);
            }
        }
        throw std::runtime_error("Too many menu items");
    }
    void Release(UINT command) noexcept {
        if (command >= FirstCommand && command <= LastCommand)
            used_[command - FirstCommand] = false;
    }

private:
    std::vector<bool> used_ = std::vector<bool>(LastCommand - FirstCommand + 1, false);
    std::size_t next_ = 0;
};

CommandIds& Commands() {
    static CommandIds ids;
    return ids;
}

} // namespace

// MenuItem

MenuItem::MenuItem(MenuItem* parent, HMENU submenu) : parent_(parent), submenu_(submenu) {
    if (parent_)
        command_ = Commands().Allocate();
}

MenuItem::~MenuItem() {
    Commands().Release(command_);
}

std::size_t MenuItem::Index() const noexcept {
    if (!parent_)
        return 0;
    for (std::size_t i = 0; i < parent_->items_.size(); ++i)
        if (parent_->items_[i].get() == this)
            return i;
    return 0;
}

MenuItem& MenuItem::Add(const std::string& caption, ClickHandler onClick) {
    std::unique_ptr<MenuItem> item(new MenuItem(this, nullptr));
    item->caption_ = caption;
    item->OnClick = std::move(onClick);
    return Append(std::move(item));
}

MenuItem& MenuItem::AddSeparator() {
    std::unique_ptr<MenuItem> item(new MenuItem(this, nullptr));
    item->separator_ = true;
    return Append(std::move(item));
}

MenuItem& MenuItem::Append(std::unique_ptr<MenuItem> item) {
    EnsureSubmenu();
    const std::wstring caption = base::Widen(item->caption_);
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
    info.wID = item->command_;
    if (item->separator_) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask |= MIIM_STRING;
        info.fType = MFT_STRING;
        info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    }
    info.fState = MFS_ENABLED | MFS_UNCHECKED;
    base::CheckOs(InsertMenuItemW(submenu_, UINT(items_.size()), TRUE, &info));
    items_.push_back(std::move(item));
    return *items_.back();
}

void MenuItem::EnsureSubmenu() {
    if (submenu_)
        return;
    base::Menu created(CreatePopupMenu());
    if (!created)
        base::RaiseLastOsError();
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = created.Get();
    base::CheckOs(SetMenuItemInfoW(parent_->submenu_, UINT(Index()), TRUE, &info));
    // The parent's menu owns it now and destroys it with itself.
    submenu_ = created.Release();
}

void MenuItem::Delete(std::size_t index) {
    if (index >= items_.size())
        throw std::out_of_range("Menu index out of range");
    // DeleteMenu also destroys the item's submenu.
    base::CheckOs(DeleteMenu(submenu_, UINT(index), MF_BYPOSITION));
    items_.erase(items_.begin() + std::ptrdiff_t(index));
}

void MenuItem::Clear() {
    while (!items_.empty())
        Delete(items_.size() - 1);
}

void MenuItem::Apply() const {
    if (!parent_)
        return;
    const std::wstring caption = base::Widen(caption_);
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    if (separator_) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask |= MIIM_STRING;
        info.fType = MFT_STRING | (radio_ ? MFT_RADIOCHECK : 0);
        info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    }
    info.fState =
        (checked_ ? MFS_CHECKED : MFS_UNCHECKED) | (enabled_ ? MFS_ENABLED : MFS_DISABLED);
    base::CheckOs(SetMenuItemInfoW(parent_->submenu_, UINT(Index()), TRUE, &info));
}

void MenuItem::SetCaption(const std::string& caption) {
    const std::string old = std::exchange(caption_, caption);
    try {
        Apply();
    } catch (...) {
        caption_ = old;
        throw;
    }
}

void MenuItem::SetChecked(bool checked) {
    if (checked && radio_ && parent_) {
        for (const auto& sibling : parent_->items_) {
            if (sibling.get() != this && sibling->radio_ && sibling->group_ == group_ &&
                sibling->checked_) {
                sibling->checked_ = false;
                sibling->Apply();
            }
        }
    }
    checked_ = checked;
    Apply();
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void MenuItem::SetRadioItem(bool radio) {
    radio_ = radio;
    Apply();
}

void MenuItem::Click() {
    if (!enabled_ || separator_)
        return;
    if (autoCheck_)
        SetChecked(radio_ ? true : !checked_);
    // The handler may delete this item: call a copy.
    if (ClickHandler handler = OnClick)
        handler(*this);
}

MenuItem* MenuItem::Find(UINT command) noexcept {
    if (command_ == command && parent_)
        return this;
    for (const auto& item : items_)
        if (MenuItem* found = item->Find(command))
            return found;
    return nullptr;
}

// PopupMenu

PopupMenu::PopupMenu(Window* owner) : ownerWindow_(owner) {
    menu_.Reset(CreatePopupMenu());
    if (!menu_)
        base::RaiseLastOsError();
    root_.reset(new MenuItem(nullptr, menu_.Get()));
}

PopupMenu::PopupMenu(HWND owner) : PopupMenu(static_cast<Window*>(nullptr)) {
    ownerHandle_ = owner;
}

void PopupMenu::SetOwner(Window* owner) noexcept {
    ownerWindow_ = owner;
    ownerHandle_ = nullptr;
}

void PopupMenu::SetOwner(HWND owner) noexcept {
    ownerWindow_ = nullptr;
    ownerHandle_ = owner;
}

HWND PopupMenu::OwnerWindow() const noexcept {
    return ownerWindow_ ? ownerWindow_->Handle() : ownerHandle_;
}

bool PopupMenu::Popup(int x, int y) {
    HWND owner = OwnerWindow();
    if (!owner || !IsWindow(owner))
        throw std::logic_error("The pop-up menu has no owner window");
    if (OnPopup)
        OnPopup(*this);
    // Without the owner in the foreground the menu would not close when the
    // user clicks elsewhere; the empty message afterwards lets it close
    // properly when it is opened again at once.
    SetForegroundWindow(owner);
    const BOOL shown = TrackPopupMenuEx(menu_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                        x, y, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    return shown != FALSE;
}

bool PopupMenu::DispatchCommand(WPARAM wParam, LPARAM lParam) {
    // Menus send notification code 0 and no window.
    if (lParam != 0 || HIWORD(wParam) != 0)
        return false;
    MenuItem* item = FindCommand(LOWORD(wParam));
    if (!item)
        return false;
    item->Click();
    return true;
}

MenuItem* PopupMenu::FindCommand(UINT command) const noexcept {
    return root_ && command ? root_->Find(command) : nullptr;
}

POINT PopupMenu::ContextMenuPosition(HWND window, LPARAM lParam) noexcept {
    POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
    if (p.x == -1 && p.y == -1) {
        p = POINT{0, 0};
        ClientToScreen(window, &p);
    }
    return p;
}

} // namespace brevalo::gui
