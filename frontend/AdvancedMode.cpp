#include "AdvancedMode.h"

#include "Placeholder.h"

#include <memory>

namespace brevalo {

int RunAdvancedMode(gui::Application& app) {
    auto form = std::make_unique<PlaceholderForm>();
    app.SetMainWindow(form.get());
    form->FormCreate("Create a timer");
    form->Show(SW_SHOW);
    return app.Run();
}

} // namespace brevalo
