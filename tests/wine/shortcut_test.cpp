// Shell links written by the shortcut maker, read back through the shell-link
// object itself, in a temporary folder and on the desktop of the isolated
// prefix.
#include "ComApartment.h"
#include "ComPtr.h"
#include "CommandLineBuilder.h"
#include "Files.h"
#include "Handle.h"
#include "OsError.h"
#include "ShortcutFile.h"
#include "Strings.h"
#include "Win32Registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <string>
#include <thread>

namespace brevalo {
namespace {

using base::ComPtr;
using base::Narrow;
using base::Widen;

// ---- the owner of interface references ------------------------------------

class CountedObject : public IUnknown {
public:
    explicit CountedObject(int& references) : references_(references) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++references_); }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(--references_); }

private:
    int& references_;
};

TEST(ComPtr, EachOwnedReferenceIsReleasedExactlyOnce) {
    int first = 1, second = 1;
    CountedObject a(first), b(second);
    {
        ComPtr<IUnknown> owner(&a);
        ComPtr<IUnknown> moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.Get(), &a);
        EXPECT_EQ(first, 1); // moving hands the reference on, no release
        ComPtr<IUnknown> other(&b);
        other = std::move(moved); // the overwritten reference goes
        EXPECT_EQ(second, 0);
        EXPECT_EQ(first, 1);
        ComPtr<IUnknown>& self = other;
        other = std::move(self); // self-assignment keeps it
        EXPECT_EQ(first, 1);
        EXPECT_EQ(other.Get(), &a);
    }
    EXPECT_EQ(first, 0);

    first = 1;
    ComPtr<IUnknown> slot(&a);
    // A slot handed out for a new reference first gives up the old one.
    EXPECT_EQ(*slot.Put(), nullptr);
    EXPECT_EQ(first, 0);
    first = 1;
    *slot.Put() = &a;
    IUnknown* detached = slot.Detach();
    EXPECT_EQ(detached, &a);
    EXPECT_EQ(first, 1); // detaching does not release
    slot.Reset();
    EXPECT_EQ(first, 1);
}

// ---- reading a link back ---------------------------------------------------

struct LinkContents {
    std::string target;
    std::string arguments;
    std::string description;
    std::string workingDirectory;
    int showCommand = 0;
};

LinkContents ReadLink(const std::string& path) {
    os::ComApartment apartment;
    ComPtr<IShellLinkW> link;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               link.PutVoid()),
              S_OK);
    ComPtr<IPersistFile> file;
    EXPECT_EQ(link->QueryInterface(IID_IPersistFile, file.PutVoid()), S_OK);
    LinkContents contents;
    if (!file)
        return contents;
    EXPECT_EQ(file->Load(Widen(path).c_str(), STGM_READ), S_OK) << path;
    wchar_t buffer[2048];
    buffer[0] = 0;
    link->GetPath(buffer, int(std::size(buffer)), nullptr, SLGP_RAWPATH);
    contents.target = Narrow(buffer);
    buffer[0] = 0;
    link->GetArguments(buffer, int(std::size(buffer)));
    contents.arguments = Narrow(buffer);
    buffer[0] = 0;
    link->GetDescription(buffer, int(std::size(buffer)));
    contents.description = Narrow(buffer);
    buffer[0] = 0;
    link->GetWorkingDirectory(buffer, int(std::size(buffer)));
    contents.workingDirectory = Narrow(buffer);
    link->GetShowCmd(&contents.showCommand);
    return contents;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryW(Widen(path).c_str(), nullptr);
}

const char ShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ShellDesktop() {
    wchar_t path[MAX_PATH] = {};
    EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path),
              S_OK);
    return Narrow(path);
}

// Every test case runs in a fresh prefix; each gets its own scratch folder
// in the temporary folder as well.
class Shortcut : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = os::TempFolder() + "shortcut-test-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(MakeFolder(folder_));
        program_ = os::ProgramPath();
        programFolder_ = FolderOf(program_);
    }

    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

    // As the wizard makes a shortcut, but into the scratch folder.
    std::optional<std::string> Make(const std::string& timerName, const std::string& arguments) {
        return os::CreateShortcutFile(program_, ShortcutLocation::GivenFolder, folder_,
                                      "Brevalo (" + timerName + ")", arguments, programFolder_,
                                      timerName);
    }

    std::string folder_;
    std::string program_;
    std::string programFolder_;
};

TEST_F(Shortcut, TheWizardsLinkReadsBackWithEveryProperty) {
    WizardChoices choices;
    choices.TimerName = "Tea";
    choices.IntervalSeconds = 300;
    choices.FullScreen = true; // a shortcut still carries the border switch
    const std::string switches =
        BuildWizardSwitches(choices, AdvancedOptions{}, WizardVariant::Shortcut);
    ASSERT_EQ(switches, "/q300 /c\"Tea\" /f0080FF /b000000 /s1 /e0 /w0");

    const auto made = Make("Tea", switches);
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, Path("Tea.lnk"));
    ASSERT_TRUE(os::FileExists(*made));

    const LinkContents link = ReadLink(*made);
    EXPECT_EQ(link.target, program_);
    EXPECT_EQ(link.arguments, switches);
    EXPECT_EQ(link.description, "Brevalo (Tea)");
    EXPECT_EQ(link.workingDirectory, programFolder_);
    EXPECT_EQ(link.showCommand, SW_SHOWNORMAL);
}

TEST_F(Shortcut, WithoutAWorkingFolderTheLinkStartsInTheTargetsFolder) {
    const auto made = os::CreateShortcutFile(program_, ShortcutLocation::GivenFolder, folder_, "d",
                                             "/q5", "", "Egg");
    ASSERT_TRUE(made);
    EXPECT_EQ(ReadLink(*made).workingDirectory, programFolder_ + "\\");
}

TEST_F(Shortcut, TheFileNameEndsAtTheLastDotButTheDescriptionKeepsTheName) {
    const auto made = Make("Release 2.5 party", "/q60");
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, Path("Release 2.lnk"));
    EXPECT_TRUE(os::FileExists(Path("Release 2.lnk")));
    EXPECT_FALSE(os::FileExists(Path("Release 2.5 party.lnk")));
    EXPECT_EQ(ReadLink(*made).description, "Brevalo (Release 2.5 party)");
}

TEST_F(Shortcut, NonAsciiNamesAndTextsSurviveWhole) {
    const std::string name = "Tee f\xC3\xBCr zwei \xE2\x98\x95 \xE6\x97\xA5\xE6\x9C\xAC";
    const std::string arguments = "/q60 /c\"" + name + "\" /w0";
    const auto made = Make(name, arguments);
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, Path(name + ".lnk"));
    EXPECT_NE(GetFileAttributesW(Widen(Path(name + ".lnk")).c_str()), INVALID_FILE_ATTRIBUTES);
    const LinkContents link = ReadLink(*made);
    EXPECT_EQ(link.arguments, arguments);
    EXPECT_EQ(link.description, "Brevalo (" + name + ")");
}

TEST_F(Shortcut, ASecondLinkOfTheSameNameReplacesTheFirst) {
    ASSERT_TRUE(Make("Tea", "/q300 /c\"Tea\" /w0"));
    const auto second = Make("Tea", "/q600 /c\"Tea\" /w1");
    ASSERT_TRUE(second);
    EXPECT_EQ(ReadLink(*second).arguments, "/q600 /c\"Tea\" /w1");

    int files = 0;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Widen(Path("*")).c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++files;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(files, 1);
}

TEST_F(Shortcut, AFolderThatDoesNotExistIsAnErrorAndIsNotCreated) {
    const std::string missing = Path("not here");
    try {
        os::CreateShortcutFile(program_, ShortcutLocation::GivenFolder, missing, "d", "/q5", "",
                               "Tea");
        ADD_FAILURE() << "no error raised";
    } catch (const base::OsError& error) {
        EXPECT_NE(error.Code(), 0u);
        EXPECT_EQ(std::string(error.what()).rfind("System Error.  Code: ", 0), 0u) << error.what();
    }
    EXPECT_FALSE(os::DirectoryExists(missing));
}

TEST_F(Shortcut, AFolderInTheWayOfTheLinkIsAnErrorAndStaysAsItWas) {
    ASSERT_TRUE(MakeFolder(Path("Tea.lnk")));
    EXPECT_THROW(Make("Tea", "/q300"), base::OsError);
    EXPECT_TRUE(os::DirectoryExists(Path("Tea.lnk")));
}

TEST_F(Shortcut, AReadOnlyLinkIsNotReplacedAndTheFailureIsRaised) {
    ASSERT_TRUE(Make("Tea", "/q300"));
    const std::wstring path = Widen(Path("Tea.lnk"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine keeps the read-only flag as file permissions, which do not stop
    // the superuser: there the file can be written and the case says nothing.
    base::FileHandle probe(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe) {
        probe.Reset();
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        GTEST_SKIP() << "read-only files are writable for this user";
    }
    EXPECT_THROW(Make("Tea", "/q900"), base::OsError);
    EXPECT_EQ(ReadLink(Path("Tea.lnk")).arguments, "/q300");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Shortcut, AGivenFolderIsNeitherLookedUpNorJoinedToItself) {
    // Nothing to write into: no file, no error.
    EXPECT_EQ(
        os::CreateShortcutFile(program_, ShortcutLocation::GivenFolder, "", "d", "/q5", "", "Tea"),
        std::nullopt);
    EXPECT_EQ(os::WellKnownFolder(ShortcutLocation::GivenFolder), "");
    // A trailing backslash on the folder is not doubled in the returned path.
    const auto made = os::CreateShortcutFile(program_, ShortcutLocation::GivenFolder,
                                             folder_ + "\\", "d", "/q5", "", "Tea");
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, Path("Tea.lnk"));
}

// ---- the well-known folders -------------------------------------------------

TEST_F(Shortcut, OnTheDesktopOfThisUser) {
    const auto made =
        os::CreateShortcutFile(program_, ShortcutLocation::Desktop, "", "Brevalo (Tea)",
                               "/q300 /c\"Tea\" /w0", programFolder_, "Tea");
    ASSERT_TRUE(made);
    EXPECT_EQ(FolderOf(*made), ShellDesktop());
    EXPECT_EQ(*made, os::WellKnownFolder(ShortcutLocation::Desktop) + "\\Tea.lnk");
    ASSERT_TRUE(os::FileExists(*made));
    const LinkContents link = ReadLink(*made);
    EXPECT_EQ(link.target, program_);
    EXPECT_EQ(link.arguments, "/q300 /c\"Tea\" /w0");
    EXPECT_EQ(link.description, "Brevalo (Tea)");
    EXPECT_EQ(link.workingDirectory, programFolder_);
    DeleteFileW(Widen(*made).c_str());
}

TEST_F(Shortcut, TheRecordedFolderOfEachLocationComesFromItsRegistryValue) {
    os::Win32RegistryAccess registry;
    registry.OpenCurrentUser(ShellFoldersKey)->WriteString("Desktop", folder_);
    registry.OpenCurrentUser(ShellFoldersKey)->WriteString("SendTo", "C:\\send");
    registry.OpenCurrentUser(ShellFoldersKey)->WriteString("Start Menu", "C:\\start");
    registry.OpenCurrentUser("Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups")
        ->WriteString("Quick Launch", "C:\\quick");
    EXPECT_EQ(os::WellKnownFolder(ShortcutLocation::Desktop), folder_);
    EXPECT_EQ(os::WellKnownFolder(ShortcutLocation::SendTo), "C:\\send");
    EXPECT_EQ(os::WellKnownFolder(ShortcutLocation::StartMenu), "C:\\start");
    EXPECT_EQ(os::WellKnownFolder(ShortcutLocation::QuickLaunch), "C:\\quick");
    // (The shell rewrites the "Shell Folders" values from the real folders
    // when the shell-link object is loaded, so a link made now would still
    // land on the real desktop.)
}

TEST_F(Shortcut, WithoutTheRegistryRecordTheShellFindsTheFolder) {
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, Widen(ShellFoldersKey).c_str()), ERROR_SUCCESS);
    RegDeleteTreeW(HKEY_CURRENT_USER,
                   L"Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups");

    const auto made =
        os::CreateShortcutFile(program_, ShortcutLocation::Desktop, "", "d", "/q5", "", "Tea");
    ASSERT_TRUE(made);
    EXPECT_EQ(FolderOf(*made), ShellDesktop());
    EXPECT_TRUE(os::FileExists(*made));
    DeleteFileW(Widen(*made).c_str());

    const std::string quickLaunch = os::WellKnownFolder(ShortcutLocation::QuickLaunch);
    const std::string tail = "\\Microsoft\\Internet Explorer\\Quick Launch";
    ASSERT_GT(quickLaunch.size(), tail.size());
    EXPECT_EQ(quickLaunch.substr(quickLaunch.size() - tail.size()), tail);
    EXPECT_FALSE(os::WellKnownFolder(ShortcutLocation::SendTo).empty());
    EXPECT_FALSE(os::WellKnownFolder(ShortcutLocation::StartMenu).empty());

    // Looking the folder up created the key again, as every registry use does.
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(ShellFoldersKey).c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    if (key)
        RegCloseKey(key);
}

TEST_F(Shortcut, ASubfolderIsUsedWhenItExistsAndNeverCreated) {
    const std::string desktop = ShellDesktop();
    ASSERT_TRUE(MakeFolder(desktop + "\\Timers"));

    const auto made = os::CreateShortcutFile(program_, ShortcutLocation::Desktop, "Timers", "d",
                                             "/q5", "", "Tea");
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, desktop + "\\Timers\\Tea.lnk");
    EXPECT_TRUE(os::FileExists(*made));

    EXPECT_THROW(os::CreateShortcutFile(program_, ShortcutLocation::Desktop, "Missing", "d", "/q5",
                                        "", "Tea"),
                 base::OsError);
    EXPECT_FALSE(os::DirectoryExists(desktop + "\\Missing"));
    DeleteFileW(Widen(*made).c_str());
    RemoveDirectoryW(Widen(desktop + "\\Timers").c_str());
}

// ---- the component object model around the call ---------------------------

// The thread's apartment state after a call: a thread that had none has none
// again (it may then join the multithreaded apartment), and a thread in the
// multithreaded apartment can make links and stays there.
void MakeOnFreshThread(const std::string& folder, HRESULT& joinAfterwards) {
    const auto made = os::CreateShortcutFile(os::ProgramPath(), ShortcutLocation::GivenFolder,
                                             folder, "d", "/q5", "", "Fresh");
    EXPECT_TRUE(made && os::FileExists(*made));
    joinAfterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(joinAfterwards))
        CoUninitialize();
}

void MakeInMultithreadedApartment(const std::string& folder, HRESULT& stillThere) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    const auto made = os::CreateShortcutFile(os::ProgramPath(), ShortcutLocation::GivenFolder,
                                             folder, "d", "/q5", "", "Shared");
    EXPECT_TRUE(made && os::FileExists(*made));
    stillThere = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(stillThere))
        CoUninitialize();
    CoUninitialize();
}

TEST_F(Shortcut, TheCallingThreadLeavesCOMAsItFoundIt) {
    HRESULT joinAfterwards = E_FAIL;
    std::thread(MakeOnFreshThread, folder_, std::ref(joinAfterwards)).join();
    EXPECT_EQ(joinAfterwards, S_OK);

    HRESULT stillThere = E_FAIL;
    std::thread(MakeInMultithreadedApartment, folder_, std::ref(stillThere)).join();
    EXPECT_EQ(stillThere, S_FALSE);
}

} // namespace
} // namespace brevalo
