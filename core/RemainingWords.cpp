#include "RemainingWords.h"

namespace brevalo {

namespace {

void AppendPart(std::string& words, std::int64_t count, const char* unit) {
    if (count == 0)
        return;
    if (!words.empty())
        words += ' ';
    words += std::to_string(count);
    words += ' ';
    words += unit;
    if (count != 1)
        words += 's';
}

} // namespace

std::string RemainingWords(std::int64_t seconds) {
    if (seconds <= 0)
        return "0 seconds";
    std::string words;
    AppendPart(words, seconds / 86400, "day");
    AppendPart(words, seconds / 3600 % 24, "hour");
    AppendPart(words, seconds / 60 % 60, "minute");
    AppendPart(words, seconds % 60, "second");
    return words;
}

bool AnnouncesRemaining(std::int64_t seconds) {
    return seconds > 0 && (seconds <= 10 || seconds % 60 == 0);
}

} // namespace brevalo
