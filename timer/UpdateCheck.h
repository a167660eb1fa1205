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

// The worker of one check. It downloads the version file itself, so that a
// slow or silent server never holds up the window's digits, then hands the
// comparison, the question and the opening of the page to the window's
// thread, waits for them, and deletes the file.
class TUpdateCheck : public gui::SyncThread {
public:
    TUpdateCheck(HWND owner, bool checkForUpdates) noexcept
        : owner_(owner), checkForUpdates_(checkForUpdates) {}

protected:
    bool Work() override;
    void Synchronized() override;
    void Done() noexcept override;

private:
    HWND owner_;
    bool checkForUpdates_;
    std::string file_;
};

// Starts one TUpdateCheck for the timer window `owner`, whatever the flag;
// with the flag off it fetches nothing. Call it on the window's thread.
// Failing to start the worker is ignored like any other failure of the check.
void StartUpdateCheck(HWND owner, bool checkForUpdates) noexcept;

// The whole check on the calling thread, the steps the worker and the
// window's thread share between them: with the flag off nothing is fetched;
// otherwise DownloadVersionFile into UpdateFilePath(), OfferUpdateFrom that
// file, and the file is deleted in every case.
void RunUpdateCheck(HWND owner, bool checkForUpdates) noexcept;

// "bvupd" followed by the process's id and ".upd", in the system's temporary
// folder: each timer has a file of its own, so timers started together
// never read or delete each other's.
std::string UpdateFilePath();

// Fetches the vendor's version file into `file`, always from the server
// (no cached copy is used or kept), and keeps at most
// kVersionFileReadLimit + 1 bytes of it: one byte more than is ever read
// tells that the file went on. True when the server answered; an HTTP error
// page counts (its content is what arrives). Runs on any thread.
bool DownloadVersionFile(const std::string& file) noexcept;

// Reads the head of a downloaded version file and, when it announces a newer
// release, asks kUpdateQuestion (owned by `owner`); Yes opens the online
// help page in the browser. Silent on every failure. On the window's thread.
void OfferUpdateFrom(HWND owner, const std::string& file) noexcept;

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
