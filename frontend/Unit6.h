// The action dialog: the program, file or folder the timer opens when it
// ends, its parameters and the shell verb, with a fold-out list of three
// ready-made actions that use the system's shutdown utility.
#pragma once

#include "DialogForm.h"
#include "Easysize.h"
#include "ImageList.h"
#include "StdControls.h"

#include <memory>
#include <string>

namespace brevalo {

// The parameters of the system's "shutdown.exe" for each ready-made action,
// in the order of the list's rows.
inline constexpr const char* ReadyActionParams[3] = {"/r /t 1", "/p", "/l"};

// A folder as the dialog joins it with a file name: blanks trimmed at both
// ends and a backslash appended when missing.
std::string FolderWithBackslash(std::string folder);

// Where a bare program name is looked for when it is not found as typed.
struct ActionSearchFolders {
    std::string windows; // GetWindowsDirectory
    std::string system;  // GetSystemDirectory
    std::string program; // the folder of this program's executable
    static ActionSearchFolders System();
};

class TForm6 : public controls::DialogForm {
public:
    explicit TForm6(HWND owner);
    ~TForm6() override;

    // The three fields.
    std::string ActionFile() const { return LabeledEdit1->Text(); }
    std::string ActionParams() const { return LabeledEdit2->Text(); }
    std::string ActionVerb() const { return LabeledEdit3->Text(); }

    bool Unfolded() const noexcept { return unfolded_; }
    // Window heights at the window's DPI: below the "OK" button folded in,
    // below the list unfolded.
    int CollapsedHeight() const noexcept { return Scale(164 + 25 + 40); }
    int UnfoldedHeight() const noexcept { return Scale(232 + 177 + 40); }

    // Event handlers.
    void Button1Click(); // "Browse.."
    void Button2Click(); // "Options >>" / "Options <<"
    void Button3Click(); // "Help"
    void Button4Click(); // "OK"
    void Button5Click(); // "Clear"
    void ListView1DblClick();

    std::unique_ptr<controls::PushButton> Button4; // "OK"
    std::unique_ptr<controls::GroupBox> GroupBox1;
    std::unique_ptr<controls::LabeledEdit> LabeledEdit1; // program
    std::unique_ptr<controls::LabeledEdit> LabeledEdit2; // parameters
    std::unique_ptr<controls::PushButton> Button1;       // "Browse.."
    std::unique_ptr<controls::LabeledEdit> LabeledEdit3; // verb
    std::unique_ptr<controls::PushButton> Button2;       // "Options >>"
    std::unique_ptr<controls::IconListView> ListView1;
    std::unique_ptr<controls::PushButton> Button3; // "Help"
    std::unique_ptr<controls::PushButton> Button5; // "Clear"

    // The folders "OK" searches; tests may point them elsewhere.
    ActionSearchFolders SearchFolders = ActionSearchFolders::System();

protected:
    void DoShow() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetWindowHeight(int height);

    HWND owner_;
    std::unique_ptr<controls::ImageList> images_;
    std::unique_ptr<controls::TFormResizer> resizer_;
    bool unfolded_ = false;
};

} // namespace brevalo
