// Saves a picture of each wizard page and of the tip window, for looking at.
// Not a test: wizard_screens.sh runs it with BREVALO_SHOTS naming the folder
// for the BMP files. Ends with a non-zero code when the wizard does not open
// or a button it clicks is missing.
#include "Driver.h"
#include "Strings.h"
#include "WizardDriver.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>

using namespace brevalo::e2e;

namespace {

class Screens {
public:
    explicit Screens(std::wstring folder) : folder_(std::move(folder)) {}

    void Run() {
        program_ = Process::Start(L"");
        const auto form = WaitForClass(program_.Id(), L"TForm8");
        if (!form)
            throw std::runtime_error("the wizard did not open");
        window_ = form->hwnd;
        const auto tip = WaitForClass(program_.Id(), L"TTipDialogForm");
        if (!tip)
            throw std::runtime_error("no tip of the day");
        Shot(tip->hwnd, L"tip");
        Press(tip->hwnd, L"Close");
        for (int i = 0; i < 50 && IsWindowVisible(tip->hwnd); ++i)
            std::this_thread::sleep_for(100ms);

        SetEditText(0, L"Tea");
        Shot(window_, L"page0");
        Press(L"By a specific known date and time ");
        Press(L"Next >");
        Shot(window_, L"page1");
        Press(L"< Back");
        Press(L"By length of time");
        Press(L"Next >");
        SetEditText(2, L"5");
        Shot(window_, L"page2");
        for (const wchar_t* name : {L"page3", L"page4", L"page5", L"page6", L"page7", L"page8"}) {
            Press(L"Next >");
            Shot(window_, name);
        }
        Press(L"< Back");
        Press(L"< Back");
        Press(L"Full screen mode");
        Shot(window_, L"page6-fullscreen");
        Press(L"Next >");
        Press(L"< Back");
        Press(L"Normal");
        Press(L"Next >");
        Press(L"Don't show a border");
        Shot(window_, L"page7-noborder");
    }

private:
    void Press(const std::wstring& caption) { Press(window_, caption); }

    void Press(HWND top, const std::wstring& caption) {
        if (!PressButton(top, caption))
            throw std::runtime_error("no button " + brevalo::base::Narrow(caption));
        Settle(window_);
    }

    void SetEditText(std::size_t index, const wchar_t* text) {
        const auto edits = VisibleChildren(window_, L"Edit");
        if (index >= edits.size())
            throw std::runtime_error("no edit box " + std::to_string(index));
        SendMessageW(edits[index], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }

    // Waits for the painting to finish before copying the window from the screen.
    void Shot(HWND hwnd, const std::wstring& name) {
        Settle(window_);
        std::this_thread::sleep_for(500ms);
        SaveWindowBitmap(hwnd, folder_ + L"\\" + name + L".bmp");
        std::printf("%s.bmp\n", brevalo::base::Narrow(name).c_str());
    }

    std::wstring folder_;
    Process program_;
    HWND window_ = nullptr;
};

} // namespace

int main() {
    const char* folder = std::getenv("BREVALO_SHOTS");
    if (!folder || !*folder) {
        std::fprintf(stderr, "set BREVALO_SHOTS to the folder for the pictures\n");
        return 2;
    }
    try {
        Screens(brevalo::base::Widen(folder)).Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wizard_screens: %s\n", e.what());
        return 1;
    }
    return 0;
}
