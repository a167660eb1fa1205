#include "CommandLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace brevalo;
using ::testing::ElementsAre;

TEST(SplitCommandLine, SplitsOnBlanksAndControlCharactersAndDropsQuotes) {
    EXPECT_THAT(SplitCommandLine("prog.exe /t30 /cTea"), ElementsAre("prog.exe", "/t30", "/cTea"));
    EXPECT_THAT(SplitCommandLine("  \"C:\\Program Files\\b.exe\"\t/c\"Tea break\"\r\n/q5 "),
                ElementsAre("C:\\Program Files\\b.exe", "/cTea break", "/q5"));
    // A quoted stretch inside a run joins what surrounds it; an unclosed one
    // runs to the end of the text.
    EXPECT_THAT(SplitCommandLine("a\"b c\"d \"e f"), ElementsAre("ab cd", "e f"));
    // Empty pairs where an argument would start are skipped, elsewhere they
    // just open and close a stretch.
    EXPECT_THAT(SplitCommandLine("p \"\" \"\"\"\"/x1 a\"\"b"), ElementsAre("p", "/x1", "ab"));
    EXPECT_THAT(SplitCommandLine("p \""), ElementsAre("p", ""));
    EXPECT_THAT(SplitCommandLine(std::string_view("p /a\0/b", 7)), ElementsAre("p", "/a"));
    EXPECT_THAT(SplitCommandLine("p /c\xC3\xA9t\xC3\xA9"), ElementsAre("p", "/c\xC3\xA9t\xC3\xA9"));
    EXPECT_TRUE(SplitCommandLine(" \t ").empty());
}

TEST(SplitCommandLine, RecordsWhereEveryCharacterCameFrom) {
    const std::string raw = "p \"/t 3\"0 /c";
    const CommandLine line{std::string(raw)};
    const auto& list = line.Arguments();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].text, "/t 30");
    EXPECT_THAT(list[1].sourceIndex, ElementsAre(3, 4, 5, 6, 8));
    EXPECT_THAT(list[2].sourceIndex, ElementsAre(10, 11));
    for (const auto& arg : list) {
        for (std::size_t i = 0; i < arg.text.size(); ++i) {
            EXPECT_EQ(raw[arg.sourceIndex[i]], arg.text[i]);
        }
    }
}

TEST(ParseInteger, AcceptsTheSwitchIntegerSyntax) {
    EXPECT_EQ(ParseInteger("30"), 30);
    EXPECT_EQ(ParseInteger("  -5"), -5);
    EXPECT_EQ(ParseInteger("+007"), 7);
    EXPECT_EQ(ParseInteger("$1E"), 30);
    EXPECT_EQ(ParseInteger("x1e"), 30);
    EXPECT_EQ(ParseInteger("X1E"), 30);
    EXPECT_EQ(ParseInteger("0x1E"), 30);
    EXPECT_EQ(ParseInteger("-0X10"), -16);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInteger("-$80000000"), INT32_MIN);
    for (const char* bad :
         {"", " ", "-", "$", "0x", "2147483648", "$80000000", "$FFFFFFFF", "99999999999999999999",
          "30 ", "3 0", "1E", "1e3", "--1", "+-1", "\t5", "5:30", "12/7/2026"}) {
        EXPECT_FALSE(ParseInteger(bad)) << bad;
    }
}

TEST(ReplaceArgumentTail, ReplacesOnlyTheValueAndKeepsTheRestSplitting) {
    EXPECT_EQ(ReplaceArgumentTail("p /t30 /cBreak30", 1, 2, "X"), "p /tX /cBreak30");
    EXPECT_EQ(ReplaceArgumentTail("p \"/t30\" /c\"A b\"", 1, 2, "X"), "p \"/tX\" /c\"A b\"");
    EXPECT_EQ(ReplaceArgumentTail("p /t30 /c", 1, 2, "1 2"), "p /t\"1 2\" /c");
    EXPECT_EQ(ReplaceArgumentTail("p \"/t30\" /c", 1, 2, "1 2"), "p \"/t1 2\" /c");
    EXPECT_EQ(ReplaceArgumentTail("p /t30", 1, 2, "a\"b"), "p /tab");
    EXPECT_EQ(ReplaceArgumentTail("p /t", 1, 2, "X"), "p /t");
    EXPECT_EQ(ReplaceArgumentTail("p /t", 5, 2, "X"), "p /t");
    // Quotes inside the replaced stretch: whatever the replacement, what
    // follows must split as before.
    for (const char* raw : {"p /t3\"0\" /c\"A b\"", "p /t\"3\"0 /c\"A b\"", "p /t3\"0 /c\"A b\"",
                            "p /t\"3 \"\"0\"x /cA"}) {
        for (const char* value : {"X", "1 2"}) {
            const std::string out = ReplaceArgumentTail(raw, 1, 2, value);
            auto before = SplitCommandLine(raw);
            const auto after = SplitCommandLine(out);
            before[1] = std::string("/t") + value;
            EXPECT_EQ(after, before) << raw << " -> " << out;
        }
    }
}

TEST(WithProgramPath, AnythingButTheProgramsOwnPathGivesWayToItQuoted) {
    const std::string path = "C:\\Program Files\\Brevalo\\Brevalo.exe";
    const std::string quoted = "\"" + path + "\"";
    // As typed at a prompt, or found along the search path.
    EXPECT_EQ(WithProgramPath("x.exe /q5 /r", path), quoted + " /q5 /r");
    EXPECT_EQ(WithProgramPath("Brevalo /r \"/cTea break\"", path), quoted + " /r \"/cTea break\"");
    EXPECT_EQ(WithProgramPath("..\\Brevalo\\Brevalo.exe\t/r", path), quoted + "\t/r");
    // Unquoted, the blank cuts the path short: C:\Program.exe would run.
    EXPECT_EQ(WithProgramPath("C:\\Program Files\\Brevalo\\Brevalo.exe /r", path),
              quoted + " Files\\Brevalo\\Brevalo.exe /r");
    // Quotes inside the part are read differently by the system.
    EXPECT_EQ(WithProgramPath("C:\\\"Program Files\"\\Brevalo\\Brevalo.exe /r", path),
              quoted + " /r");
    EXPECT_EQ(WithProgramPath("  \"\"x.exe /r", path), "  \"\"" + quoted + " /r");
    EXPECT_EQ(WithProgramPath("", path), quoted);

    // The program's own path, quoted whole or free of blanks, stays as it is.
    EXPECT_EQ(WithProgramPath(quoted + " /r /q5", path), quoted + " /r /q5");
    EXPECT_EQ(WithProgramPath("\"c:\\program files\\brevalo\\BREVALO.EXE\" /r", path),
              "\"c:\\program files\\brevalo\\BREVALO.EXE\" /r");
    EXPECT_EQ(WithProgramPath("C:\\B\\b.exe /r", "C:\\B\\b.exe"), "C:\\B\\b.exe /r");
    EXPECT_EQ(WithProgramPath("\\\\host\\share\\b.exe /r", "\\\\host\\share\\b.exe"),
              "\\\\host\\share\\b.exe /r");
}
