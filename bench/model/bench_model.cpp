// Cost of one depth-of-field table, with and without the preference read, and
// of a focus bracketing plan, set against a baseline of the ten bare divisions
// the table needs. After the runs, each figure is printed as a ratio to the
// baseline of the same run, and the plan as a ratio to the table.
#include "bench/support/recording_reporter.h"
#include "model/bracketing.h"
#include "model/data.h"
#include "platform/prefs.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{

const char kBaselineName[] = "BM_TenDivisions";

// The ten near/far quotients alone: the floor under any table calculation.
void BM_TenDivisions(benchmark::State &state)
{
    const double apertures[kNumberOfApertures] = {1.4, 2.0, 2.8, 4.0, 5.6, 8.0, 11.0, 16.0, 22.0, 32.0};
    double ff = 0.0025;
    double ubyawithf = -0.0001485;
    double aff = 0.0125;
    double results[kNumberOfApertures];
    for (auto _ : state) {
        benchmark::DoNotOptimize(ff);
        benchmark::DoNotOptimize(ubyawithf);
        benchmark::DoNotOptimize(aff);
        for (int i = 0; i < kNumberOfApertures; ++i)
            results[i] = aff / (ff + apertures[i] * ubyawithf);
        benchmark::DoNotOptimize(results);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TenDivisions);

void BM_CalculateTableInUnit(benchmark::State &state)
{
    tData data{};
    const std::int32_t unit = static_cast<std::int32_t>(state.range(0));
    double distance = 5.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(distance);
        QRLCalculateTable(&data, unit, distance, 50.0, 0.00003, fullFrameDigital);
        benchmark::DoNotOptimize(data);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CalculateTableInUnit)->Arg(kDistanceUnitMeters)->Arg(kDistanceUnitFeet);

// The calculation alone; the caller gives the distance unit.
void BM_CalculateTable(benchmark::State &state)
{
    tData data{};
    double distance = 5.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(distance);
        QRLCalculateTable(&data, kDistanceUnitMeters, distance, 50.0, 0.00003, fullFrameDigital);
        benchmark::DoNotOptimize(data);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CalculateTable);

// A bracketing plan for a landscape, from 1 m to infinity at f/8 (six shots):
// set against one table below.
void BM_PlanBracketing(benchmark::State &state)
{
    tBracketingArguments arguments = {50.0, 8.0,      0.00003, fullFrameDigital,
                                      1.0,  HUGE_VAL, 0.1,     kDistanceUnitMeters};
    for (auto _ : state) {
        benchmark::DoNotOptimize(arguments);
        tBracketingPlan plan = QRLPlanBracketing(arguments);
        benchmark::DoNotOptimize(plan);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlanBracketing);

void PrintRatios(const std::map<std::string, double> &times)
{
    const auto baseline = times.find(kBaselineName);
    if (baseline == times.end() || baseline->second <= 0.0)
        return;
    std::printf("\nTime per call relative to %s (same run):\n", kBaselineName);
    for (const auto &[name, time] : times)
        std::printf("  %-32s %8.2fx\n", name.c_str(), time / baseline->second);
    const auto plan = times.find("BM_PlanBracketing"), table = times.find("BM_CalculateTable");
    if (plan != times.end() && table != times.end() && table->second > 0.0)
        std::printf("\nA bracketing plan relative to one table (same run): %.2fx\n",
                    plan->second / table->second);
}

} // namespace

int main(int argc, char **argv)
{
    // Keep the preference store in a scratch folder, away from the user's own.
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    platform::preferences().setValue("Distance Unit", kDistanceUnitMeters);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchsupport::RecordingReporter reporter(benchsupport::RecordingReporter::Clock::cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintRatios(reporter.times);
    return 0;
}
