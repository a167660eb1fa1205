// The version file the vendor's web server publishes: its first line holds
// the update number of the newest release, which is compared with ours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace brevalo {

// The update number of this program.
inline constexpr std::int32_t kOwnUpdateNumber = 2;

// At most this many bytes of a downloaded version file are read: the number
// is in the first line, and a broken or hostile server must not make the
// timer read a file of any size.
inline constexpr std::size_t kVersionFileReadLimit = 1024;

// The number in the first line of a version file, or nothing when the file
// is empty or its first line is not a whole number. `head` is the start of the
// file; `complete` says whether it is the whole file. The first line ends at
// a carriage return or a line feed; a first line that runs past the end of an
// incomplete head cannot be read. A UTF-8 byte-order mark before the line and
// blanks or tabs after the number are skipped.
std::optional<std::int32_t> PublishedUpdateNumber(std::string_view head, bool complete);

// Whether the version file announces a release newer than this program.
bool AnnouncesUpdate(std::string_view head, bool complete);

} // namespace brevalo
