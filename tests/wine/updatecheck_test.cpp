// The update check against a small web server on 127.0.0.1 run by the test
// itself, so that every request it receives can be counted and every answer
// chosen: the question and its answers, the contents that ask nothing,
// failing servers, a huge file, the switch that fetches nothing, and the
// temporary file that never stays. Also the vendor's address, the worker
// that downloads by itself, and the hand-over of a call to the window's
// thread.
#include "Application.h"
#include "Files.h"
#include "OsError.h"
#include "Strings.h"
#include "SyncThread.h"
#include "TestHttpServer.h"
#include "UpdateCheck.h"
#include "VendorSite.h"
#include "VersionFile.h"

#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace brevalo {
namespace {

using Clock = std::chrono::steady_clock;

// Runs the message loop until `done` holds or `ms` have passed; returns `done`.
bool PumpUntil(const std::function<bool()>& done, int ms = 30000) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Clock::now() >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        gui::Application::Instance().ProcessMessages();
    }
    return true;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(std::filesystem::path(base::Widen(path)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(base::Widen(path)), std::ios::binary) << bytes;
}

// ---------------------------------------------------------------------------
// A web server on 127.0.0.1 that answers every request with one chosen
// response and remembers the paths asked for.

using TestServer = brevalo::testsupport::TestServer;

// ---------------------------------------------------------------------------
// Answers the message boxes of this process from another thread, as a user
// would, and records what each one showed.

struct SeenBox {
    std::string caption;
    std::string text;
    bool yes = false, no = false, ok = false, cancel = false; // visible buttons
    HWND owner = nullptr;
    DWORD thread = 0;
    bool fileThere = false; // the downloaded file existed while the box was up
    std::string fileContent;
};

class BoxAnswerer {
public:
    explicit BoxAnswerer(int answer) : answer_(answer), thread_([this] { Run(); }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    std::vector<SeenBox> Boxes() const {
        std::lock_guard lock(mutex_);
        return boxes_;
    }

private:
    static BOOL CALLBACK Collect(HWND hwnd, LPARAM found) {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) &&
            std::wstring(name) == L"#32770")
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
        return TRUE;
    }
    static BOOL CALLBACK CollectText(HWND child, LPARAM text) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (_wcsicmp(name, L"Static") == 0) {
            wchar_t buffer[512] = {};
            GetWindowTextW(child, buffer, 512);
            *reinterpret_cast<std::wstring*>(text) += buffer;
        }
        return TRUE;
    }
    static bool Visible(HWND box, int id) {
        HWND button = GetDlgItem(box, id);
        return button && IsWindowVisible(button);
    }

    void Run() {
        while (!stop_) {
            std::vector<HWND> found;
            EnumWindows(&BoxAnswerer::Collect, reinterpret_cast<LPARAM>(&found));
            for (HWND box : found) {
                if (!answered_.insert(box).second)
                    continue;
                // Let the box finish setting itself up.
                Sleep(100);
                SeenBox seen;
                wchar_t caption[128] = {};
                GetWindowTextW(box, caption, 128);
                seen.caption = base::Narrow(caption);
                std::wstring text;
                EnumChildWindows(box, &BoxAnswerer::CollectText, reinterpret_cast<LPARAM>(&text));
                seen.text = base::Narrow(text);
                seen.yes = Visible(box, IDYES);
                seen.no = Visible(box, IDNO);
                seen.ok = Visible(box, IDOK);
                seen.cancel = Visible(box, IDCANCEL);
                seen.owner = GetWindow(box, GW_OWNER);
                seen.thread = GetWindowThreadProcessId(box, nullptr);
                seen.fileThere = os::FileExists(UpdateFilePath());
                if (seen.fileThere)
                    seen.fileContent = ReadAll(UpdateFilePath());
                {
                    std::lock_guard lock(mutex_);
                    boxes_.push_back(seen);
                }
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED),
                             LPARAM(GetDlgItem(box, answer_)));
            }
            Sleep(20);
        }
    }

    int answer_;
    std::atomic<bool> stop_{false};
    std::set<HWND> answered_;
    mutable std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::thread thread_;
};

// ---------------------------------------------------------------------------
// The browser: web addresses open a command that writes the address into a
// file, so that the test sees what the shell was asked to open.

class FakeBrowser {
public:
    FakeBrowser() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        opened_ = std::wstring(temp) + L"brevalo-opened.txt";
        DeleteFileW(opened_.c_str());
        const std::wstring command =
            L"C:\\windows\\system32\\cmd.exe /c echo %1>\"" + opened_ + L"\"";
        RegSetKeyValueW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr, REG_SZ,
                        command.c_str(), DWORD((command.size() + 1) * sizeof(wchar_t)));
    }
    ~FakeBrowser() { DeleteFileW(opened_.c_str()); }

    // What the browser was asked to open, once it has been; empty otherwise.
    std::string Opened() const {
        std::string text = ReadAll(base::Narrow(opened_));
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
            text.pop_back();
        return text;
    }

private:
    std::wstring opened_;
};

// ---------------------------------------------------------------------------

class UpdateCheck : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }

    void SetUp() override {
        SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", base::Widen(server.Url()).c_str());
        owner = CreateWindowExW(0, L"STATIC", L"Timer", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        DeleteFileW(base::Widen(UpdateFilePath()).c_str());
    }

    void TearDown() override {
        DestroyWindow(owner);
        SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", nullptr);
    }

    // Runs one check on this thread with the boxes answered `answer`.
    std::vector<SeenBox> Check(int answer = IDNO) {
        BoxAnswerer answerer(answer);
        RunUpdateCheck(owner, true);
        return answerer.Boxes();
    }

    static bool FileLeft() { return os::FileExists(UpdateFilePath()); }

    TestServer server;
    HWND owner = nullptr;
};

TEST(VendorSite, OneHttpsAddressUnlessTheVariableNamesAnAcceptedOne) {
    SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", nullptr);
    EXPECT_EQ(os::VersionFileUrl(), std::string(os::kVendorSite) + "/bvver.txt");
    EXPECT_EQ(os::HelpPageUrl(), std::string(os::kVendorSite) + "/help/index.html");
    EXPECT_EQ(std::string(os::kVendorSite).rfind("https://", 0), 0u);

    SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", L"http://127.0.0.1:8123/");
    EXPECT_EQ(os::VersionFileUrl(), "http://127.0.0.1:8123/bvver.txt");
    EXPECT_EQ(os::HelpPageUrl(), "http://127.0.0.1:8123/help/index.html");

    // Set but empty: no address at all would be of no use. Another scheme, or
    // a plain address to another computer, is not taken either.
    for (const wchar_t* refused : {L"", L"http://example.com", L"file:///C:/site", L"C:\\site"}) {
        SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", refused);
        EXPECT_EQ(os::VendorSiteUrl(), os::kVendorSite) << base::Narrow(refused);
    }
    SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", nullptr);
}

TEST_F(UpdateCheck, ANewerNumberAsksTheQuestionAndNoOpensNothing) {
    FakeBrowser browser;
    server.Answer("3\r\n");
    const auto boxes = Check(IDNO);

    EXPECT_EQ(server.Paths(), std::vector<std::string>{"/bvver.txt"});
    ASSERT_EQ(boxes.size(), 1u);
    const SeenBox& box = boxes[0];
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.text, "There is an updated version of this program available for download.\n\r"
                        "Would you like to download now?");
    EXPECT_TRUE(box.yes && box.no);
    EXPECT_FALSE(box.ok || box.cancel);
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.thread, GetCurrentThreadId());
    // The file is read before the question and deleted after it.
    EXPECT_TRUE(box.fileThere);
    EXPECT_EQ(box.fileContent, "3\r\n");
    EXPECT_FALSE(FileLeft());
    Sleep(1000);
    EXPECT_EQ(browser.Opened(), "") << "No must open nothing";
}

TEST_F(UpdateCheck, YesOpensTheOnlineHelpPageAndOnlyTheFirstLineCounts) {
    FakeBrowser browser;
    // 10 is above 2 as a number although "10" sorts before "2" as text.
    server.Answer("10\r\n1\r\nThe new release shows the time in words.\r\n");
    const auto boxes = Check(IDYES);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(FileLeft());
    ASSERT_TRUE(PumpUntil([&] { return !browser.Opened().empty(); })) << "Yes opened no web page";
    EXPECT_EQ(browser.Opened(), server.Url() + "/help/index.html");
    // The program downloads nothing itself.
    EXPECT_EQ(server.Paths().size(), 1u);
}

TEST_F(UpdateCheck, NoNewerNumberAsksNothing) {
    const std::vector<std::string> contents = {"2\r\n",     "1",       "letters\r\n",   "",
                                               "\r\n3\r\n", "3.5\r\n", "<html>3</html>"};
    for (const std::string& content : contents) {
        server.Answer(content);
        EXPECT_TRUE(Check().empty()) << "asked for \"" << content << "\"";
        EXPECT_FALSE(FileLeft()) << "after \"" << content << "\"";
    }
    // Every check went to the server: no stale copy stood in.
    EXPECT_EQ(server.Paths().size(), contents.size());
}

TEST_F(UpdateCheck, FailingServersPassSilently) {
    // An error page is what arrives for a missing file.
    server.Answer("<!DOCTYPE HTML>\r\n<title>404 File not found</title>\r\n", 404);
    EXPECT_TRUE(Check().empty());
    EXPECT_FALSE(FileLeft());

    server.HangUp();
    EXPECT_TRUE(Check().empty());
    EXPECT_FALSE(FileLeft());
    EXPECT_EQ(server.Paths().size(), 2u);

    // Nothing listening at all: a port that was just given up.
    std::string closedUrl;
    {
        TestServer gone;
        closedUrl = gone.Url();
    }
    SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", base::Widen(closedUrl).c_str());
    EXPECT_TRUE(Check().empty());
    EXPECT_FALSE(FileLeft());
}

TEST_F(UpdateCheck, AHugeFileIsReadOnlyUpToTheBound) {
    const std::size_t huge = 8u << 20;
    // The number stands in the first line: the rest is never read.
    server.Answer("3\r\n" + std::string(huge, 'x'));
    const auto boxes = Check();
    ASSERT_EQ(boxes.size(), 1u);
    // Only the start is fetched and kept, one byte past what is ever read.
    EXPECT_EQ(boxes[0].fileContent.size(), kVersionFileReadLimit + 1);
    EXPECT_FALSE(FileLeft());

    // A first line longer than the bound is no number to trust.
    server.Answer(std::string(huge, '7'));
    EXPECT_TRUE(Check().empty());
    EXPECT_FALSE(FileLeft());
    server.Answer(std::string(kVersionFileReadLimit, ' ') + "3\r\n");
    EXPECT_TRUE(Check().empty()) << "read past the bound";
    EXPECT_FALSE(FileLeft());
}

TEST_F(UpdateCheck, SwitchedOffItFetchesNothing) {
    server.Answer("3\r\n");
    EXPECT_EQ(Check(IDNO).size(), 1u);
    BoxAnswerer answerer(IDNO);
    RunUpdateCheck(owner, false);
    StartUpdateCheck(owner, false);
    PumpUntil([] { return false; }, 1000);
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_EQ(server.Paths().size(), 1u) << "only the check that was on asked the server";
}

TEST_F(UpdateCheck, TheWorkerDownloadsAndOnlyTheQuestionWaitsForTheWindowThread) {
    server.Answer("3\r\n");
    BoxAnswerer answerer(IDNO);
    StartUpdateCheck(owner, true);
    // This thread handles no messages: the download goes on all the same.
    const auto until = Clock::now() + std::chrono::seconds(15);
    while (server.Paths().empty() && Clock::now() < until)
        Sleep(20);
    EXPECT_EQ(server.Paths(), std::vector<std::string>{"/bvver.txt"});
    Sleep(300);
    EXPECT_TRUE(answerer.Boxes().empty()) << "the question came without the window thread";

    ASSERT_TRUE(PumpUntil([&] { return !answerer.Boxes().empty(); }));
    EXPECT_EQ(answerer.Boxes()[0].thread, GetCurrentThreadId());
    EXPECT_EQ(answerer.Boxes()[0].owner, owner);
    EXPECT_EQ(answerer.Boxes()[0].fileContent, "3\r\n");
    EXPECT_TRUE(PumpUntil([] { return !FileLeft(); }));
    EXPECT_EQ(server.Paths().size(), 1u);
}

TEST(FileHead, AtMostTheLimitIsReadAndTheRestIsNoticed) {
    const std::string path = os::TempFolder() + "brevalo-head.bin";
    WriteAll(path, std::string(4u << 20, 'a'));
    FileHead head = ReadFileHead(path, 1024);
    EXPECT_EQ(head.bytes, std::string(1024, 'a'));
    EXPECT_FALSE(head.complete);

    WriteAll(path, std::string(1024, 'b'));
    head = ReadFileHead(path, 1024);
    EXPECT_EQ(head.bytes.size(), 1024u);
    EXPECT_TRUE(head.complete) << "exactly the limit is the whole file";

    WriteAll(path, "2\r\n");
    head = ReadFileHead(path, 1024);
    EXPECT_EQ(head.bytes, "2\r\n");
    EXPECT_TRUE(head.complete);

    DeleteFileW(base::Widen(path).c_str());
    EXPECT_THROW(ReadFileHead(path, 1024), base::OsError);
}

// ---------------------------------------------------------------------------
// The worker thread that hands one call to the window's thread

struct SyncLog {
    std::vector<DWORD> calledOn;
    DWORD deletedOn = 0;
    bool throwInCall = false;
    std::function<void()> onCall;
};

class LoggingThread : public gui::SyncThread {
public:
    explicit LoggingThread(SyncLog& log) : log_(log) {}
    ~LoggingThread() override { log_.deletedOn = GetCurrentThreadId(); }

protected:
    void Synchronized() override {
        log_.calledOn.push_back(GetCurrentThreadId());
        if (log_.onCall)
            log_.onCall();
        if (log_.throwInCall)
            throw std::runtime_error("call failed");
    }

private:
    SyncLog& log_;
};

class SyncThreadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }
    void TearDown() override { gui::Application::Instance().SetExceptionHandler({}); }
};

TEST_F(SyncThreadTest, TheCallRunsOnceOnTheWindowThreadAndTheThreadCleansUpAfterIt) {
    SyncLog log;
    gui::SyncThread::Start(std::make_unique<LoggingThread>(log));
    Sleep(300);
    EXPECT_TRUE(log.calledOn.empty()) << "the call waits for this thread's messages";
    ASSERT_TRUE(PumpUntil([&] { return log.deletedOn != 0; }, 10000));
    EXPECT_EQ(log.calledOn, std::vector<DWORD>{GetCurrentThreadId()});
    EXPECT_EQ(log.deletedOn, GetCurrentThreadId());
}

TEST_F(SyncThreadTest, AnErrorOfTheCallGoesToTheApplicationAndTheThreadStillEnds) {
    std::vector<std::string> reported;
    gui::Application::Instance().SetExceptionHandler([&](std::exception_ptr error) {
        reported.push_back(gui::Application::ExceptionMessage(error));
    });
    SyncLog log;
    log.throwInCall = true;
    gui::SyncThread::Start(std::make_unique<LoggingThread>(log));
    ASSERT_TRUE(PumpUntil([&] { return log.deletedOn != 0; }, 10000));
    EXPECT_EQ(log.calledOn.size(), 1u);
    EXPECT_EQ(reported, std::vector<std::string>{"call failed"});
}

TEST_F(SyncThreadTest, TheCallAlsoRunsWhileTheWindowThreadIsInAModalLoop) {
    SyncLog log;
    // The call itself closes the message box: the box's own loop is the only
    // one running until then.
    log.onCall = [] {
        if (HWND box = FindWindowW(L"#32770", L"Modal"))
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    gui::SyncThread::Start(std::make_unique<LoggingThread>(log));
    // Should the call never come, the box closes after a while with OK.
    std::atomic<bool> returned{false};
    std::thread fallback([&] {
        for (int i = 0; i < 500 && !returned; ++i)
            Sleep(20);
        if (HWND box = FindWindowW(L"#32770", L"Modal"))
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    const int answer = MessageBoxW(nullptr, L"modal", L"Modal", MB_OKCANCEL);
    returned = true;
    fallback.join();
    EXPECT_EQ(answer, IDCANCEL) << "the call did not run inside the box's loop";
    EXPECT_EQ(log.calledOn, std::vector<DWORD>{GetCurrentThreadId()});
    ASSERT_TRUE(PumpUntil([&] { return log.deletedOn != 0; }, 10000));
}

} // namespace
} // namespace brevalo
