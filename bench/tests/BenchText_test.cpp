#include "BenchText.h"

#include <gtest/gtest.h>

namespace brevalo::bench {
namespace {

TEST(EndText, WritesTwelveHourClockAroundMidnightAndNoon) {
    EXPECT_EQ(FormatEndText({2026, 12, 8, 0, 5, 9}), "12/8/2026 12:05:09 AM");
    EXPECT_EQ(FormatEndText({2026, 12, 8, 12, 0, 0}), "12/8/2026 12:00:00 PM");
    EXPECT_EQ(FormatEndText({2026, 1, 31, 13, 40, 5}), "1/31/2026 1:40:05 PM");
    EXPECT_EQ(FormatEndText({2026, 1, 31, 11, 59, 59}), "1/31/2026 11:59:59 AM");
}

TEST(EndText, ReadsBackEveryHourOfTheDay) {
    for (int hour = 0; hour < 24; ++hour) {
        const ClockTime t{2028, 2, 29, hour, 7, 30};
        EXPECT_EQ(ParseEndText(FormatEndText(t)), t) << FormatEndText(t);
    }
}

TEST(EndText, ReadsBlankFreeAndLowerCaseForms) {
    const ClockTime expected{2026, 12, 8, 21, 40, 5};
    EXPECT_EQ(ParseEndText("12/8/20269:40:05PM"), expected);
    EXPECT_EQ(ParseEndText(" 12 / 8 / 2026  9 : 40 : 05  pm "), expected);
}

TEST(EndText, RefusesWhatIsNoMoment) {
    EXPECT_FALSE(ParseEndText("2/29/2026 1:00:00 AM")); // not a leap year
    EXPECT_FALSE(ParseEndText("13/1/2026 1:00:00 AM"));
    EXPECT_FALSE(ParseEndText("1/1/2026 13:00:00 PM"));
    EXPECT_FALSE(ParseEndText("1/1/2026 0:10:00 AM"));
    EXPECT_FALSE(ParseEndText("1/1/2026 1:60:00 AM"));
    EXPECT_FALSE(ParseEndText("1/1/2026 1:00:00"));
    EXPECT_FALSE(ParseEndText("1/1/2026 1:00:00 AM x"));
    EXPECT_FALSE(ParseEndText("1/1/2026"));
    EXPECT_FALSE(ParseEndText(""));
}

} // namespace
} // namespace brevalo::bench
