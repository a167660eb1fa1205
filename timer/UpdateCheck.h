// The update check of a timer window: once the countdown has started, fetch
// the version file from the vendor's web server and, when it announces a
// newer release, offer the vendor's pages. Every failure passes silently.
#pragma once

#include "SyncThread.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace brevalo {

// The question asked when a newer release exists.
inline constexpr char kUpdateQuestion[] =
    "There is an updated version of this program available for download.\n\r"
    "Would you like to download now?";

// The worker that hands the whole check to the window's thread and waits
// for it there; it downloads nothing itself.
class TUpdateCheck : public gui::SyncThread {
public:
    TUpdateCheck(HWND owner, bool checkForUpdates) noexcept
        : owner_(owner), checkForUpdates_(checkForUpdates) {}

protected:
    void Synchronized() override;

private:
    HWND owner_;
    bool checkForUpdates_;
};

// Starts one TUpdateCheck for the timer window `owner`, whatever the flag; the
// check then runs on the window's thread at its next message. Call it on the
// window's thread. Failing to start the worker is ignored like any other
// failure of the check.
void StartUpdateCheck(HWND owner, bool checkForUpdates) noexcept;

// The check, on the window's thread. With the flag off nothing is fetched.
// Otherwise the version file is downloaded into UpdateFilePath(); when it
// announces a newer release the user is asked kUpdateQuestion (owned by
// `owner`), and Yes opens the online help page in the browser. The file is
// deleted afterwards in every case.
void RunUpdateCheck(HWND owner, bool checkForUpdates) noexcept;

// "bvupd.upd" in the system's temporary folder.
std::string UpdateFilePath();

// Downloads `url` into `file`; true exactly when the platform reports
// success. An HTTP error page counts as success (its content is what arrives).
bool Download(const std::string& url, const std::string& file) noexcept;

// The start of a file: at most the requested number of bytes, and whether
// that is all of it.
struct FileHead {
    std::string bytes;
    bool complete = false;
};

// Reads at most `limit` bytes from the start of `path`; throws OsError when
// the file cannot be opened or read.
FileHead ReadFileHead(const std::string& path, std::size_t limit);

} // namespace brevalo
