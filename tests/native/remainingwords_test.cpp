// The remaining time in words, and when a counting timer speaks it.
#include "RemainingWords.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevalo {
namespace {

TEST(RemainingWords, NamesEachNonZeroPartWithItsUnitInSingularOrPlural) {
    EXPECT_EQ(RemainingWords(3725), "1 hour 2 minutes 5 seconds");
    EXPECT_EQ(RemainingWords(1), "1 second");
    EXPECT_EQ(RemainingWords(60), "1 minute");
    EXPECT_EQ(RemainingWords(7200 + 1), "2 hours 1 second");
    EXPECT_EQ(RemainingWords(86400), "1 day");
    EXPECT_EQ(RemainingWords(3 * 86400 + 23 * 3600 + 59 * 60 + 59),
              "3 days 23 hours 59 minutes 59 seconds");
    EXPECT_EQ(RemainingWords(400 * 86400 + 60), "400 days 1 minute");
    EXPECT_EQ(RemainingWords(0), "0 seconds");
    EXPECT_EQ(RemainingWords(-5), "0 seconds");
}

TEST(RemainingWords, ACountdownSpeaksAtWholeMinutesAndEachOfTheLastTenSeconds) {
    std::vector<std::int64_t> spoken;
    for (std::int64_t s = 200; s >= 0; --s)
        if (AnnouncesRemaining(s))
            spoken.push_back(s);
    EXPECT_EQ(spoken, (std::vector<std::int64_t>{180, 120, 60, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
}

} // namespace
} // namespace brevalo
