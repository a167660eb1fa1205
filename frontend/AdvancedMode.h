// The advanced front end: the advanced dialog with its two companions.
#pragma once

#include "Application.h"

namespace brevalo {

// Creates the dialogs (the advanced dialog as the main window, the options
// and action dialogs hidden), runs the message loop and returns its code.
int RunAdvancedMode(gui::Application& app);

} // namespace brevalo
