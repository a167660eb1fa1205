// The wizard front end.
#pragma once

#include "Application.h"

namespace brevalo {

// Creates the wizard as the main window, runs the message loop and returns
// its code.
int RunWizardMode(gui::Application& app);

} // namespace brevalo
