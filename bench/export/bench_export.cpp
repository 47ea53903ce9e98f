// Exporting ten tables into one PDF document (the renderer that File ▸
// Export… and `quorlscope export --to kit.pdf` use, the file written as an
// export writes it), set against the baseline of printing one table into a
// PDF file as the user does (Print, the dialog confirmed, the print loop), in
// the same run.
#include "app/main.h"
#include "bench/support/print_dialog.h"
#include "bench/support/recording_reporter.h"
#include "document/document.h"
#include "model/data.h"
#include "platform/application.h"
#include "platform/atomicsave.h"
#include "print/pdfexport.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

std::string folder;
constexpr int kTables = 10;

struct Record {
    tDataPtr data = QRLNewDataPtr();
    ~Record() { QRLDeleteDataPtr(data); }
};

// File ▸ Print, the item the user chooses.
void BM_PrintOneTable(benchmark::State &state)
{
    for (auto _ : state) {
        if (!benchsupport::printInto(folder + "/printed.pdf")) {
            state.SkipWithError("no print dialog");
            break;
        }
    }
}
BENCHMARK(BM_PrintOneTable)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportTenTablesToPDF(benchmark::State &state)
{
    std::vector<std::unique_ptr<Record>> records;
    std::vector<tExportTable> tables;
    for (int i = 0; i < kTables; ++i) {
        records.push_back(std::make_unique<Record>());
        QRLCalculateTable(records.back()->data, kDistanceUnitMeters, 2.0 + i, 24.0 + 10 * i, 30e-6,
                          fullFrameDigital);
        tables.push_back({"lens " + std::to_string(i + 1), records.back()->data});
    }
    const std::string target = folder + "/kit.pdf";
    for (auto _ : state) {
        const std::optional<std::string> pdf = QRLTablesAsPDF(tables, QRLDefaultSheetBounds());
        if (!pdf || SaveFile(target, QByteArray::fromStdString(*pdf), Replace::unlocked, true).failed()) {
            state.SkipWithError("no PDF");
            break;
        }
    }
}
BENCHMARK(BM_ExportTenTablesToPDF)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    folder = scratch.path().toStdString();
    qputenv("HOME", scratch.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", scratch.path().toLocal8Bit());
    const platform::ApplicationGuard run; // the application ends when main returns
    platform::initialize(argc, argv, platform::StartOptions{true});
    BInitApplication();
    platform::runEventLoop(); // headless: marks the loop running and returns
    tDataPtr data = BGetCurrentDocsDataPtr();
    QRLCalculateTable(data, kDistanceUnitMeters, 3.0, 50.0, 33e-6, thirtyFive);
    QRLSetDataValid(data, true);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchsupport::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto kit = reporter.times.find("BM_ExportTenTablesToPDF");
    const auto one = reporter.times.find("BM_PrintOneTable");
    if (kit != reporter.times.end() && one != reporter.times.end() && one->second > 0.0)
        std::printf("\nTen tables exported to one PDF relative to printing one table to PDF: %.2fx "
                    "(%.2fx per table)\n",
                    kit->second / one->second, kit->second / one->second / kTables);
    return 0;
}
