#include "WizardMode.h"

#include "Unit8.h"

#include <memory>

namespace brevalo {

int RunWizardMode(gui::Application& app) {
    auto form = std::make_unique<TForm8>();
    form->FormCreate();
    app.SetMainWindow(form.get());
    form->Show(SW_SHOW);
    form->Edit1->Focus();
    return app.Run();
}

} // namespace brevalo
