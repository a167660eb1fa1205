#include "VersionFile.h"

#include "CommandLine.h"

namespace brevalo {

std::optional<std::int32_t> PublishedUpdateNumber(std::string_view head, bool complete) {
    const std::size_t end = head.find_first_of("\r\n");
    if (end == std::string_view::npos && !complete)
        return std::nullopt;
    // An empty file has no first line at all.
    if (head.empty())
        return std::nullopt;
    return ParseInteger(head.substr(0, end));
}

bool AnnouncesUpdate(std::string_view head, bool complete) {
    const auto number = PublishedUpdateNumber(head, complete);
    return number && *number > kOwnUpdateNumber;
}

} // namespace brevalo
