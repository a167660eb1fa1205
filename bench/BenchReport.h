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
    // How long after each true second the seconds digit changed on the
    // screen, for consecutive seconds (negative: before it).
    std::vector<double> secondsLagMs;
    // Many timers counting at once: how many, and their CPU time together.
    int manyTimers = 0;
    double manyTimersCpuMsPerMinute = -1;
};

struct Targets {
    double cpuRatio = 1.15;
    double startupRatio = 1.15;
    // The start-up target while other work loads the machine.
    double loadedStartupRatio = 1.3;
    bool loaded = false;
    double workingSetRatio = 1.3;
    // Completion latency: the median, and the limit all runs but the
    // allowed misses meet.
    double latencyMedianMs = 15;
    double latencyMs = 30;
    int latencyMisses = 1;
    // The seconds digit: this share of the seconds changes within the limit.
    double secondsLagMs = 30;
    double secondsShare = 0.95;
    // Many timers cost at most this many times one timer's CPU.
    double manyTimersRatio = 50;
    std::int64_t exeBytes = 1'000'000;
};

// The size limit of the executable of the flavour (32-bit or 64-bit).
std::int64_t ExeLimit(bool sixtyFourBit);

// The median of the finite values; NaN when there is none.
double Median(std::vector<double> values);
// How many values are finite and at most the limit.
int CountAtMost(const std::vector<double>& values, double limit);
// How many values are finite and within [low, high].
int CountWithin(const std::vector<double>& values, double low, double high);

// One row per target: measure, Brevalo, baseline, ratio, target, result.
std::string ReportTable(const ProgramResults& brevalo, const ProgramResults& baseline,
                        const Targets& targets = {});
// The raw values of every run, for the record.
std::string RunDetails(const ProgramResults& brevalo, const ProgramResults& baseline);

} // namespace brevalo::bench
