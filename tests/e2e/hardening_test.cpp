// Bad input gets a clear answer and loses nothing: a damaged settings file,
// names with letters beyond ASCII, and very long command lines.
#include "Driver.h"
#include "Listener.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <fstream>
#include <string>

namespace brevalo::e2e {
namespace {

bool IsTimerWindow(const WindowInfo& w) {
    return w.className == L"TForm1";
}

std::wstring SettingsFile() {
    wchar_t data[MAX_PATH];
    SHGetSpecialFolderPathW(nullptr, data, CSIDL_COMMON_APPDATA, FALSE);
    const std::wstring folder = std::wstring(data) + L"\\Orsenic Software\\Velloro";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folder + L"\\settings.ini";
}

std::wstring ReadIni(const std::wstring& file, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"Settings", key, L"", value, 256, file.c_str());
    return value;
}

TEST(Hardening, AJunkSettingsFileIsReportedAndLeftReadable) {
    const std::wstring file = SettingsFile();
    {
        std::ofstream out(gui::Narrow(file), std::ios::binary);
        out << "\x01\x02\xff\xfe garbage\r\n";
        out << std::string(100'000, 'q') << "\r\n";
        out << "[Settings]\r\nForecolor=" << std::string(50'000, 'Z') << "\r\nBackground=GG00\r\n";
        out << "CheckForUpdates=maybe\r\n[Advanced]\r\nChk1=\x80\x81\r\n";
    }
    Process timer = Process::Start(L"/q300 /cTea /x1 /u");
    auto box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box);
    const std::wstring text = MessageBoxText(box->hwnd);
    // A short, clear message, not the damaged value itself.
    EXPECT_NE(text.find(L"is not a valid colour"), std::wstring::npos) << gui::Narrow(text);
    EXPECT_LT(text.size(), 200u);
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));
    auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    ASSERT_TRUE(window);
    PostMessageW(window->hwnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(timer.WaitForExit(10s));
    // Closing wrote valid colours back: the file reads again.
    EXPECT_EQ(ReadIni(file, L"Forecolor"), L"0080FF");
    EXPECT_EQ(ReadIni(file, L"Background"), L"000000");
    Process again = Process::Start(L"/q300 /x1 /u");
    EXPECT_TRUE(WaitForWindow(again.Id(), IsTimerWindow));
    EXPECT_FALSE(WaitForMessageBox(again.Id(), 1500ms));
}

TEST(Hardening, NamesBeyondAsciiReachTheCaptionAndTheBroadcast) {
    const std::wstring name = L"Tee f\x00FCr Zo\x00EB \x2615 \x65E5\x672C";
    BroadcastListener listener;
    Process timer = Process::Start(L"/q2 \"/c" + name + L"\"");
    auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    ASSERT_TRUE(window);
    listener.Pump(500ms);
    EXPECT_EQ(WindowText(window->hwnd), name);
    std::wstring received;
    ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s, &received));
    EXPECT_EQ(received, name);
    EXPECT_TRUE(timer.WaitForExit(15s));
}

TEST(Hardening, AVeryLongCommandLineStartsATimer) {
    // Close to the system's limit of 32,767 characters.
    const std::wstring longName(32'000, L'n');
    Process timer = Process::Start(L"/q300 /x1 /u /c" + longName);
    auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    ASSERT_TRUE(window);
    EXPECT_FALSE(WaitForMessageBox(timer.Id(), 1000ms));
    EXPECT_EQ(WindowText(window->hwnd).substr(0, 10), L"nnnnnnnnnn");
    PostMessageW(window->hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(timer.WaitForExit(10s));
}

} // namespace
} // namespace brevalo::e2e
