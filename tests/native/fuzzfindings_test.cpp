// Faults found by the fuzzers of tests/fuzz, kept as plain tests.
#include "CommandLine.h"
#include "DateTimeText.h"
#include "TestLocales.h"

#include <gtest/gtest.h>

using namespace brevalo;

namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return *EncodeDateTime({y, mo, d, h, mi, s, 0});
}

const DateTime Now = At(2026, 12, 7, 19, 5, 0);

DateTime Read(std::string_view text, const FormatSettings& fs) {
    return TextToDateTime(text, fs, Now).value_or(-1.0);
}

class QuietEnvironment : public ParserEnvironment {
public:
    explicit QuietEnvironment(FormatSettings fs, DateTime now) : fs_(std::move(fs)), now_(now) {}
    DateTime Now() override { return now_; }
    const FormatSettings& Formats() override { return fs_; }
    bool FileExists(const std::string&) override { return false; }
    std::string FullPath(const std::string& path) override { return path; }
    bool IsAdministrator() override { return false; }
    bool MachineAutorunHolds(const std::string&) override { return false; }

private:
    FormatSettings fs_;
    DateTime now_;
};

ParseResult Parse(const std::string& raw, TimerSettings& settings, ParserEnvironment& env) {
    ParsedTimer parsed = ParseCommandLine(CommandLine(raw), "C:\\Brevalo\\Brevalo.exe", {}, env);
    settings = std::move(parsed.settings);
    return parsed.result;
}

} // namespace

// A short date format that ends in literal text wrote dates the reader refused,
// so a restarted timer, or a /t value from the front ends, gave code 3.
TEST(FuzzFindings, DateFormatEndingInLiteralTextReadsBack) {
    const FormatSettings hu = test::Hungary();
    EXPECT_EQ(DateTimeToText(At(2026, 12, 7, 19, 5), hu), "2026. 12. 07. 19:05:00");
    EXPECT_EQ(Read("2026. 12. 07. 19:05:00", hu), At(2026, 12, 7, 19, 5));
    EXPECT_EQ(Read("2026. 12. 07.", hu), At(2026, 12, 7));
    // The front ends write the date immediately followed by the time.
    EXPECT_EQ(Read("2026. 12. 07.19:05:00", hu), At(2026, 12, 7, 19, 5));
    // The trailing text stays optional, and two-number dates take it too.
    EXPECT_EQ(Read("2026. 12. 07 19:05", hu), At(2026, 12, 7, 19, 5));
    EXPECT_EQ(Read("12. 24.", hu), At(2026, 12, 24));
    // Quotes and blanks of the format are not part of what is read.
    EXPECT_EQ(DateTimeToText(At(2026, 12, 7, 8), test::QuotedSuffix()), "07.12.2026 day 08:00:00");
    EXPECT_EQ(Read("07.12.2026 day 08:00:00", test::QuotedSuffix()), At(2026, 12, 7, 8));
    EXPECT_EQ(Read("07.12.2026DAY08:00:00", test::QuotedSuffix()), At(2026, 12, 7, 8));
    // Anything else after the date still has to be a time.
    EXPECT_EQ(Read("2026. 12. 07.. 19:05", hu), -1.0);
    EXPECT_EQ(Read("07.12.2026 da 08:00", test::QuotedSuffix()), -1.0);
}

TEST(FuzzFindings, RestartLineReadsBackWhenTheDateEndsInAFullStop) {
    const std::string raw = "Brevalo.exe /t88 /c\"Tea break\" /f0082Brevalot\"200";
    QuietEnvironment first(test::Hungary(), Now);
    TimerSettings settings;
    ASSERT_EQ(Parse(raw, settings, first), ParseOk);
    EXPECT_EQ(settings.RestartCommandLine, "\"C:\\Brevalo\\Brevalo.exe\" /t\"2026. 12. 07. "
                                           "20:33:00\" /c\"Tea break\" /f0082Brevalot\"200");

    QuietEnvironment later(test::Hungary(), Now + 2.0);
    TimerSettings again;
    ASSERT_EQ(Parse(settings.RestartCommandLine, again, later), ParseOk);
    EXPECT_EQ(again.EndTime, At(2026, 12, 7, 20, 33));
    EXPECT_EQ(again.TimerName, "Tea break");
}
