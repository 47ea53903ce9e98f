// Opening and saving a table document, set against a plain read and write
// of 280 bytes of the same file in the same run. Saving writes a temporary
// beside the file and renames it over the file; it is measured with and
// without waiting for the disk (fsync), and the plain write likewise.
#include "app/main.h"
#include "bench/support/recording_reporter.h"
#include "document/document.h"
#include "files/file.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/testing.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

std::string folder;
std::string documentPath()
{
    return folder + "/bench.qrtb";
}

void writeDocumentFile()
{
    tData data{};
    QRLCalculateTable(&data, kDistanceUnitMeters, 5.0, 50.0, 30e-6, fullFrameDigital);
    std::uint8_t image[kDocumentFileSize];
    BEncodeData(&data, image);
    int fd = open(documentPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, image, sizeof image) != long(sizeof image))
        std::abort();
    close(fd);
}

void BM_PlainRead(benchmark::State &state)
{
    writeDocumentFile();
    std::uint8_t buffer[kDocumentFileSize];
    for (auto _ : state) {
        int fd = open(documentPath().c_str(), O_RDONLY);
        benchmark::DoNotOptimize(read(fd, buffer, sizeof buffer));
        close(fd);
    }
}
BENCHMARK(BM_PlainRead)->UseRealTime();

void BM_PlainWrite(benchmark::State &state)
{
    const bool flush = state.range(0) != 0;
    std::uint8_t buffer[kDocumentFileSize] = {1};
    for (auto _ : state) {
        int fd = open(documentPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(write(fd, buffer, sizeof buffer));
        if (flush)
            fsync(fd);
        close(fd);
    }
}
BENCHMARK(BM_PlainWrite)->Arg(0)->Arg(1)->UseRealTime();

// The file into a document: open, read into the record, close.
void BM_ReadDocumentFile(benchmark::State &state)
{
    writeDocumentFile();
    tDocumentPtr document = BGetDocumentWindowsDocPtr(BGetDocumentWindowByIndex(0));
    document->filePath = documentPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(BReadFile(document));
    document->filePath.clear();
}
BENCHMARK(BM_ReadDocumentFile)->UseRealTime();

// Opening as the user does: a new window with the table drawn, closed again.
void BM_OpenDocument(benchmark::State &state)
{
    writeDocumentFile();
    for (auto _ : state) {
        BDoOpenFile(documentPath());
        BCloseDocument(BGetDocumentWindowByIndex(std::int16_t(BGetNumberOfDocuments() - 1)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_OpenDocument)->UseRealTime();

// Save in place of a document that has its file.
void BM_SaveDocument(benchmark::State &state)
{
    const bool flush = state.range(0) != 0;
    writeDocumentFile();
    tDocumentPtr document = BGetDocumentWindowsDocPtr(BGetDocumentWindowByIndex(0));
    document->filePath = documentPath();
    BSetSaveFlushesToDisk(flush);
    for (auto _ : state) {
        BSetDocumentDirty(document, 1);
        if (BWriteFile(document).failed())
            state.SkipWithError("save failed");
    }
    document->filePath.clear();
}
BENCHMARK(BM_SaveDocument)->Arg(0)->Arg(1)->UseRealTime();

void printRatio(const std::map<std::string, double> &times, const char *name, const char *baseline)
{
    const auto t = times.find(name);
    const auto b = times.find(baseline);
    if (t != times.end() && b != times.end() && b->second > 0.0)
        std::printf("  %-28s %9.2fx  %s\n", name, t->second / b->second, baseline);
}

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

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchsupport::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nTime per call relative to the plain operation of the same run:\n");
    printRatio(reporter.times, "BM_ReadDocumentFile", "BM_PlainRead");
    printRatio(reporter.times, "BM_OpenDocument", "BM_PlainRead");
    printRatio(reporter.times, "BM_SaveDocument/0", "BM_PlainWrite/0");
    printRatio(reporter.times, "BM_SaveDocument/1", "BM_PlainWrite/0");
    printRatio(reporter.times, "BM_SaveDocument/1", "BM_PlainWrite/1");
    return 0;
}
