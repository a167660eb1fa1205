#include "BenchReport.h"
#include "DigitPixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
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
    r.exeBytes = 900'000;
    r.startupMs.assign(20, 400);
    r.latencyMs.assign(20, 10);
    r.secondsLagMs.assign(60, 5);
    r.manyTimers = 50;
    r.manyTimersCpuMsPerMinute = 4000;
    return r;
}

TEST(Median, SkipsMissingRunsAndAveragesTheMiddlePair) {
    EXPECT_EQ(Median({5, 1, 3}), 3);
    EXPECT_EQ(Median({4, 1, 3, 2}), 2.5);
    EXPECT_EQ(Median({NAN, 7, NAN}), 7);
    EXPECT_TRUE(std::isnan(Median({NAN})));
    EXPECT_EQ(CountAtMost({250, 250.5, NAN, 10}, 250), 2);
    EXPECT_EQ(CountWithin({-1, 0, 30, 30.5, NAN}, 0, 30), 2);
}

TEST(Report, RatiosAtTheLimitPassAndAboveFailAndTheLoadedStartUpHasItsOwnLimit) {
    ProgramResults timer = Sample();
    const ProgramResults base = Sample();
    timer.cpuMsPerMinute = 115;     // 1.15x
    timer.peakWorkingSetMiB = 13.1; // 1.31x
    timer.startupMs.assign(20, 480); // 1.2x
    const std::string table = ReportTable(timer, base);
    EXPECT_EQ(ResultOf(table, "CPU time"), "pass");
    EXPECT_EQ(ResultOf(table, "Peak working set"), "FAIL");
    EXPECT_EQ(ResultOf(table, "Start-up to first"), "FAIL");
    EXPECT_NE(table.find("| 1.15x |"), std::string::npos);
    Targets loaded;
    loaded.loaded = true;
    EXPECT_EQ(ResultOf(ReportTable(timer, base, loaded), "Start-up to first"), "pass");
    timer.startupMs.assign(20, 521); // 1.3025x
    EXPECT_EQ(ResultOf(ReportTable(timer, base, loaded), "Start-up to first"), "FAIL");
}

TEST(Report, LatencyNeedsASmallMedianAndAllowsOneSlowOrMissingRunInTwenty) {
    ProgramResults timer = Sample();
    timer.latencyMs[3] = NAN; // the broadcast never came
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Completion latency"), "pass");
    timer.latencyMs[7] = 31;
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Completion latency"), "FAIL");
    ProgramResults slow = Sample();
    slow.latencyMs.assign(20, 16); // every run within 30 ms, the median too high
    EXPECT_EQ(ResultOf(ReportTable(slow, Sample()), "Completion latency"), "FAIL");
}

TEST(Report, TheSecondsDigitMustChangeOnTimeInNineteenOfTwentySeconds) {
    ProgramResults timer = Sample();
    for (int i = 0; i < 3; ++i)
        timer.secondsLagMs[i] = 31;
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Seconds digit"), "pass"); // 57 of 60
    timer.secondsLagMs[10] = -2; // before the second: no better than late
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Seconds digit"), "FAIL");
    timer.secondsLagMs.clear();
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "Seconds digit"), "n/a");
}

TEST(Report, ManyTimersAreJudgedAgainstOneTimersCpu) {
    ProgramResults timer = Sample();
    timer.manyTimersCpuMsPerMinute = 5000; // 50 x 100
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "50 timers"), "pass");
    timer.manyTimersCpuMsPerMinute = 5001;
    EXPECT_EQ(ResultOf(ReportTable(timer, Sample()), "50 timers"), "FAIL");
}

TEST(Report, UnmeasuredValuesAreNotJudged) {
    ProgramResults base = Sample();
    base.cpuMsPerMinute = 0; // no ratio to a zero baseline
    base.peakWorkingSetMiB = -1;
    ProgramResults timer = Sample();
    timer.manyTimersCpuMsPerMinute = -1;
    const std::string table = ReportTable(timer, base);
    EXPECT_EQ(ResultOf(table, "CPU time"), "n/a");
    EXPECT_EQ(ResultOf(table, "Peak working set"), "n/a");
    EXPECT_EQ(ResultOf(table, "50 timers"), "n/a");
}

TEST(Report, EachFlavourHasItsOwnSizeLimit) {
    ProgramResults timer = Sample();
    Targets targets;
    for (const bool wide : {false, true}) {
        targets.exeBytes = ExeLimit(wide);
        timer.exeBytes = wide ? 1'200'000 : 1'000'000;
        EXPECT_EQ(ResultOf(ReportTable(timer, Sample(), targets), "Executable size"), "pass");
        ++timer.exeBytes;
        EXPECT_EQ(ResultOf(ReportTable(timer, Sample(), targets), "Executable size"), "FAIL");
    }
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

    // The signature follows every pixel, but not the unused fourth byte.
    std::uint32_t copy[6];
    std::copy(std::begin(pixels), std::end(pixels), copy);
    const auto signature = ImageSignature(pixels, 3, 2);
    copy[3] = 0xFF000000;
    EXPECT_EQ(ImageSignature(copy, 3, 2), signature);
    copy[5] ^= 1;
    EXPECT_NE(ImageSignature(copy, 3, 2), signature);

    // The box of the digit colour: columns 0 to 2 of both rows (exact and
    // near pixels at a tolerance of 10), none at all in the background.
    const Box box = ColourBounds(pixels, 3, 2, {0x00, 0x80, 0xFF}, 10);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 3);
    EXPECT_EQ(box.bottom, 2);
    EXPECT_EQ(ColourBounds(pixels + 3, 1, 1, {0x00, 0x80, 0xFF}, 10).right, 0);
}

} // namespace
} // namespace brevalo::bench
