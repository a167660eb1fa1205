#include "UpdateCheck.h"

#include "ComApartment.h"
#include "Files.h"
#include "Handle.h"
#include "Library.h"
#include "MessageBox.h"
#include "OsError.h"
#include "ShellOpen.h"
#include "Strings.h"
#include "VendorSite.h"
#include "VersionFile.h"

#include <wininet.h>

#include <algorithm>
#include <memory>

namespace brevalo {

namespace {

// wininet is loaded on first use: only the update check needs it, and a
// timer whose check is switched off never loads it. It stays loaded.
struct WinInet {
    decltype(&InternetOpenW) open = nullptr;
    decltype(&InternetOpenUrlW) openUrl = nullptr;
    decltype(&InternetReadFile) read = nullptr;
    decltype(&InternetCloseHandle) close = nullptr;
    bool Loaded() const noexcept { return open && openUrl && read && close; }
};

const WinInet& Internet() noexcept {
    static const WinInet functions = [] {
        WinInet f;
        if (HMODULE module = base::LoadSystemLibrary(L"wininet.dll")) {
            base::LoadFunction(module, "InternetOpenW", f.open);
            base::LoadFunction(module, "InternetOpenUrlW", f.openUrl);
            base::LoadFunction(module, "InternetReadFile", f.read);
            base::LoadFunction(module, "InternetCloseHandle", f.close);
        }
        return f;
    }();
    return functions;
}

struct InternetHandleTraits {
    using Type = HINTERNET;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { Internet().close(h); }
};
using InternetHandle = base::UniqueHandle<InternetHandleTraits>;

// Reads at most `limit` bytes of the answer.
std::string ReadAnswer(const WinInet& inet, HINTERNET request, std::size_t limit) {
    std::string bytes(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        DWORD read = 0;
        if (!inet.read(request, bytes.data() + filled, DWORD(limit - filled), &read))
            base::RaiseLastOsError();
        if (read == 0)
            break;
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

void WriteNewFile(const std::string& path, const std::string& bytes) {
    base::FileHandle handle(CreateFileW(base::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!handle)
        base::RaiseLastOsError();
    DWORD written = 0;
    if (!WriteFile(handle.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        base::RaiseLastOsError();
}

void OfferUpdate(HWND owner) {
    if (gui::ConfirmBox(kUpdateQuestion, MB_YESNO, owner) != IDYES)
        return;
    // The program downloads nothing itself: the user goes on in the browser.
    os::ShellOpen(owner, "Open", os::HelpPageUrl());
}

void DeleteUpdateFile(const std::string& file) noexcept {
    try {
        DeleteFileW(base::Widen(file).c_str());
    } catch (...) {
        // Left behind: ignored.
    }
}

} // namespace

bool TUpdateCheck::Work() {
    if (!checkForUpdates_)
        return false;
    file_ = UpdateFilePath();
    return DownloadVersionFile(file_);
}

void TUpdateCheck::Synchronized() {
    OfferUpdateFrom(owner_, file_);
}

void TUpdateCheck::Done() noexcept {
    if (!file_.empty())
        DeleteUpdateFile(file_);
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
    std::string file;
    try {
        file = UpdateFilePath();
    } catch (...) {
        return;
    }
    if (DownloadVersionFile(file))
        OfferUpdateFrom(owner, file);
    DeleteUpdateFile(file);
}

std::string UpdateFilePath() {
    return os::TempFolder() + "bvupd" + std::to_string(GetCurrentProcessId()) + ".upd";
}

bool DownloadVersionFile(const std::string& file) noexcept {
    try {
        const WinInet& inet = Internet();
        if (!inet.Loaded())
            return false;
        InternetHandle session(
            inet.open(L"Brevalo", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!session)
            return false;
        // Always the server's current file: a stale copy would hide a new
        // release, or announce one long after it was withdrawn.
        const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                            INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES |
                            INTERNET_FLAG_NO_UI;
        InternetHandle request(inet.openUrl(session.Get(), base::Widen(os::VersionFileUrl()).c_str(),
                                            nullptr, 0, flags, 0));
        if (!request)
            return false;
        WriteNewFile(file, ReadAnswer(inet, request.Get(), kVersionFileReadLimit + 1));
        return true;
    } catch (...) {
        return false;
    }
}

void OfferUpdateFrom(HWND owner, const std::string& file) noexcept {
    try {
        const FileHead head = ReadFileHead(file, kVersionFileReadLimit);
        if (!AnnouncesUpdate(head.bytes, head.complete))
            return;
        // The shell uses COM.
        const os::ComApartment com;
        OfferUpdate(owner);
    } catch (...) {
        // An unreadable file, an unknown number or a failing shell: no message.
    }
}

FileHead ReadFileHead(const std::string& path, std::size_t limit) {
    base::FileHandle handle(CreateFileW(base::Widen(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        base::RaiseLastOsError();
    // One byte more than asked tells whether the file goes on.
    FileHead head;
    head.bytes.resize(limit + 1);
    std::size_t filled = 0;
    while (filled < head.bytes.size()) {
        DWORD read = 0;
        const DWORD wanted = DWORD(std::min<std::size_t>(head.bytes.size() - filled, 1 << 16));
        if (!ReadFile(handle.Get(), head.bytes.data() + filled, wanted, &read, nullptr))
            base::RaiseLastOsError();
        if (read == 0)
            break;
        filled += read;
    }
    head.complete = filled <= limit;
    head.bytes.resize(head.complete ? filled : limit);
    return head;
}

} // namespace brevalo
