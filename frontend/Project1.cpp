// Program entry: with arguments the program is one running timer, without it
// is the timer-creation front end in the mode the user chose last.
#include "AdvancedMode.h"
#include "Application.h"
#include "CommandLine.h"
#include "Library.h"
#include "OsError.h"
#include "SettingsStore.h"
#include "Strings.h"
#include "Unit1.h"
#include "Win32Registry.h"
#include "WizardMode.h"

#include <windows.h>

#include <memory>

namespace {

using namespace brevalo;

int RunTimer(gui::Application& app, const CommandLine& commandLine) {
    auto form = std::make_unique<TForm1>();
    app.SetMainWindow(form.get());
    try {
        form->FormCreate(commandLine);
    } catch (...) {
        app.HandleException(std::current_exception());
    }
    // After the parse error has been shown.
    form->ForgetUnparsableLine();
    if (!form->Handle())
        return 1;
    SetWindowPos(form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    form->Show(SW_SHOW);
    return app.Run();
}

bool ReadWizardMode() {
    // Opening the key also creates it for the later writes of the dialogs.
    os::Win32RegistryAccess registry;
    std::unique_ptr<RegistryKey> key = registry.OpenCurrentUser(os::BrevaloKey);
    const auto value = key->ReadDword("WizardMode");
    return !value || *value != 0;
}

int RunFrontEnd(gui::Application& app) {
    bool wizard = true;
    try {
        wizard = ReadWizardMode();
    } catch (...) {
        app.HandleException(std::current_exception());
    }
    app.SetTitle(wizard ? "Brevalo Wizard" : "Brevalo");
    return wizard ? RunWizardMode(app) : RunAdvancedMode(app);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    base::RestrictLibrarySearch();
    gui::Application& app = gui::Application::Instance();
    try {
        // The whole line, program part included (the argument of wWinMain
        // lacks it): a timer stores it to start again after a log-off.
        const CommandLine commandLine(base::Narrow(GetCommandLineW()));
        // The timer window has no common controls: it neither registers
        // nor loads them.
        const bool timer = commandLine.HasArguments();
        app.Initialize(instance, !timer);
        return timer ? RunTimer(app, commandLine) : RunFrontEnd(app);
    } catch (...) {
        app.HandleException(std::current_exception());
        return 1;
    }
}
