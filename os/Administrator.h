#pragma once

namespace brevalo::os {

// True when the caller's token (the thread's, or else the process's) holds
// the built-in Administrators group enabled; a group held for deny only, as
// in a non-elevated administrator's token, does not count.
bool IsAdministrator();

} // namespace brevalo::os
