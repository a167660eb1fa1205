// Reading the published update number from the start of a version file.
#include "VersionFile.h"

#include <gtest/gtest.h>

#include <string>

namespace brevalo {
namespace {

using namespace std::string_view_literals;

TEST(VersionFile, TheFirstLineIsTheNumberWhateverEndsIt) {
    EXPECT_EQ(PublishedUpdateNumber("3", true), 3);
    EXPECT_EQ(PublishedUpdateNumber("3\r\n", true), 3);
    EXPECT_EQ(PublishedUpdateNumber("7\nnotes\n", true), 7);
    EXPECT_EQ(PublishedUpdateNumber("7\rnotes", true), 7);
    EXPECT_EQ(PublishedUpdateNumber("12\r\n4\r\nrelease notes: x", true), 12);
    // The integer syntax of the rest of the program: leading blanks and a sign.
    EXPECT_EQ(PublishedUpdateNumber("  5\r\n", true), 5);
    EXPECT_EQ(PublishedUpdateNumber("-1", true), -1);
    // What an editor adds that the writer does not see: a byte-order mark
    // and blanks after the number.
    EXPECT_EQ(PublishedUpdateNumber("\xEF\xBB\xBF" "3", true), 3);
    EXPECT_EQ(PublishedUpdateNumber("\xEF\xBB\xBF" "3 \t\r\n", true), 3);
    EXPECT_EQ(PublishedUpdateNumber("3  \r\n", true), 3);
}

TEST(VersionFile, AnythingButAWholeNumberInTheFirstLineIsUnreadable) {
    for (const std::string_view head :
         {""sv, "\r\n"sv, "\r\n3\r\n"sv, "\n3"sv, "abc\r\n"sv, "3abc"sv, "3 4\r\n"sv, "3.0"sv,
          "v3"sv, "99999999999"sv, "3\0"sv, "<!DOCTYPE HTML>\n<html>404</html>"sv, "\xEF\xBB\xBF"sv, "\xEF\xBB"
                                                                               "3"sv}) {
        EXPECT_EQ(PublishedUpdateNumber(head, true), std::nullopt)
            << "\"" << std::string(head) << "\"";
    }
}

TEST(VersionFile, OnlyANumberAboveTwoAnnouncesAnUpdate) {
    EXPECT_TRUE(AnnouncesUpdate("3\r\n", true));
    // Compared as numbers: as text "10" would sort before "2".
    EXPECT_TRUE(AnnouncesUpdate("10\r\nmore\r\nlines\r\n", true));
    EXPECT_FALSE(AnnouncesUpdate("2\r\n", true));
    EXPECT_FALSE(AnnouncesUpdate("1", true));
    EXPECT_FALSE(AnnouncesUpdate("0", true));
    EXPECT_FALSE(AnnouncesUpdate("-7", true));
    EXPECT_FALSE(AnnouncesUpdate("letters", true));
    EXPECT_FALSE(AnnouncesUpdate("", true));
}

TEST(VersionFile, AFirstLineCutOffByTheReadLimitIsNotTrusted) {
    // The head ends inside the first line: "3" might be the start of "30" or
    // of "3x".
    EXPECT_EQ(PublishedUpdateNumber("3", false), std::nullopt);
    EXPECT_FALSE(AnnouncesUpdate("3", false));
    EXPECT_FALSE(AnnouncesUpdate(std::string(kVersionFileReadLimit, '9'), false));
    // Once the first line has ended, the rest may be cut anywhere.
    EXPECT_EQ(PublishedUpdateNumber("3\r", false), 3);
    EXPECT_TRUE(AnnouncesUpdate("4\r\n" + std::string(kVersionFileReadLimit - 3, 'x'), false));
}

} // namespace
} // namespace brevalo
