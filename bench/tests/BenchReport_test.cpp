#include "BenchReport.h"
#include "DigitPixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace brevalo::bench {
namespace {

// The last cell (the verdict) of the row that starts with the measure.
std::string ResultOf(const std::string& table, const std::string& measure) {
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("| " + measure, 0) != 0)
            continue;
        const auto end = line.rfind(" |");
        const auto start = line.rfind("| ", end - 1);
        return line.substr(start + 2, end - start - 2);
    }
    return "row missing";
}

ProgramResults Sample() {
    ProgramResults r;
    r.cpuMsPerMinute = 100;
    r.peakWorkingSetMiB = 10;
    r.exeBytes = 100'000;
    r.startupMs.assign(20, 400);
    r.latencyMs.assign(20, 150);
    return r;
}

TEST(Median, SkipsMissingRunsAndAveragesTheMiddlePair) {
    EXPECT_EQ(Median({5, 1, 3}), 3);
    EXPECT_EQ(Median({4, 1, 3, 2}), 2.5);
    EXPECT_EQ(Median({NAN, 7, NAN}), 7);
    EXPECT_TRUE(std::isnan(Median({NAN})));
    EXPECT_EQ(CountAtMost({250, 250.5, NAN, 10}, 250), 2);
}

TEST(Report, RatiosAtTheLimitPassAndAboveFail) {
    ProgramResults timer = Sample();
    const ProgramResults base = Sample();
    timer.cpuMsPerMinute = 150;   // 1.5x
    timer.peakWorkingSetMiB = 21; // 2.1x
    timer.startupMs.assign(20, 601);
    const std::string table = ReportTable(timer, base);
    EXPECT_EQ(ResultOf(table, "CPU time"), "pass");
    EXPECT_EQ(ResultOf(table, "Peak working set"), "FAIL");
    EXPECT_EQ(ResultOf(table, "Start-up"), "FAIL");
    EXPECT_NE(table.find("| 1.50x |"), std::string::npos);
}

TEST(Report, LatencyAllowsOneSlowOrMissingRunInTwenty) {
    ProgramResults timer = Sample();
    timer.latencyMs[3] = NAN; // the broadcast never came
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Completion latency"), "pass");
    timer.latencyMs[7] = 251;
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Completion latency"), "FAIL");
}

TEST(Report, UnmeasuredValuesAreNotJudged) {
    ProgramResults base = Sample();
    base.cpuMsPerMinute = 0; // no ratio to a zero baseline
    base.peakWorkingSetMiB = -1;
    const std::string table = ReportTable(Sample(), base);
    EXPECT_EQ(ResultOf(table, "CPU time"), "n/a");
    EXPECT_EQ(ResultOf(table, "Peak working set"), "n/a");
}

TEST(Report, ExecutableMustStayUnderTwoMebibytes) {
    ProgramResults timer = Sample();
    timer.exeBytes = 2 * 1024 * 1024 - 1;
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Executable size"), "pass");
    timer.exeBytes = 2 * 1024 * 1024;
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Executable size"), "FAIL");
}

TEST(DigitPixels, CountsOnlyPixelsWithinTheToleranceOnEveryChannel) {
    const std::uint32_t pixels[] = {
        0x000080FF, // exact
        0x000A76F5, // off by 10 on each channel
        0x000080E0, // blue off by 31
        0x00000000, // background
        0x00FF80FF, // red far off
        0x000080FF,
    };
    EXPECT_EQ(CountColourPixels(pixels, 3, 2, {0x00, 0x80, 0xFF}, 10), 3);
    EXPECT_EQ(CountColourPixels(pixels, 3, 2, {0x00, 0x80, 0xFF}, 31), 4);
    EXPECT_EQ(CountColourPixels(pixels, 3, 1, {0x00, 0x80, 0xFF}, 0), 1);
}

} // namespace
} // namespace brevalo::bench
