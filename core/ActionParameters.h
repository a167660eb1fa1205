// The parameters text the shell is given for a timer's action.
#pragma once

#include <string>
#include <string_view>

namespace brevalo {

// `params` as one argument in an added pair of double quotes, or nothing when
// it is empty. The system's shutdown utility (`shutdown.exe` in
// `systemFolder`, matched without regard to case or slash direction) is the
// exception: it compares whole arguments ("/r" is not "/r /t 1"), so its
// parameters reach it as they stand.
std::string ActionParameterText(std::string_view actionFile, std::string_view params,
                                std::string_view systemFolder);

} // namespace brevalo
