#include "ActionParameters.h"

namespace brevalo {

namespace {

// The path in one form for comparing: lower-case ASCII, backslashes, no
// trailing separator.
std::string Folded(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c == '/')
            c = '\\';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        out += c;
    }
    while (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

} // namespace

std::string ActionParameterText(std::string_view actionFile, std::string_view params,
                                std::string_view systemFolder) {
    if (params.empty())
        return {};
    if (!systemFolder.empty() && Folded(actionFile) == Folded(systemFolder) + "\\shutdown.exe")
        return std::string(params);
    return "\"" + std::string(params) + "\"";
}

} // namespace brevalo
