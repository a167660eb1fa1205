#include "RunValue.h"

#include "ElevatedRegistry.h"
#include "OsError.h"
#include "RunValueName.h"
#include "Strings.h"
#include "Win32Registry.h"

#include <iterator>

namespace brevalo::os {

namespace {

// The key of each autorun list, under either root.
const char* AutorunKey(AutorunList list) noexcept {
    return list == AutorunList::Run ? RunKey : RunOnceKey;
}

// A name is held by a named mutex that lives as long as the process holding
// it: it goes away with the process however the process ends, so a value
// left by a killed timer or by a log-off is free to be taken up again.
class Win32RunValueNames : public RunValueNames {
public:
    Win32RunValueNames(RegistryRoot root, AutorunList list)
        : root_(root), list_(list),
          key_(OpenKeyToRead(RootKey(root), AutorunKey(list))) {}

    // Reading is all the search needs, and all that a user without
    // administrator rights may do with the machine-wide key.
    std::optional<std::string> ExistingData(const std::string& name) override {
        return key_ ? ReadStringValue(key_->Get(), name) : std::nullopt;
    }

    bool Claim(const std::string& name) override {
        std::wstring object =
            list_ == AutorunList::Run ? L"Brevalo Run value " : L"Brevalo RunOnce value ";
        object += root_ == RegistryRoot::LocalMachine ? L"HKLM " : L"HKCU ";
        object += base::Widen(name);
        // Kernel object names hold no backslash but the namespace's own.
        for (wchar_t& c : object)
            if (c == L'\\')
                c = L'/';
        // A machine-wide value is seen by the timers of every session.
        HANDLE mutex = nullptr;
        if (root_ == RegistryRoot::LocalMachine)
            mutex = CreateMutexW(nullptr, FALSE, (L"Global\\" + object).c_str());
        if (!mutex)
            mutex = CreateMutexW(nullptr, FALSE, object.c_str());
        if (!mutex)
            return true; // no way to tell: the name counts as free
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(mutex);
            return false;
        }
        claim_.Reset(mutex);
        return true;
    }

    base::KernelHandle TakeClaim() noexcept { return std::move(claim_); }

private:
    RegistryRoot root_;
    AutorunList list_;
    std::optional<base::RegKey> key_;
    base::KernelHandle claim_;
};

std::optional<std::string> ReadAutorunValue(RegistryRoot root, AutorunList list,
                                            const std::string& name) {
    const auto key = OpenKeyToRead(RootKey(root), AutorunKey(list));
    return key ? ReadStringValue(key->Get(), name) : std::nullopt;
}

} // namespace

std::string AutorunKeyPath(RegistryRoot root, AutorunList list) {
    return RegistryKeyPath(root, AutorunKey(list));
}

Removal DeleteAutorunValue(RegistryRoot root, AutorunList list, const std::string& name,
                           HWND owner) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(RootKey(root), base::Widen(AutorunKey(list)).c_str(), 0,
                                         KEY_SET_VALUE, &opened);
    if (status == ERROR_SUCCESS) {
        base::RegKey key(opened);
        DeleteValueIfPresent(key.Get(), name);
        return Removal::Removed;
    }
    if (status == ERROR_FILE_NOT_FOUND)
        return Removal::Removed;
    if (status != ERROR_ACCESS_DENIED || root != RegistryRoot::LocalMachine)
        throw base::OsError(DWORD(status));
    if (!ReadAutorunValue(root, list, name))
        return Removal::Removed;
    DeleteValueElevated(root, AutorunKey(list), name, owner);
    // What counts is whether the value is gone, whatever the tool said.
    return ReadAutorunValue(root, list, name) ? Removal::Left : Removal::Removed;
}

std::vector<std::string> RunValuesHolding(RegistryRoot root, const std::string& data) {
    std::vector<std::string> names;
    const auto key = OpenKeyToRead(RootKey(root), RunKey);
    if (!key)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD length = DWORD(std::size(name));
        if (RegEnumValueW(key->Get(), index, name, &length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        std::string narrow = base::Narrow(std::wstring_view(name, length));
        if (ReadStringValue(key->Get(), narrow) == data)
            names.push_back(std::move(narrow));
    }
    return names;
}

RunValue::RunValue(RegistryRoot root, const std::string& endText, const std::string& data,
                   AutorunList list)
    : root_(root), list_(list), data_(data) {
    Win32RunValueNames names(root, list);
    name_ = ChooseRunValueName(endText, data, names);
    claim_ = names.TakeClaim();
}

void RunValue::Write() {
    if (ReadAutorunValue(root_, list_, name_) != data_) {
        base::RegKey key = OpenOrCreateKey(RootKey(root_), AutorunKey(list_));
        WriteStringValue(key.Get(), name_, data_);
    }
    written_ = true;
}

Removal RunValue::Remove(HWND owner) {
    if (!written_)
        return Removal::Removed;
    written_ = false;
    return DeleteAutorunValue(root_, list_, name_, owner);
}

} // namespace brevalo::os
