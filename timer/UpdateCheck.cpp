#include "UpdateCheck.h"

#include "ComApartment.h"
#include "Files.h"
#include "Handle.h"
#include "MessageBox.h"
#include "OsError.h"
#include "Strings.h"
#include "VendorSite.h"
#include "VersionFile.h"

#include <shellapi.h>
#include <urlmon.h>

#include <algorithm>
#include <memory>

namespace brevalo {

namespace {

using DownloadFunction = HRESULT(WINAPI*)(IUnknown*, const wchar_t*, const wchar_t*, DWORD,
                                          IBindStatusCallback*);

// urlmon is loaded on first use: only the update check needs it, and a timer
// whose check is switched off never loads it. It stays loaded.
DownloadFunction UrlDownloadToFile() noexcept {
    static const DownloadFunction function = []() -> DownloadFunction {
        HMODULE urlmon = LoadLibraryW(L"urlmon.dll");
        if (!urlmon)
            return nullptr;
        return reinterpret_cast<DownloadFunction>(
            reinterpret_cast<void*>(GetProcAddress(urlmon, "URLDownloadToFileW")));
    }();
    return function;
}

void OfferUpdate(HWND owner) {
    if (gui::ConfirmBox(kUpdateQuestion, MB_YESNO, owner) != IDYES)
        return;
    // The program downloads nothing itself: the user goes on in the browser.
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        owner, L"Open", gui::Widen(os::HelpPageUrl()).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        gui::RaiseLastOsError();
}

} // namespace

void TUpdateCheck::Synchronized() {
    RunUpdateCheck(owner_, checkForUpdates_);
}

void StartUpdateCheck(HWND owner, bool checkForUpdates) noexcept {
    try {
        gui::SyncThread::Start(std::make_unique<TUpdateCheck>(owner, checkForUpdates));
    } catch (...) {
        // No worker, no check: the countdown goes on undisturbed.
    }
}

void RunUpdateCheck(HWND owner, bool checkForUpdates) noexcept {
    if (!checkForUpdates)
        return;
    std::wstring file;
    try {
        const std::string path = UpdateFilePath();
        file = gui::Widen(path);
        // The download and the shell both use COM.
        const os::ComApartment com;
        if (Download(os::VersionFileUrl(), path)) {
            const FileHead head = ReadFileHead(path, kVersionFileReadLimit);
            if (AnnouncesUpdate(head.bytes, head.complete))
                OfferUpdate(owner);
        }
    } catch (...) {
        // An unreadable file, an unknown number or a failing shell: no message.
    }
    if (!file.empty())
        DeleteFileW(file.c_str());
}

std::string UpdateFilePath() {
    return os::TempFolder() + "bvupd.upd";
}

bool Download(const std::string& url, const std::string& file) noexcept {
    try {
        const DownloadFunction download = UrlDownloadToFile();
        return download && download(nullptr, gui::Widen(url).c_str(), gui::Widen(file).c_str(), 0,
                                    nullptr) == S_OK;
    } catch (...) {
        return false;
    }
}

FileHead ReadFileHead(const std::string& path, std::size_t limit) {
    gui::FileHandle handle(CreateFileW(gui::Widen(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        gui::RaiseLastOsError();
    // One byte more than asked tells whether the file goes on.
    FileHead head;
    head.bytes.resize(limit + 1);
    std::size_t filled = 0;
    while (filled < head.bytes.size()) {
        DWORD read = 0;
        const DWORD wanted = DWORD(std::min<std::size_t>(head.bytes.size() - filled, 1 << 16));
        if (!ReadFile(handle.Get(), head.bytes.data() + filled, wanted, &read, nullptr))
            gui::RaiseLastOsError();
        if (read == 0)
            break;
        filled += read;
    }
    head.complete = filled <= limit;
    head.bytes.resize(head.complete ? filled : limit);
    return head;
}

} // namespace brevalo
