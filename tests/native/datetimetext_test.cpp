#include "DateTimeText.h"
#include "TestLocales.h"

#include <gtest/gtest.h>

using namespace brevalo;
using namespace brevalo::test;

namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return *EncodeDateTime({y, mo, d, h, mi, s, ms});
}

const DateTime Now = At(2026, 12, 7, 19, 5, 0);

// Reads with the given conventions; -1 when the text does not read.
DateTime Read(std::string_view text, const FormatSettings& fs = UnitedStates()) {
    return TextToDateTime(text, fs, Now).value_or(-1.0);
}

} // namespace

TEST(DateTimeText, FormatsWindowsPictures) {
    const FormatSettings fs;
    const DateTime t = At(2026, 3, 5, 19, 4, 9);
    EXPECT_EQ(FormatDateTimePicture("d dd ddd dddd", t, fs), "5 05 Thu Thursday");
    EXPECT_EQ(FormatDateTimePicture("M MM MMM MMMM", t, fs), "3 03 Mar March");
    EXPECT_EQ(FormatDateTimePicture("y yy yyyy", At(2007, 1, 1), fs), "7 07 2007");
    EXPECT_EQ(FormatDateTimePicture("h hh H HH m mm s ss t tt", t, fs),
              "7 07 19 19 4 04 9 09 P PM");
    EXPECT_EQ(FormatDateTimePicture("h tt", At(2026, 1, 1, 0, 30), fs), "12 AM");
    EXPECT_EQ(FormatDateTimePicture("'d''M' -d/M", t, fs), "d'M -5/3");
}

TEST(DateTimeText, WritesShortDateAndLongTimeLeavingOutMidnight) {
    EXPECT_EQ(DateTimeToText(At(2026, 12, 7, 19, 5), UnitedStates()), "12/7/2026 7:05:00 PM");
    EXPECT_EQ(DateTimeToText(At(2026, 12, 7), UnitedStates()), "12/7/2026");
    EXPECT_EQ(DateTimeToText(At(2026, 12, 7, 0, 0, 1), Germany()), "7.12.2026 00:00:01");
    EXPECT_EQ(RemoveBlanks(" 12/7/2026 7:05:00 PM "), "12/7/20267:05:00PM");
}

TEST(DateTimeText, ReadsDatesInTheFormatsOrder) {
    EXPECT_EQ(Read("12/31/2026 23:00:00"), At(2026, 12, 31, 23));
    EXPECT_EQ(Read("12/31/202623:00:00"), At(2026, 12, 31, 23));
    EXPECT_EQ(Read(" 12 / 31 / 2026 "), At(2026, 12, 31));
    EXPECT_EQ(Read("31.12.2026 23:00:00", Germany()), At(2026, 12, 31, 23));
    EXPECT_EQ(Read("31.12.202623:00", Germany()), At(2026, 12, 31, 23));
    EXPECT_EQ(Read("2026-12-31 23:00:00", Sweden()), At(2026, 12, 31, 23));
    // Two numbers are month and day of the current year, in the format's order.
    EXPECT_EQ(Read("2/3"), At(2026, 2, 3));
    EXPECT_EQ(Read("2.3", Germany()), At(2026, 3, 2));
    EXPECT_EQ(Read("2-3", Sweden()), At(2026, 2, 3));
    // No y, m or d in the format: month-day-year.
    FormatSettings odd;
    odd.shortDateFormat = "'x'";
    EXPECT_EQ(Read("2/3/2027", odd), At(2027, 2, 3));
    EXPECT_EQ(Read("2/30/2026"), -1.0);
    EXPECT_EQ(Read("12/31/"), -1.0);
    EXPECT_EQ(Read("12-31-2026"), -1.0);
}

TEST(DateTimeText, PlacesShortYearsInTheFiftyYearWindow) {
    EXPECT_EQ(Read("1/2/26"), At(2026, 1, 2));
    EXPECT_EQ(Read("1/2/75"), At(2075, 1, 2));
    EXPECT_EQ(Read("1/2/76"), At(1976, 1, 2));
    EXPECT_EQ(Read("1/2/5"), At(2005, 1, 2));
    // Three or more digits are taken as written.
    EXPECT_EQ(Read("1/2/076"), At(76, 1, 2));
    EXPECT_EQ(Read("1/2/0076"), At(76, 1, 2));
    // The year's number takes the hour's digits when nothing separates them.
    EXPECT_EQ(Read("1/2/26 7:05:00 PM"), At(2026, 1, 2, 19, 5));
    EXPECT_EQ(Read("1/2/267:05:00PM"), -1.0);
}

TEST(DateTimeText, ReadsTimesWithMarkersSeparatorsAndMilliseconds) {
    EXPECT_EQ(Read("12/7/2026 12:30 AM"), At(2026, 12, 7, 0, 30));
    EXPECT_EQ(Read("12/7/2026 12:30 pm"), At(2026, 12, 7, 12, 30));
    EXPECT_EQ(Read("12/7/2026 PM 7"), At(2026, 12, 7, 19));
    EXPECT_EQ(Read("12/7/2026 7:05:09.250"), At(2026, 12, 7, 7, 5, 9, 250));
    EXPECT_EQ(Read("7.12.2026 7:05:09,250", Germany()), At(2026, 12, 7, 7, 5, 9, 250));
    EXPECT_EQ(Read("12/7/2026 7:05 PM and more"), At(2026, 12, 7, 19, 5));
    FormatSettings marked;
    marked.amString = "vorm.";
    marked.pmString = "nachm.";
    EXPECT_EQ(Read("3:00 NACHM.", marked), At(1899, 12, 30, 15));
    EXPECT_EQ(Read("3:00 pm", marked), At(1899, 12, 30, 15));
    // A locale without markers must not match an empty marker.
    EXPECT_EQ(Read("13:00", Germany()), At(1899, 12, 30, 13));
    EXPECT_EQ(Read("\xEC\x98\xA4\xED\x9B\x84 3:00", Korea()), At(1899, 12, 30, 15));
    // Out of range, with or without a marker.
    EXPECT_EQ(Read("12/7/2026 13:00 PM"), -1.0);
    EXPECT_EQ(Read("0:30 AM"), -1.0);
    EXPECT_EQ(Read("24:00"), -1.0);
    EXPECT_EQ(Read("7:60"), -1.0);
    EXPECT_EQ(Read("7:05:09.1000"), -1.0);
}

TEST(DateTimeText, FallsBackToATimeAloneOnTheFirstDay) {
    EXPECT_EQ(Read("5:30"), At(1899, 12, 30, 5, 30));
    EXPECT_EQ(Read(" 5 : 30 : 10 "), At(1899, 12, 30, 5, 30, 10));
    EXPECT_EQ(Read("7 PM"), At(1899, 12, 30, 19));
    // Something after a lone time is not allowed, nor is a date followed by junk.
    EXPECT_EQ(Read("5:30 tomorrow"), -1.0);
    EXPECT_EQ(Read("12/7/2026 soon"), -1.0);
    EXPECT_EQ(Read(""), -1.0);
    EXPECT_EQ(Read("foo"), -1.0);
}

TEST(DateTimeText, ReadsBackWhatItWritesAcrossLocalesAndInstants) {
    struct Case {
        const char* name;
        FormatSettings fs;
        bool blankFreeReads;
    };
    const Case cases[] = {{"en-US", UnitedStates(), true},
                          {"de-DE", Germany(), true},
                          {"sv-SE", Sweden(), false},
                          {"ko-KR", Korea(), true},
                          {"two-digit year", TwoDigitYear(), false}};
    for (const Case& c : cases) {
        std::uint32_t seed = 12345;
        for (int i = 0; i < 2000; ++i) {
            seed = seed * 1664525u + 1013904223u;
            // Instants within the two-digit year window (1976 to 2075), on whole
            // seconds or with a fraction the text cannot carry.
            const double day = At(1977, 1, 1) + (seed >> 8) % (98 * 365);
            const double second = (seed % 86400) + (i % 3 == 0 ? 0.0 : 0.4);
            const DateTime t = day + second / 86400;
            const DateTime whole = day + (seed % 86400) / 86400.0;
            const std::string text = DateTimeToText(t, c.fs);
            ASSERT_NEAR(Read(text, c.fs), whole, 1e-9) << c.name << ": " << text;
            if (c.blankFreeReads) {
                ASSERT_NEAR(Read(RemoveBlanks(text), c.fs), whole, 1e-9) << c.name << ": " << text;
            }
        }
    }
}
