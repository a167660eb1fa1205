#include "ShortcutFile.h"

#include "ComApartment.h"
#include "ComPtr.h"
#include "OsError.h"
#include "Strings.h"
#include "Win32Registry.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

namespace brevalo::os {

using base::ComPtr;
using base::Narrow;
using base::Widen;

namespace {

// Failures of Win32 calls come wrapped as HRESULTs; their plain code gives
// the system's description of what went wrong ("The system cannot find the
// path specified.").
[[noreturn]] void RaiseComError(HRESULT result) {
    const auto code = static_cast<std::uint32_t>(result);
    if (HRESULT_FACILITY(result) == FACILITY_WIN32)
        throw base::OsError(HRESULT_CODE(result));
    throw base::OsError(code);
}

void CheckCom(HRESULT result) {
    if (FAILED(result))
        RaiseComError(result);
}

std::string RegistryFolder(ShortcutLocation location) {
    const ShortcutFolderValue value = ShortcutFolderValueOf(location);
    if (!*value.key)
        return {};
    try {
        Win32RegistryAccess registry;
        return registry.OpenCurrentUser(value.key)->ReadString(value.name).value_or("");
    } catch (const base::OsError&) {
        // A key we may not open counts as a missing value: the shell still knows.
        return {};
    }
}

std::string ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return Narrow(path);
}

// Where systems that do not record the folders in the registry keep them.
std::string ShellRecordedFolder(ShortcutLocation location) {
    switch (location) {
    case ShortcutLocation::Desktop:
        return ShellFolder(CSIDL_DESKTOPDIRECTORY);
    case ShortcutLocation::QuickLaunch: {
        const std::string appData = ShellFolder(CSIDL_APPDATA);
        return appData.empty() ? appData
                               : JoinPath(appData, "Microsoft\\Internet Explorer\\Quick Launch");
    }
    case ShortcutLocation::SendTo:
        return ShellFolder(CSIDL_SENDTO);
    case ShortcutLocation::StartMenu:
        return ShellFolder(CSIDL_STARTMENU);
    case ShortcutLocation::GivenFolder:
        break;
    }
    return {};
}

} // namespace

std::string WellKnownFolder(ShortcutLocation location) {
    if (location == ShortcutLocation::GivenFolder)
        return {};
    std::string folder = RegistryFolder(location);
    return folder.empty() ? ShellRecordedFolder(location) : folder;
}

std::optional<std::string>
CreateShortcutFile(const std::string& targetPath, ShortcutLocation location,
                   const std::string& subfolder, const std::string& description,
                   const std::string& arguments, const std::string& workingDirectory,
                   const std::string& timerName) {
    // Declared first so that the interfaces are released before COM is left.
    ComApartment apartment;
    ComPtr<IShellLinkW> link;
    CheckCom(CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IShellLinkW), link.PutVoid()));
    ComPtr<IPersistFile> file;
    CheckCom(link->QueryInterface(__uuidof(IPersistFile), file.PutVoid()));

    // A link that silently lost its arguments would start the wrong thing,
    // so a refused property is an error.
    CheckCom(link->SetPath(Widen(targetPath).c_str()));
    CheckCom(link->SetArguments(Widen(arguments).c_str()));
    CheckCom(link->SetDescription(Widen(description).c_str()));

    const std::string folder =
        location == ShortcutLocation::GivenFolder ? subfolder : WellKnownFolder(location);
    const std::string linkFolder = ShortcutFolder(location, folder, subfolder);
    if (linkFolder.empty())
        return std::nullopt;
    const std::string linkPath = JoinPath(linkFolder, ShortcutFileName(timerName));

    CheckCom(link->SetWorkingDirectory(
        Widen(ShortcutWorkingDirectory(workingDirectory, targetPath)).c_str()));
    // Not remembered as the object's current file: the object goes away here.
    CheckCom(file->Save(Widen(linkPath).c_str(), FALSE));
    return linkPath;
}

} // namespace brevalo::os
