#pragma once

namespace brevalo::os {

// True when the caller's token holds the built-in Administrators group.
bool IsAdministrator();

} // namespace brevalo::os
