// Times the compute command as the user gives it (table parameters window
// built, filled, checked, computed, closed, sheet redrawn) against the bare
// calculation of the same table.
#include "model/data.h"
#include "platform/application.h"
#include "tests/support/app_driver.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace
{

std::map<std::string, double> &perCall()
{
    static std::map<std::string, double> times;
    return times;
}

void BM_BareCalculation(benchmark::State &state)
{
    tData data{};
    for (auto _ : state) {
        QRLCalculateTable(&data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, fullFrameDigital);
        benchmark::DoNotOptimize(data);
    }
}

void BM_ComputeCommand(benchmark::State &state)
{
    const qrltest::TableEntry entry{std::string("5"), std::string("50"), 2, std::string("30"), true};
    for (auto _ : state) {
        qrltest::ComputeTable(entry);
        ProcessPendingEvents(); // the disposed window's widgets go, as the event loop would do
    }
}

} // namespace

BENCHMARK(BM_BareCalculation);
BENCHMARK(BM_ComputeCommand)->Unit(benchmark::kMicrosecond);

// Prints each benchmark's time per call and the ratio of the compute command
// to the bare calculation.
class RatioReporter : public benchmark::ConsoleReporter
{
  public:
    RatioReporter() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            perCall()[run.benchmark_name()] = run.GetAdjustedRealTime() * unitScale(run.time_unit);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double bare = perCall()["BM_BareCalculation"];
        const double command = perCall()["BM_ComputeCommand"];
        if (bare > 0)
            std::printf("compute command to redrawn sheet: %.1f us per call, %.0f x the bare calculation "
                        "(%.1f ns)\n",
                        command / 1000.0, command / bare, bare);
    }

  private:
    static double unitScale(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kMicrosecond:
            return 1e3;
        case benchmark::kMillisecond:
            return 1e6;
        case benchmark::kSecond:
            return 1e9;
        default:
            return 1.0;
        }
    }
};

int main(int argc, char **argv)
{
    const platform::ApplicationGuard run; // the application ends when main returns
    qrltest::StartApplication();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}
