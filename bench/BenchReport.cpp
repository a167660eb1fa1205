#include "BenchReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brevalo::bench {

namespace {

std::string Number(double value, int decimals) {
    if (!std::isfinite(value) || value < 0)
        return "n/a";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// Ratio of two measured values, "n/a" when either is missing or the
// baseline is zero.
double Ratio(double value, double base) {
    if (!std::isfinite(value) || !std::isfinite(base) || value < 0 || base <= 0)
        return NAN;
    return value / base;
}

std::string Verdict(bool known, bool pass) {
    return !known ? "n/a" : pass ? "pass" : "FAIL";
}

std::string Row(const std::string& measure, const std::string& brevalo, const std::string& baseline,
                const std::string& ratio, const std::string& target, const std::string& result) {
    return "| " + measure + " | " + brevalo + " | " + baseline + " | " + ratio + " | " + target +
           " | " + result + " |\n";
}

std::string RatioRow(const std::string& measure, double brevalo, double baseline, int decimals,
                     double limit) {
    const double ratio = Ratio(brevalo, baseline);
    const bool known = std::isfinite(ratio);
    return Row(measure, Number(brevalo, decimals), Number(baseline, decimals),
               known ? Number(ratio, 2) + "x" : "n/a", "at most " + Number(limit, 2) + "x",
               Verdict(known, ratio <= limit));
}

std::string List(const std::vector<double>& values) {
    std::string text;
    for (double v : values) {
        if (!text.empty())
            text += ", ";
        text += std::isfinite(v) ? Number(v, 0) : "none";
    }
    return text;
}

} // namespace

double Median(std::vector<double> values) {
    values.erase(
        std::remove_if(values.begin(), values.end(), [](double v) { return !std::isfinite(v); }),
        values.end());
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

int CountAtMost(const std::vector<double>& values, double limit) {
    return int(std::count_if(values.begin(), values.end(),
                             [limit](double v) { return std::isfinite(v) && v <= limit; }));
}

int CountWithin(const std::vector<double>& values, double low, double high) {
    return int(std::count_if(values.begin(), values.end(), [low, high](double v) {
        return std::isfinite(v) && v >= low && v <= high;
    }));
}

std::int64_t ExeLimit(bool sixtyFourBit) {
    return sixtyFourBit ? 1'200'000 : 1'000'000;
}

std::string ReportTable(const ProgramResults& brevalo, const ProgramResults& baseline,
                        const Targets& targets) {
    std::string table = Row("Measure", "Brevalo", "Baseline", "Ratio", "Target", "Result");
    table += "|---|---:|---:|---:|---|---|\n";
    table += RatioRow("CPU time per minute of counting (ms)", brevalo.cpuMsPerMinute,
                      baseline.cpuMsPerMinute, 0, targets.cpuRatio);
    table += RatioRow("Peak working set (MiB)", brevalo.peakWorkingSetMiB,
                      baseline.peakWorkingSetMiB, 1, targets.workingSetRatio);
    const double startupLimit = targets.loaded ? targets.loadedStartupRatio : targets.startupRatio;
    table += RatioRow(std::string("Start-up to first painted digits, median (ms)") +
                          (targets.loaded ? ", loaded machine" : ""),
                      Median(brevalo.startupMs), Median(baseline.startupMs), 0, startupLimit);

    const auto windowRatio = Ratio(Median(brevalo.windowMs), Median(baseline.windowMs));
    table += Row("Start-up to the visible window, median (ms)", Number(Median(brevalo.windowMs), 0),
                 Number(Median(baseline.windowMs), 0),
                 std::isfinite(windowRatio) ? Number(windowRatio, 2) + "x" : "n/a", "none",
                 "for information");

    // Latency: absolute limits, on the median and on all runs but the
    // allowed misses.
    const auto latencyCell = [&](const ProgramResults& r) {
        return Number(Median(r.latencyMs), 0) + " (" +
               std::to_string(CountAtMost(r.latencyMs, targets.latencyMs)) + "/" +
               std::to_string(r.latencyMs.size()) + " within " + Number(targets.latencyMs, 0) +
               ")";
    };
    const int runs = int(brevalo.latencyMs.size());
    const int within = CountAtMost(brevalo.latencyMs, targets.latencyMs);
    const double median = Median(brevalo.latencyMs);
    table += Row("Completion latency, median (ms)", latencyCell(brevalo), latencyCell(baseline),
                 Number(Ratio(median, Median(baseline.latencyMs)), 2) + "x",
                 "median at most " + Number(targets.latencyMedianMs, 0) + " ms, at most " +
                     Number(targets.latencyMs, 0) + " ms in " +
                     std::to_string(std::max(0, runs - targets.latencyMisses)) + " of " +
                     std::to_string(runs) + " runs",
                 Verdict(runs > 0, median <= targets.latencyMedianMs &&
                                       within >= runs - targets.latencyMisses));

    // The seconds digit: a change before the true second is no better than
    // a late one.
    const auto lagCell = [&](const ProgramResults& r) {
        if (r.secondsLagMs.empty())
            return std::string("n/a");
        return Number(Median(r.secondsLagMs), 0) + " (" +
               std::to_string(CountWithin(r.secondsLagMs, 0, targets.secondsLagMs)) + "/" +
               std::to_string(r.secondsLagMs.size()) + " within " +
               Number(targets.secondsLagMs, 0) + ")";
    };
    const int seconds = int(brevalo.secondsLagMs.size());
    const int onTime = CountWithin(brevalo.secondsLagMs, 0, targets.secondsLagMs);
    table += Row("Seconds digit after the true second, median (ms)", lagCell(brevalo),
                 lagCell(baseline), "n/a",
                 "0 to " + Number(targets.secondsLagMs, 0) + " ms in " +
                     Number(targets.secondsShare * 100, 0) + "% of the seconds",
                 Verdict(seconds > 0, onTime >= targets.secondsShare * seconds));

    // Many timers against one, both Brevalo's.
    const double perTimer = brevalo.cpuMsPerMinute;
    const double manyRatio = Ratio(brevalo.manyTimersCpuMsPerMinute, perTimer);
    table += Row(std::to_string(brevalo.manyTimers) + " timers at once, CPU time per minute (ms)",
                 Number(brevalo.manyTimersCpuMsPerMinute, 0),
                 "one timer: " + Number(perTimer, 0),
                 std::isfinite(manyRatio) ? Number(manyRatio, 1) + "x" : "n/a",
                 "at most " + Number(targets.manyTimersRatio, 0) + "x one timer",
                 Verdict(std::isfinite(manyRatio) && brevalo.manyTimers > 0,
                         manyRatio <= targets.manyTimersRatio));

    const auto bytes = [](std::int64_t n) {
        return n < 0 ? std::string("n/a") : std::to_string(n) + " B";
    };
    table += Row("Executable size", bytes(brevalo.exeBytes), bytes(baseline.exeBytes),
                 Number(Ratio(double(brevalo.exeBytes), double(baseline.exeBytes)), 1) + "x",
                 "at most " + bytes(targets.exeBytes),
                 Verdict(brevalo.exeBytes >= 0, brevalo.exeBytes <= targets.exeBytes));
    return table;
}

std::string RunDetails(const ProgramResults& brevalo, const ProgramResults& baseline) {
    return "- Start-up per run (ms), Brevalo: " + List(brevalo.startupMs) + "\n" +
           "- Start-up per run (ms), baseline: " + List(baseline.startupMs) + "\n" +
           "- Visible window per run (ms), Brevalo: " + List(brevalo.windowMs) + "\n" +
           "- Visible window per run (ms), baseline: " + List(baseline.windowMs) + "\n" +
           "- Completion latency per run (ms), Brevalo: " + List(brevalo.latencyMs) + "\n" +
           "- Completion latency per run (ms), baseline: " + List(baseline.latencyMs) + "\n" +
           "- Seconds digit after each true second (ms), Brevalo: " + List(brevalo.secondsLagMs) +
           "\n";
}

} // namespace brevalo::bench
