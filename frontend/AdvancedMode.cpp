#include "AdvancedMode.h"

#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"

#include <memory>

namespace brevalo {

int RunAdvancedMode(gui::Application& app) {
    auto form4 = std::make_unique<TForm4>();
    app.SetMainWindow(form4.get());
    form4->FormCreate();
    // The companions are created right after the main dialog, hidden.
    auto form5 = std::make_unique<TForm5>(form4->Handle());
    auto form6 = std::make_unique<TForm6>(form4->Handle());
    form4->SetCompanions(form5.get(), form6.get());
    form4->Show(SW_SHOW);
    // The first control in tab order starts with the focus.
    SetFocus(form4->DateTimePicker1->Handle());
    const int code = app.Run();
    form4->SetCompanions(nullptr, nullptr);
    return code;
}

} // namespace brevalo
