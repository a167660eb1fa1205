#include "CustomColors.h"


namespace brevalo {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

CustomColorArray CustomColorsFromList(const std::vector<std::string>& list) {
    CustomColorArray colors;
    colors.fill(0xFFFFFF);
    for (const std::string& entry : list) {
        // "Color" + letter + "=" + one to six hex digits.
        if (entry.size() < 8 || entry.size() > 13 || entry.compare(0, 5, "Color") != 0 ||
            entry[6] != '=')
            continue;
        const char letter = entry[5];
        int index = -1;
        if (letter >= 'A' && letter <= 'P')
            index = letter - 'A';
        else if (letter >= 'a' && letter <= 'p')
            index = letter - 'a';
        if (index < 0)
            continue;
        TColor value = 0;
        bool valid = true;
        for (std::size_t i = 7; i < entry.size() && valid; ++i) {
            const int digit = HexDigit(entry[i]);
            valid = digit >= 0;
            value = value * 16 + digit;
        }
        if (valid)
            colors[std::size_t(index)] = value;
    }
    return colors;
}

std::vector<std::string> CustomColorsToList(const CustomColorArray& colors) {
    std::vector<std::string> list;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        // "ColorA=00FF80": the key, then six upper-case hexadecimal digits.
        std::string text = "ColorA=000000";
        text[5] = char('A' + i);
        const unsigned value = static_cast<unsigned>(colors[i]) & 0xFFFFFFu;
        for (int digit = 0; digit < 6; ++digit) {
            text[12 - digit] = "0123456789ABCDEF"[(value >> (4 * digit)) & 0xF];
        }
        list.push_back(std::move(text));
    }
    return list;
}

} // namespace brevalo
