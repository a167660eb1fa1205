// The measured numbers of one program and the Markdown table that compares
// the timer with the baseline against the targets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brevalo::bench {

struct ProgramResults {
    // Negative: not measured.
    double cpuMsPerMinute = -1;
    double peakWorkingSetMiB = -1;
    std::int64_t exeBytes = -1;
    // One entry per run; a run that never showed digits or never announced
    // completion holds NaN.
    std::vector<double> startupMs;
    // Start to the first visible window (digits or not): where the start-up
    // time goes.
    std::vector<double> windowMs;
    std::vector<double> latencyMs;
};

struct Targets {
    double cpuRatio = 1.5;
    double startupRatio = 1.5;
    double workingSetRatio = 2.0;
    double latencyMs = 250;
    // Of all runs, at most this many may exceed the latency limit.
    int latencyMisses = 1;
    std::int64_t exeBytes = 2 * 1024 * 1024;
};

// The median of the finite values; NaN when there is none.
double Median(std::vector<double> values);
// How many values are finite and at most the limit.
int CountAtMost(const std::vector<double>& values, double limit);

// One row per target: measure, Brevalo, baseline, ratio, target, result.
std::string ReportTable(const ProgramResults& brevalo, const ProgramResults& baseline,
                        const Targets& targets = {});
// The raw values of every run, for the record.
std::string RunDetails(const ProgramResults& brevalo, const ProgramResults& baseline);

} // namespace brevalo::bench
