#include "Win32Registry.h"

#include "OsError.h"
#include "Strings.h"


namespace brevalo::os {

using base::Narrow;
using base::OsError;
using base::Widen;

HKEY RootKey(RegistryRoot root) noexcept {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

base::RegKey OpenOrCreateKey(HKEY root, const std::string& subKey) {
    HKEY key = nullptr;
    const LSTATUS status =
        RegCreateKeyExW(root, Widen(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        throw OsError(DWORD(status));
    return base::RegKey(key);
}

std::optional<base::RegKey> OpenKeyToRead(HKEY root, const std::string& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Widen(subKey).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    return base::RegKey(key);
}

void WriteStringValue(HKEY key, const std::string& name, const std::string& data) {
    const std::wstring wide = Widen(data);
    const LSTATUS status = RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(wide.c_str()),
                                          DWORD((wide.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS)
        throw OsError(DWORD(status));
}

void DeleteValueIfPresent(HKEY key, const std::string& name) {
    const LSTATUS status = RegDeleteValueW(key, Widen(name).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw OsError(DWORD(status));
}

std::optional<std::string> ReadStringValue(HKEY key, const std::string& name) {
    const std::wstring wname = Widen(name);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        LSTATUS status =
            RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = DWORD(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, wname.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (status == ERROR_MORE_DATA)
            continue; // the value grew in between: read again
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        // The stored data need not end with a zero.
        buffer.resize(bytes / sizeof(wchar_t));
        while (!buffer.empty() && buffer.back() == L'\0')
            buffer.pop_back();
        return Narrow(buffer);
    }
    return std::nullopt;
}

namespace {

class Win32RegistryKey : public RegistryKey {
public:
    explicit Win32RegistryKey(base::RegKey key) : key_(std::move(key)) {}

    std::optional<std::uint32_t> ReadDword(const std::string& name) override {
        DWORD type = 0, value = 0, size = sizeof value;
        const LSTATUS status = RegQueryValueExW(key_.Get(), Widen(name).c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(&value), &size);
        if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
            return std::nullopt;
        return value;
    }

    std::optional<std::string> ReadString(const std::string& name) override {
        return ReadStringValue(key_.Get(), name);
    }

    void WriteDword(const std::string& name, std::uint32_t value) override {
        const DWORD data = value;
        const LSTATUS status = RegSetValueExW(key_.Get(), Widen(name).c_str(), 0, REG_DWORD,
                                              reinterpret_cast<const BYTE*>(&data), sizeof data);
        if (status != ERROR_SUCCESS)
            throw OsError(DWORD(status));
    }

    void WriteString(const std::string& name, const std::string& value) override {
        WriteStringValue(key_.Get(), name, value);
    }

    void DeleteValue(const std::string& name) override { DeleteValueIfPresent(key_.Get(), name); }

private:
    base::RegKey key_;
};

} // namespace

std::unique_ptr<RegistryKey> Win32RegistryAccess::OpenCurrentUser(const std::string& subKey) {
    return std::make_unique<Win32RegistryKey>(OpenOrCreateKey(HKEY_CURRENT_USER, subKey));
}

} // namespace brevalo::os
