#include "ElevatedRegistry.h"

#include "Files.h"
#include "Handle.h"
#include "Strings.h"

#include <shellapi.h>

#include <cctype>
#include <string_view>

namespace brevalo::os {

namespace {

bool RunsOnWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

const char* RootName(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// One argument for the registry tool, whose command line splits by the C
// runtime's rules: in double quotes, with the backslashes before the closing
// quote doubled so that they stay backslashes.
std::wstring Quoted(const std::string& text) {
    std::wstring quoted = L"\"" + base::Widen(text);
    const std::size_t last = quoted.find_last_not_of(L'\\'); // the opening quote at least
    quoted.append(quoted.size() - 1 - last, L'\\');
    return quoted + L'"';
}

} // namespace

std::string RegistryKeyPath(RegistryRoot root, const std::string& subKey) {
    std::string rest = subKey;
    constexpr std::string_view software = "software\\";
    bool underSoftware = rest.size() > software.size();
    for (std::size_t i = 0; underSoftware && i < software.size(); ++i)
        underSoftware = char(std::tolower(static_cast<unsigned char>(rest[i]))) == software[i];
    if (root == RegistryRoot::LocalMachine && underSoftware && RunsOnWow64())
        rest.insert(software.size(), "WOW6432Node\\");
    return std::string(RootName(root)) + "\\" + rest;
}

bool DeleteValueElevated(RegistryRoot root, const std::string& subKey, const std::string& name,
                         HWND owner) {
    // A double quote cannot be passed inside a quoted argument to the tool.
    if (name.find('"') != std::string::npos || subKey.find('"') != std::string::npos)
        return false;
    const std::string tool = SystemFolder() + "reg.exe";
    std::wstring parameters = L"delete " +
                              Quoted(std::string(root == RegistryRoot::LocalMachine ? "HKLM" : "HKCU") +
                                     "\\" + subKey) +
                              L" /v " + Quoted(name) + L" /f";
    // The elevated tool is started by a 64-bit service, so its own view need
    // not be this process's: name the view this process uses. 32-bit Windows
    // has only one.
    if (sizeof(void*) == 8)
        parameters += L" /reg:64";
    else if (RunsOnWow64())
        parameters += L" /reg:32";
    const std::wstring file = base::Widen(tool);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info) || !info.hProcess)
        return false; // refused by the user (ERROR_CANCELLED) or not started
    base::KernelHandle process(info.hProcess);
    // The tool ends at once; a minute covers a machine under heavy load.
    if (WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0)
        return false;
    DWORD code = 1;
    return GetExitCodeProcess(process.Get(), &code) && code == 0;
}

} // namespace brevalo::os
