// Reads arbitrary text as a colour string and writes arbitrary colours,
// checking the reader against the digits it was given and the writer against
// the reader.
#include "Colour.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
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

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

void CheckReader(std::string_view text) {
    std::optional<brevalo::TColor> colour;
    try {
        colour = brevalo::ColourFromString(text);
    } catch (const brevalo::ColourError&) {
    }
    // The three two-character slices must all be present and hexadecimal;
    // the blue slice may be one character short.
    bool valid = text.size() >= 5;
    for (std::size_t i = 0; valid && i < text.size() && i < 6; ++i) {
        valid = IsHex(text[i]);
    }
    Require(colour.has_value() == valid, "a colour reads exactly when its slices are hex");
    if (!colour) {
        return;
    }
    Require(*colour >= 0 && *colour <= 0xFFFFFF, "a read colour has no high byte");
    const std::string written = brevalo::ColourToString(*colour);
    if (text.size() >= 6) {
        // Characters after the sixth are ignored; the digits come back in upper case.
        for (std::size_t i = 0; i < 6; ++i) {
            Require(written[i] == Upper(text[i]), "the written colour repeats the digits");
        }
    } else {
        Require((*colour >> 16) == std::strtol(std::string(text.substr(4)).c_str(), nullptr, 16),
                "a one-digit blue slice is read as one digit");
    }
}

void CheckWriter(std::uint32_t bits) {
    const auto colour = static_cast<brevalo::TColor>(bits);
    std::string text;
    try {
        text = brevalo::ColourToString(colour);
    } catch (const std::range_error&) {
        Require(colour < 0, "only system colours are refused");
        return;
    }
    Require(colour >= 0, "a system colour is refused");
    Require(text.size() == 6, "six digits are written");
    for (const char c : text) {
        Require((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'), "digits are upper-case hex");
    }
    Require(brevalo::ColourFromString(text) == (colour & 0xFFFFFF), "the written text reads back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckReader(std::string_view(reinterpret_cast<const char*>(data), size));
    if (size >= 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data, sizeof bits);
        CheckWriter(bits);
    }
    return 0;
}
