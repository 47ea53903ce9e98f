// Printing one table sheet into a PDF file as the user does it (the print
// command, the dialog confirmed, the print loop),
// set against a bare QPrinter and QPainter that write a PDF page with the
// same number of texts, the same line and the same picture, in the same run.
#include "app/main.h"
#include "bench/support/print_dialog.h"
#include "bench/support/recording_reporter.h"
#include "document/document.h"
#include "model/data.h"
#include "platform/application.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{

std::string folder;
// What the computed sheet draws: 44 texts, one rule, one picture.
constexpr int kSheetTexts = 44;

std::string pdfPath(const char *name)
{
    return folder + "/" + name + ".pdf";
}

void BM_BareQPrinterPdf(benchmark::State &state)
{
    const QImage picture(32, 32, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdfPath("bare")));
        printer.setDocName(QStringLiteral("Untitled "));
        QPainter painter;
        if (!painter.begin(&printer)) {
            state.SkipWithError("cannot print");
            break;
        }
        const double scale = printer.resolution() / 72.0;
        painter.scale(scale, scale);
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(12);
        painter.setFont(font);
        painter.drawLine(10, 90, 410, 90);
        painter.drawImage(QRect(312, 62, 32, 32), picture);
        for (int i = 0; i < kSheetTexts; ++i)
            painter.drawText(QRect(20 + (i % 4) * 90, 20 + (i / 4) * 30, 400, 460),
                             Qt::TextWordWrap | Qt::AlignTop | Qt::AlignLeft,
                             QStringLiteral(" %1.345").arg(i));
        painter.end();
    }
}
BENCHMARK(BM_BareQPrinterPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrintTable(benchmark::State &state)
{
    for (auto _ : state) {
        if (!benchsupport::printInto(pdfPath("table"))) {
            state.SkipWithError("no print dialog");
            break;
        }
    }
    if (!QFileInfo::exists(QString::fromStdString(pdfPath("table"))))
        state.SkipWithError("page missing");
}
BENCHMARK(BM_PrintTable)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    const auto table = reporter.times.find("BM_PrintTable");
    const auto bare = reporter.times.find("BM_BareQPrinterPdf");
    if (table != reporter.times.end() && bare != reporter.times.end() && bare->second > 0.0)
        std::printf(
            "\nOne table page to PDF relative to a bare QPrinter + QPainter page: %.2fx (target 1.5)\n",
            table->second / bare->second);
    return 0;
}
