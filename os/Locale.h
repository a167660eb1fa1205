// The user's date and time conventions from the system.
#pragma once

#include "FormatSettings.h"

namespace brevalo::os {

// Read afresh on every call, so that a change in the control panel applies.
FormatSettings UserFormatSettings();

} // namespace brevalo::os
