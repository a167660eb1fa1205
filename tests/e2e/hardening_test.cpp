// Bad input gets a clear answer and loses nothing: a damaged settings file,
// a mode value of the wrong type, long names and names with letters beyond
// ASCII, very long command lines, paths with blanks and a help file that is
// gone.
#include "Driver.h"
#include "Inspect.h"
#include "Listener.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace brevalo::e2e {
namespace {

void SetValue(HKEY root, const std::wstring& subKey, const wchar_t* name, DWORD type,
              const std::wstring& text) {
    ASSERT_EQ(RegSetKeyValueW(root, subKey.c_str(), name, type, text.c_str(),
                              DWORD((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// A folder whose path holds blanks, with a copy of this test program in it
// under a name with blanks (started with BREVALO_E2E_RECORD, it records its
// command line).
std::wstring ProbeInFolderWithBlanks(const std::wstring& fileName) {
    const std::wstring folder = TempFile(L"folder with blanks");
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring probe = folder + L"\\" + fileName;
    CopyFileW(self, probe.c_str(), FALSE);
    return probe;
}

std::wstring ReadIni(const std::wstring& file, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"Settings", key, L"", value, 256, file.c_str());
    return value;
}

TEST(Hardening, AJunkSettingsFileIsReportedAndLeftReadable) {
    const std::wstring file = SettingsFilePath();
    {
        std::ofstream out(base::Narrow(file), std::ios::binary);
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
    EXPECT_NE(text.find(L"is not a valid colour"), std::wstring::npos) << base::Narrow(text);
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

TEST(Hardening, NamesOfAHundredAndOfAHundredAndOneCharactersArriveWhole) {
    // The name edits stop at 100 characters; the command line carries any
    // length, and the caption and the broadcast keep it whole.
    for (const std::size_t length : {std::size_t(100), std::size_t(101)}) {
        std::wstring name;
        for (std::size_t i = 0; i < length; ++i)
            name += wchar_t(L'a' + i % 26);
        BroadcastListener listener;
        Process timer = Process::Start(L"/q2 /u \"/c" + name + L"\"");
        auto window = WaitForWindow(timer.Id(), IsTimerWindow);
        ASSERT_TRUE(window);
        EXPECT_EQ(WindowText(window->hwnd), name);
        std::wstring received;
        ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s, &received)) << length;
        EXPECT_EQ(received, name);
        EXPECT_TRUE(timer.WaitForExit(15s));
    }
}

// System DLLs come from the system folder only: DLLs of their names put
// beside a copy of the program (Wine told to prefer a DLL found on disk, as
// Windows does for these) are not loaded, by the delay-loaded sound, the
// update check or the screen-reader interface.
TEST(Hardening, DllsPlantedBesideTheProgramAreNotLoaded) {
    const std::wstring folder = TempFile(L"planted");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = folder + L"\\Brevalo.exe";
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), program.c_str(), FALSE));
    const std::wstring bin = ProgramPath().substr(0, ProgramPath().find_last_of(L'\\') + 1);
    const wchar_t* overrides = L"Software\\Wine\\DllOverrides";
    const wchar_t preferDisk[] = L"native,builtin";
    for (const wchar_t* dll : {L"winmm", L"wininet", L"oleacc"}) {
        ASSERT_TRUE(CopyFileW((bin + L"planted.dll").c_str(), (folder + L"\\" + dll + L".dll").c_str(),
                              FALSE));
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, overrides, dll, REG_SZ, preferDisk,
                                  sizeof preferDisk),
                  ERROR_SUCCESS);
    }
    const std::wstring record = TempFile(L"planted.txt");
    DeleteFileW(record.c_str());
    SetEnvironmentVariableW(L"BREVALO_E2E_PLANTED", record.c_str());
    // A stand-in that is loaded writes the record; check that it can.
    const HMODULE probe = LoadLibraryW((folder + L"\\winmm.dll").c_str());
    ASSERT_TRUE(probe);
    FreeLibrary(probe);
    ASSERT_NE(GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(record.c_str());

    SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", L"http://127.0.0.1:9");
    BroadcastListener listener;
    Process timer = Process::StartCommandLine(L"\"" + program + L"\" /q2 /cTea");
    const auto window = WaitForWindow(timer.Id(), IsTimerWindow);
    ASSERT_TRUE(window);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window->hwnd, WM_GETOBJECT, 0, OBJID_CLIENT, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s));
    EXPECT_TRUE(timer.WaitForExit(15s));
    SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", nullptr);
    SetEnvironmentVariableW(L"BREVALO_E2E_PLANTED", nullptr);
    std::ifstream in(record.c_str(), std::ios::binary);
    const std::string loaded((std::istreambuf_iterator<char>(in)), {});
    EXPECT_TRUE(loaded.empty()) << "a planted DLL was loaded";
}

TEST(Hardening, AnActionPathWithBlanksRunsAndAMissingOneIsNamedWhole) {
    const std::wstring probe = ProbeInFolderWithBlanks(L"record me.exe");
    {
        CommandLineRecord record(L"brevalo-blanks.txt");
        BroadcastListener listener;
        Process timer = Process::Start(L"/q1 /u /cTea \"/a" + probe + L"|one two\"");
        record.StopInheriting();
        ASSERT_TRUE(WaitForWindow(timer.Id(), IsTimerWindow));
        EXPECT_FALSE(WaitForMessageBox(timer.Id(), 500ms));
        ASSERT_TRUE(listener.WaitFor(L"WM_TIME_UP", 20s));
        const std::wstring line = record.Wait(15s).value_or(L"");
        // The program itself was found, and its parameters came as one.
        EXPECT_NE(line.find(L"record me.exe"), std::wstring::npos) << base::Narrow(line);
        const std::wstring tail = L"\"one two\"";
        ASSERT_GE(line.size(), tail.size()) << base::Narrow(line);
        EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << base::Narrow(line);
        EXPECT_TRUE(timer.WaitForExit(15s));
    }
    const std::wstring missing = TempFile(L"folder with blanks\\not here.exe");
    Process timer = Process::Start(L"/q60 /u \"/a" + missing + L"\"");
    auto box = WaitForMessageBox(timer.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Error");
    EXPECT_EQ(MessageBoxText(box->hwnd), L"Action file " + missing + L" cannot be found.");
    ASSERT_TRUE(ClickButton(box->hwnd, L"OK"));
}

TEST(Hardening, AModeValueStoredAsTextCountsAsAbsent) {
    // Only a number chooses the advanced dialog; text in its place opens the
    // wizard, as with no value at all, and is left as it is.
    SetValue(HKEY_CURRENT_USER, BrevaloKeyPath, L"WizardMode", REG_SZ, L"0");
    Process frontEnd = Process::Start(L"");
    auto window = WaitForWindow(frontEnd.Id(),
                                [](const WindowInfo& w) { return w.caption == L"Brevalo Wizard"; });
    ASSERT_TRUE(window);
    EXPECT_FALSE(WaitForMessageBox(frontEnd.Id(), 500ms));
    const auto values = StringValues(HKEY_CURRENT_USER, BrevaloKeyPath);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].second, L"0");
    PostMessageW(window->hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(frontEnd.WaitForExit(10s));
}

TEST(Hardening, AHelpFileThatVanishedGivesWayToTheWebHelp) {
    // Documents ending in .html open in the recording probe, so the test sees
    // which help target the program asked the shell to open.
    const std::wstring probe = ProbeInFolderWithBlanks(L"help probe.exe");
    SetValue(HKEY_CLASSES_ROOT, L".html", nullptr, REG_SZ, L"BrevaloTestPage");
    SetValue(HKEY_CLASSES_ROOT, L"BrevaloTestPage\\shell\\open\\command", nullptr, REG_SZ,
             L"\"" + probe + L"\" \"%1\"");
    // Web addresses open in the probe too: the web help is a page on this
    // computer, the only plain address the program takes for the vendor's.
    SetValue(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr, REG_SZ,
             L"\"" + probe + L"\" \"%1\"");
    SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", L"http://127.0.0.1:9");
    const std::wstring local = TempFile(L"local help.html");
    std::ofstream(base::Narrow(local)) << "<html></html>";
    SetValue(HKEY_CURRENT_USER, BrevaloKeyPath, L"LocalHelp", REG_SZ, local);
    WriteDword(HKEY_CURRENT_USER, BrevaloKeyPath, L"WizardMode", 0);

    auto helpOpens = [](const wchar_t* what) -> std::wstring {
        CommandLineRecord record(L"brevalo-help.txt");
        Process frontEnd = Process::Start(L"");
        auto dialog = WaitForWindow(frontEnd.Id(), IsCreateDialog);
        if (!dialog) {
            ADD_FAILURE() << "no advanced dialog (" << base::Narrow(what) << ")";
            return {};
        }
        EXPECT_TRUE(ClickButton(dialog->hwnd, L"Help"));
        const auto line = record.Wait(15s);
        EXPECT_FALSE(WaitForMessageBox(frontEnd.Id(), 200ms)) << base::Narrow(what);
        PostMessageW(dialog->hwnd, WM_CLOSE, 0, 0);
        EXPECT_TRUE(frontEnd.WaitForExit(10s));
        return line.value_or(L"(nothing opened)");
    };
    const std::wstring first = helpOpens(L"local help present");
    EXPECT_NE(first.find(L"local help.html"), std::wstring::npos) << base::Narrow(first);
    DeleteFileW(local.c_str());
    const std::wstring second = helpOpens(L"local help gone");
    EXPECT_NE(second.find(L"http://127.0.0.1:9/help/index.html"), std::wstring::npos)
        << base::Narrow(second);
    EXPECT_EQ(second.find(L"local help.html"), std::wstring::npos) << base::Narrow(second);
    SetEnvironmentVariableW(L"BREVALO_VENDOR_URL", nullptr);
}

} // namespace
} // namespace brevalo::e2e
