#include "WizardMode.h"

#include "Placeholder.h"

#include <memory>

namespace brevalo {

int RunWizardMode(gui::Application& app) {
    auto form = std::make_unique<PlaceholderForm>();
    app.SetMainWindow(form.get());
    form->FormCreate("Brevalo Wizard");
    form->Show(SW_SHOW);
    return app.Run();
}

} // namespace brevalo
