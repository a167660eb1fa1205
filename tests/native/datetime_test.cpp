#include "Colour.h"
#include "DateTime.h"
#include "TimerSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace brevalo;

namespace {

void ExpectCivil(DateTime v, int y, int mo, int d, int h, int mi, int s, int ms) {
    const CivilDateTime c = DecodeDateTime(v);
    EXPECT_EQ(c.year, y);
    EXPECT_EQ(c.month, mo);
    EXPECT_EQ(c.day, d);
    EXPECT_EQ(c.hour, h);
    EXPECT_EQ(c.minute, mi);
    EXPECT_EQ(c.second, s);
    EXPECT_EQ(c.millisecond, ms);
}

} // namespace

TEST(DateTime, EncodesKnownDaysAndRefusesDatesThatDoNotExist) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_TRUE(EncodeDate(2024, 2, 29));
    EXPECT_TRUE(EncodeDate(2000, 2, 29));
    EXPECT_FALSE(EncodeDate(1900, 2, 29));
    EXPECT_FALSE(EncodeDate(2026, 2, 29));
    EXPECT_FALSE(EncodeDate(2026, 13, 1));
    EXPECT_FALSE(EncodeDate(2026, 4, 31));
    EXPECT_FALSE(EncodeDate(0, 1, 1));
    EXPECT_FALSE(EncodeDate(10000, 1, 1));
    EXPECT_FALSE(EncodeTime(24, 0, 0, 0));
    EXPECT_FALSE(EncodeTime(0, 60, 0, 0));
    EXPECT_FALSE(EncodeTime(0, 0, 0, 1000));
    EXPECT_EQ(EncodeTime(18, 0, 0, 0), 0.75);
}

TEST(DateTime, EncodeAndDecodeAgreeAcrossTheCalendar) {
    for (int year : {1, 4, 100, 1600, 1899, 1900, 1999, 2000, 2026, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day : {1, 28, DaysInMonth(year, month)}) {
                const CivilDateTime in{year, month, day, 13, 7, 59, 123};
                const auto v = EncodeDateTime(in);
                ASSERT_TRUE(v) << year << "-" << month << "-" << day;
                ExpectCivil(*v, year, month, day, 13, 7, 59, 123);
            }
        }
    }
}

TEST(DateTime, DecodeRoundsToTheMillisecondAndHandlesNegativeAndOddValues) {
    ExpectCivil(0.5 - 0.4 / MsPerDay, 1899, 12, 30, 12, 0, 0, 0);
    ExpectCivil(1.0 - 0.4 / MsPerDay, 1899, 12, 31, 0, 0, 0, 0);
    ExpectCivil(-0.25, 1899, 12, 29, 18, 0, 0, 0);
    ExpectCivil(-1.5, 1899, 12, 28, 12, 0, 0, 0);
    ExpectCivil(1e300, 9999, 12, 31, 23, 59, 59, 999);
    ExpectCivil(-1e300, 1, 1, 1, 0, 0, 0, 0);
    ExpectCivil(std::numeric_limits<double>::infinity(), 9999, 12, 31, 23, 59, 59, 999);
    ExpectCivil(std::nan(""), 1899, 12, 30, 0, 0, 0, 0);
}

TEST(DateTime, AddingMinutesAndSecondsLandsOnTheExactSecond) {
    const DateTime start = *EncodeDateTime({2026, 12, 31, 23, 55, 17, 0});
    ExpectCivil(AddMinutes(start, 30), 2027, 1, 1, 0, 25, 17, 0);
    ExpectCivil(AddMinutes(start, -5), 2026, 12, 31, 23, 50, 17, 0);
    ExpectCivil(AddSeconds(start, 300), 2027, 1, 1, 0, 0, 17, 0);
    ExpectCivil(AddSeconds(start, 0), 2026, 12, 31, 23, 55, 17, 0);
    // From every second of a day, one step lands on the next whole second.
    for (int i = 0; i < 86400; ++i) {
        const DateTime t = *EncodeDateTime({2026, 6, 1, i / 3600, i / 60 % 60, i % 60, 0});
        const CivilDateTime next = DecodeDateTime(AddSeconds(t, 1));
        ASSERT_EQ(next.millisecond, 0) << i;
        ASSERT_EQ((next.hour * 3600 + next.minute * 60 + next.second), (i + 1) % 86400) << i;
    }
    ExpectCivil(AddMinutes(start, std::numeric_limits<std::int32_t>::min()), 1, 1, 1, 0, 0, 0, 0);
}

TEST(Colour, ReadsSlicesOfTheTextRedFirst) {
    EXPECT_EQ(ColourFromString("0080FF"), Rgb(0x00, 0x80, 0xFF));
    EXPECT_EQ(ColourFromString("00ff00"), Rgb(0, 255, 0));
    EXPECT_EQ(ColourFromString("123456789"), Rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(ColourFromString("0080F"), Rgb(0x00, 0x80, 0x0F));
    EXPECT_THROW(ColourFromString("0080"), ColourError);
    EXPECT_THROW(ColourFromString(""), ColourError);
    EXPECT_THROW(ColourFromString("ZZ0000"), ColourError);
    EXPECT_THROW(ColourFromString("00 0FF"), ColourError);
    EXPECT_THROW(ColourFromString("-10000"), ColourError);
}

TEST(Colour, WritesUpperCaseAndRefusesSystemColours) {
    EXPECT_EQ(ColourToString(Rgb(0, 128, 255)), "0080FF");
    EXPECT_EQ(ColourToString(Rgb(0xAB, 0x0C, 0xD0)), "AB0CD0");
    for (TColor c : {Rgb(1, 2, 3), Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(0x7F, 0x80, 0x81)}) {
        EXPECT_EQ(ColourFromString(ColourToString(c)), c);
    }
    EXPECT_THROW(ColourToString(TColor(0xFF00000F)), std::range_error);
}

TEST(SoundName, CutsToTheFixedWidthAndTreatsBlanksAsNone) {
    EXPECT_EQ(SoundName("DONE1"), "DONE1");
    EXPECT_EQ(SoundName("   "), "");
    EXPECT_EQ(SoundName(""), "");
    EXPECT_EQ(SoundName("ABCDEFGHIJKLMNOPQ"), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(SoundName(std::string_view("AB\0CD", 5)), "AB");
    // Fourteen ASCII bytes and a two-byte character would make 16: cut before it.
    EXPECT_EQ(SoundName("ABCDEFGHIJKLMN\xC3\xA9"), "ABCDEFGHIJKLMN");
}

namespace brevalo {
namespace {

TEST(ColourErrors, QuoteTheTextButNeverAHugeOne) {
    try {
        ColourFromString("ZZ0000");
        FAIL();
    } catch (const ColourError& e) {
        EXPECT_STREQ(e.what(), "'ZZ0000' is not a valid colour");
    }
    const std::string huge(100'000, 'x');
    try {
        ColourFromString(huge);
        FAIL();
    } catch (const ColourError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + std::string(32, 'x') + "...' is not a valid colour");
    }
    // A multi-byte character at the cut is not split.
    const std::string letters = std::string(31, 'g') + "\xC3\xA9" + std::string(10, 'b');
    try {
        ColourFromString(letters);
        FAIL();
    } catch (const ColourError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + std::string(31, 'g') + "...' is not a valid colour");
    }
}

} // namespace
} // namespace brevalo
