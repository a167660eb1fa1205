#include "Unit6.h"

#include "Accessible.h"
#include "Files.h"
#include "Help.h"
#include "MessageBox.h"
#include "OsError.h"
#include "Strings.h"

#include <commdlg.h>

namespace brevalo {

namespace {

constexpr const char* ReadyActionCaptions[3] = {"Restart the computer", "Shutdown the computer",
                                                "Logoff user"};
constexpr const wchar_t* ReadyActionIcons[3] = {L"ACTIONRESTART", L"ACTIONSHUTDOWN",
                                                L"ACTIONLOGOFF"};
constexpr const char* ShutdownProgram = "shutdown.exe";

std::string FromBuffer(UINT (*get)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = get(buffer, MAX_PATH);
    if (length == 0 || length > MAX_PATH)
        return {};
    return base::Narrow(std::wstring_view(buffer, length));
}

UINT WindowsDirectory(LPWSTR buffer, UINT size) {
    return GetWindowsDirectoryW(buffer, size);
}

UINT SystemDirectory(LPWSTR buffer, UINT size) {
    return GetSystemDirectoryW(buffer, size);
}

// Gives the file dialog's own OK button the caption "&Select".
UINT_PTR CALLBACK OpenDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const OFNOTIFYW*>(lParam);
        if (header->hdr.code == CDN_INITDONE)
            SendMessageW(GetParent(dialog), CDM_SETCONTROLTEXT, IDOK,
                         reinterpret_cast<LPARAM>(L"&Select"));
    }
    return 0;
}

} // namespace

std::string FolderWithBackslash(std::string folder) {
    const auto first = folder.find_first_not_of(' ');
    if (first == std::string::npos)
        folder.clear();
    else
        folder = folder.substr(first, folder.find_last_not_of(' ') - first + 1);
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

ActionSearchFolders ActionSearchFolders::System() {
    ActionSearchFolders folders;
    folders.windows = FromBuffer(&WindowsDirectory);
    folders.system = FromBuffer(&SystemDirectory);
    const std::string program = os::ProgramPath();
    folders.program = program.substr(0, program.find_last_of('\\') + 1);
    return folders;
}

TForm6::TForm6(HWND owner) : owner_(owner) {
    CreateDialogWindow({L"TBrevaloForm6", "Action", 529, 467, false, owner});
    const HFONT font = Font();
    const DWORD button = WS_TABSTOP | WS_VISIBLE;
    // Created in tab order; the group's controls are placed relative to it (16, 16).
    Button4 = std::make_unique<controls::PushButton>(Handle(), "OK", ScaleRect(288, 164, 65, 25),
                                                     font, button);
    GroupBox1 =
        std::make_unique<controls::GroupBox>(Handle(), "&Run", ScaleRect(16, 16, 497, 137), font);
    LabeledEdit1 =
        std::make_unique<controls::LabeledEdit>(Handle(), "&Program, file or folder to open", "",
                                                ScaleRect(40, 64, 361, 21), font, Scale(16));
    LabeledEdit2 =
        std::make_unique<controls::LabeledEdit>(Handle(), "Optional command line p&arameters", "",
                                                ScaleRect(40, 112, 241, 21), font, Scale(16));
    Button1 = std::make_unique<controls::PushButton>(Handle(), "&Browse..",
                                                     ScaleRect(416, 60, 75, 25), font, button);
    LabeledEdit3 = std::make_unique<controls::LabeledEdit>(
        Handle(), "Action &verb", "open", ScaleRect(288, 112, 113, 21), font, Scale(16));
    Button2 = std::make_unique<controls::PushButton>(Handle(), "&Options >>",
                                                     ScaleRect(432, 164, 79, 25), font, button);
    ListView1 =
        std::make_unique<controls::IconListView>(Handle(), ScaleRect(16, 232, 497, 177), font);
    Button3 = std::make_unique<controls::PushButton>(Handle(), "&Help", ScaleRect(16, 164, 65, 25),
                                                     font, button);
    Button5 = std::make_unique<controls::PushButton>(Handle(), "&Clear", ScaleRect(360, 164, 65, 25),
                                                     font, button);
    LabeledEdit3->EditBox.SetRefuseBlanks(true);

    Button4->SetDefault(true);
    SetDefaultButton(Button4.get());
    Button1->OnClick = [this](controls::PushButton&) { Button1Click(); };
    Button2->OnClick = [this](controls::PushButton&) { Button2Click(); };
    Button3->OnClick = [this](controls::PushButton&) { Button3Click(); };
    Button4->OnClick = [this](controls::PushButton&) { Button4Click(); };
    Button5->OnClick = [this](controls::PushButton&) { Button5Click(); };
    ListView1->OnDoubleClick = [this](controls::IconListView&) { ListView1DblClick(); };

    resizer_ = std::make_unique<controls::TFormResizer>(this);
    resizer_->SetMinFontSize(8);
    resizer_->SetMaxFontSize(48);

    // The list's icons, 32 pixels at 96 DPI, drawn for the window's DPI.
    const int iconSize = Scale(32);
    images_ = std::make_unique<controls::ImageList>(iconSize, iconSize);
    for (const wchar_t* name : ReadyActionIcons) {
        auto icon = static_cast<HICON>(LoadImageW(controls::WindowInstance(Handle()), name,
                                                  IMAGE_ICON, iconSize, iconSize, 0));
        if (!icon)
            base::RaiseLastOsError();
        ImageList_AddIcon(images_->Handle(), icon);
        DestroyIcon(icon);
    }
    ListView1->SetSmallImages(images_->Handle());
    // The list has no label of its own: it is named for what it holds.
    gui::NameAfterLabel(ListView1->Handle(), "Ready-made actions");
    for (int row = 0; row < 3; ++row)
        ListView1->AddItem(ReadyActionCaptions[row], row);

    if (!os::FileExists(FolderWithBackslash(SearchFolders.system) + ShutdownProgram))
        Button2->SetEnabled(false);

    unfolded_ = false;
    SetWindowHeight(CollapsedHeight());
    ListView1->SetColumnWidth(LVSCW_AUTOSIZE_USEHEADER);
}

TForm6::~TForm6() = default;

void TForm6::SetWindowHeight(int height) {
    const RECT r = BoundsPixels();
    SetBoundsPixels(r.left, r.top, r.right - r.left, height);
}

void TForm6::Button1Click() {
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = L"All files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = DWORD(std::size(file));
    dialog.lpstrTitle = L"Select file";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING |
                   OFN_EXPLORER | OFN_ENABLEHOOK;
    dialog.lpfnHook = &OpenDialogHook;
    if (GetOpenFileNameW(&dialog))
        LabeledEdit1->SetText(base::Narrow(file));
}

void TForm6::Button2Click() {
    SetWindowHeight(unfolded_ ? CollapsedHeight() : UnfoldedHeight());
    unfolded_ = !unfolded_;
    Button2->SetText(unfolded_ ? "&Options <<" : "&Options >>");
}

void TForm6::Button3Click() {
    os::OpenHelp(Handle());
}

void TForm6::Button4Click() {
    std::string file = LabeledEdit1->Text();
    if (file.empty()) {
        SetModalResult(controls::mrOk);
        return;
    }
    if (os::FileExists(file)) {
        // In full: the timer may start, or come back at log-on, in another
        // current folder.
        LabeledEdit1->SetText(os::FullPath(file));
        SetModalResult(controls::mrOk);
        return;
    }
    for (const std::string* folder :
         {&SearchFolders.windows, &SearchFolders.system, &SearchFolders.program}) {
        const std::string candidate = FolderWithBackslash(*folder) + file;
        if (os::FileExists(candidate)) {
            file = candidate;
            LabeledEdit1->SetText(file);
            break;
        }
    }
    if (os::FileExists(file)) {
        SetModalResult(controls::mrOk);
        return;
    }
    gui::ErrorBox("Action file " + file + " cannot be found.", Handle());
}

void TForm6::Button5Click() {
    LabeledEdit1->SetText("");
    LabeledEdit2->SetText("");
    LabeledEdit3->SetText("");
    LabeledEdit1->EditBox.SetFocus();
}

void TForm6::ListView1DblClick() {
    const int row = ListView1->SelectedIndex();
    if (row < 0 || row >= 3)
        return;
    LabeledEdit3->SetText("open");
    LabeledEdit1->SetText(FolderWithBackslash(SearchFolders.system) + ShutdownProgram);
    LabeledEdit2->SetText(ReadyActionParams[row]);
    // Fold the list in.
    if (unfolded_)
        Button2Click();
}

void TForm6::DoShow() {
    CenterOn(owner_);
}

LRESULT TForm6::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The controls' own colours first, then the dialog's face colour.
    LRESULT colour = 0;
    if (controls::ChildControl::Reflect(message, wParam, lParam, colour) ||
        controls::DialogFaceColor(message, wParam, colour))
        return colour;
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (controls::NotifyControl::ReflectNotify(lParam, result))
            return result;
    }
    return controls::DialogForm::HandleMessage(message, wParam, lParam);
}

} // namespace brevalo
