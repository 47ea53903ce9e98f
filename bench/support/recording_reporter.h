// A console reporter for the benchmarks that also keeps each benchmark's
// time per iteration, so that a benchmark can print its ratio against the
// baseline measured in the same run.
#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace benchsupport
{

class RecordingReporter : public benchmark::ConsoleReporter
{
  public:
    enum class Clock { real, cpu };

    explicit RecordingReporter(Clock clock = Clock::real) : ConsoleReporter(OO_None), clock(clock) {}

    void ReportRuns(const std::vector<Run> &reports) override
    {
        for (const Run &run : reports)
            if (run.run_type == Run::RT_Iteration && !failed(run, 0))
                times[withoutSuffix(run.benchmark_name())] =
                    clock == Clock::real ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(reports);
    }

    // Keyed by the benchmark's name as registered, without "/real_time".
    std::map<std::string, double> times;

  private:
    // A run that ended in an error: error_occurred up to benchmark 1.7
    // (Debian 12), skipped from 1.8 on (Debian 13).
    template <typename R> static auto failed(const R &run, int) -> decltype(bool(run.error_occurred))
    {
        return run.error_occurred;
    }
    template <typename R> static bool failed(const R &run, long) { return static_cast<bool>(run.skipped); }

    static std::string withoutSuffix(std::string name)
    {
        const std::string suffix = "/real_time";
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            name.erase(name.size() - suffix.size());
        return name;
    }

    Clock clock;
};

} // namespace benchsupport
