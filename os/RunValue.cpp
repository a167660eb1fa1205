#include "RunValue.h"

#include "RunValueName.h"
#include "Strings.h"
#include "Win32Registry.h"

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
          key_(OpenOrCreateKey(RootKey(root), AutorunKey(list))) {}

    std::optional<std::string> ExistingData(const std::string& name) override {
        return ReadStringValue(key_.Get(), name);
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
    base::RegKey key_;
    base::KernelHandle claim_;
};

} // namespace

RunValue::RunValue(RegistryRoot root, const std::string& endText, const std::string& data,
                   AutorunList list)
    : root_(root), key_(AutorunKey(list)), data_(data) {
    Win32RunValueNames names(root, list);
    name_ = ChooseRunValueName(endText, data, names);
    claim_ = names.TakeClaim();
}

void RunValue::Write() {
    base::RegKey key = OpenOrCreateKey(RootKey(root_), key_);
    WriteStringValue(key.Get(), name_, data_);
    written_ = true;
}

void RunValue::Remove() {
    if (!written_)
        return;
    base::RegKey key = OpenOrCreateKey(RootKey(root_), key_);
    DeleteValueIfPresent(key.Get(), name_);
    written_ = false;
}

} // namespace brevalo::os
