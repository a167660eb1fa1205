#include "VersionFile.h"

#include "CommandLine.h"

namespace brevalo {

std::optional<std::int32_t> PublishedUpdateNumber(std::string_view head, bool complete) {
    // Editors that save UTF-8 often put a byte-order mark first; it is not
    // part of the line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (head.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        head.remove_prefix(kByteOrderMark.size());
    const std::size_t end = head.find_first_of("\r\n");
    if (end == std::string_view::npos && !complete)
        return std::nullopt;
    // An empty file has no first line at all.
    if (head.empty())
        return std::nullopt;
    std::string_view line = head.substr(0, end);
    // Blanks after the number are as invisible to whoever wrote the file as
    // the line end is.
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return ParseInteger(line);
}

bool AnnouncesUpdate(std::string_view head, bool complete) {
    const auto number = PublishedUpdateNumber(head, complete);
    return number && *number > kOwnUpdateNumber;
}

} // namespace brevalo
