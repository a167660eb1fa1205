// Reads arbitrary bytes as the head of a downloaded version file. The first
// byte says whether the head is the whole file. The number is checked against
// a plain decimal reading, and against what the text after the first line
// cannot change.
#include "VersionFile.h"

#include "CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::cerr << "invariant broken: " << what << '\n';
        std::abort();
    }
}

// Blanks, an optional sign and decimal digits only: read with the standard
// library to compare with.
std::optional<std::int64_t> PlainDecimal(std::string_view line) {
    std::size_t i = line.find_first_not_of(' ');
    if (i == std::string_view::npos) {
        return std::nullopt;
    }
    bool negative = false;
    if (line[i] == '+' || line[i] == '-') {
        negative = line[i] == '-';
        ++i;
    }
    const std::string_view digits = line.substr(i);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view trimmed =
        digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1)); // keep one digit
    if (trimmed.size() > 12) {
        return std::int64_t{1} << 40; // far outside 32 bits
    }
    std::int64_t value = 0;
    std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    return negative ? -value : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool complete = (data[0] & 1) != 0;
    const std::string_view head(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto number = brevalo::PublishedUpdateNumber(head, complete);
    Require(brevalo::AnnouncesUpdate(head, complete) ==
                (number && *number > brevalo::kOwnUpdateNumber),
            "an update is announced exactly for a newer number");

    // A byte-order mark before the line and blanks or tabs after the number
    // are not part of it.
    std::string_view body = head;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") {
        body.remove_prefix(3);
    }
    const std::size_t end = body.find_first_of("\r\n");
    if (end == std::string_view::npos && !complete) {
        Require(!number, "a first line cut off by the head is not read");
        return 0;
    }
    std::string_view line = body.substr(0, end);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    if (const auto plain = PlainDecimal(line)) {
        const bool fits = *plain >= INT32_MIN && *plain <= INT32_MAX;
        Require(number.has_value() == fits, "a decimal number reads when it fits 32 bits");
        Require(!fits || *number == *plain, "a decimal number reads as its value");
    }
    if (number) {
        Require(brevalo::ParseInteger(line) == number, "the number is the first line's");
        // Whatever follows the first line, and whether the head is complete,
        // does not change the number.
        std::string longer(line);
        longer += "\n";
        longer += body.substr(end == std::string_view::npos ? body.size() : end);
        longer += "garbage\r\n7";
        Require(brevalo::PublishedUpdateNumber(longer, false) == number,
                "text after the first line is ignored");
    }
    return 0;
}
