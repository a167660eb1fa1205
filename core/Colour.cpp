// Colour strings: six hexadecimal digits RRGGBB, red first.
#include "Colour.h"

namespace brevalo {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The error for a text that is not a colour. A damaged settings file may hold
// a value of any length, so the message quotes at most the first 32 bytes
// (cut at a character boundary).
ColourError NotAColour(std::string_view text) {
    constexpr std::size_t shown = 32;
    if (text.size() <= shown)
        return ColourError("'" + std::string(text) + "' is not a valid colour");
    std::size_t cut = shown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return ColourError("'" + std::string(text.substr(0, cut)) + "...' is not a valid colour");
}

// Reads the two characters starting at `from` (fewer when the text is
// shorter) as one hexadecimal number.
int ReadChannel(std::string_view text, std::size_t from) {
    const std::string_view slice = from < text.size() ? text.substr(from, 2) : std::string_view();
    if (slice.empty()) {
        throw NotAColour(text);
    }
    int value = 0;
    for (const char c : slice) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            throw NotAColour(text);
        }
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

TColor ColourFromString(std::string_view text) {
    const int blue = ReadChannel(text, 4);
    const int green = ReadChannel(text, 2);
    const int red = ReadChannel(text, 0);
    return Rgb(red, green, blue);
}

std::string ColourToString(TColor colour) {
    if (colour < 0) {
        throw std::range_error("a system colour has no colour string");
    }
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    for (const int shift : {0, 8, 16}) {
        const int channel = (colour >> shift) & 0xFF;
        text += Digits[channel >> 4];
        text += Digits[channel & 0xF];
    }
    return text;
}

} // namespace brevalo
