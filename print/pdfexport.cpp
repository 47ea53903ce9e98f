// Tables as a PDF document. The sheet is the printed one, painted by what
// the caller gives on the page's painter, so the document looks as a
// printout of the same tables does; the figures block below it comes from
// QRLGetTableFigures and is drawn into the page's port.
#include "print/pdfexport.h"

#include "model/figures.h"
#include "platform/pdfcontext.h"
#include "platform/quickdraw.h"
#include "platform/strings.h"

#include <QCoreApplication>
#include <cmath>

namespace
{

// The block's geometry, in points. The sheet's last aperture row starts 420
// below its top and is 30 high, whatever the window's size.
constexpr short kSheetContentHeight = 450;
constexpr short kGapAboveBlock = 16;
constexpr short kTitleHeight = 20;
constexpr short kSubtitleHeight = 18;
constexpr short kHeadingHeight = 36; // up to three lines
constexpr short kRowHeight = 14;
constexpr short kBlockHeight =
    kTitleHeight + kSubtitleHeight + kHeadingHeight + kRowHeight * kNumberOfApertures;
constexpr short kColumnWidth = 62;
constexpr int kColumns = 8;

void drawBox(short left, short top, short width, short height, const std::string &text)
{
    Rect frame;
    SetRect(&frame, left, top, short(left + width), short(top + height));
    TXNDrawCFStringTextBox(text, &frame);
}

// A figure as the sheet writes numbers: "inf" for no limit, "-" for no value.
std::string figureText(double value, const char *format = "%.3f")
{
    if (std::isnan(value))
        return "-";
    if (std::isinf(value))
        return "inf";
    return CFStringCreateWithFormat(format, value);
}

void drawHeadings(short left, short top)
{
    const std::string headings[kColumns] = {
        QCoreApplication::translate("Program", "Aperture").toStdString(),
        QCoreApplication::translate("Program", "Hyperfocal distance").toStdString(),
        QCoreApplication::translate("Program", "Total depth").toStdString(),
        QCoreApplication::translate("Program", "In front").toStdString(),
        QCoreApplication::translate("Program", "Behind").toStdString(),
        QCoreApplication::translate("Program", "Behind / in front").toStdString(),
        QCoreApplication::translate("Program", "Airy disc (µm)").toStdString(),
        QCoreApplication::translate("Program", "Diffraction").toStdString()};
    TextFace(bold);
    for (int column = 0; column < kColumns; ++column)
        drawBox(short(left + column * kColumnWidth), top, short(kColumnWidth - 4), kHeadingHeight,
                headings[column]);
    TextFace(normal);
}

void drawFigureRow(short left, short top, const tApertureFigures &row)
{
    const std::string cells[kColumns] = {
        CFStringCreateWithFormat("%.1f", row.aperture),
        figureText(row.hyperfocalDistance),
        figureText(row.totalDepth),
        figureText(row.depthInFront),
        figureText(row.depthBehind),
        figureText(row.behindToFrontRatio, "%.2f"),
        CFStringCreateWithFormat("%.1f", row.airyDiscMicroMeter),
        row.diffractionLimited ? QCoreApplication::translate("Program", "softens").toStdString() : ""};
    for (int column = 0; column < kColumns; ++column)
        drawBox(short(left + column * kColumnWidth), top, short(kColumnWidth - 4), kRowHeight, cells[column]);
}

// The figures block of one table from top down: its title, what it shows,
// and a row per aperture (or a line saying there is no table yet).
void drawFiguresBlock(const tExportTable &table, short left, short top, short width)
{
    TextSize(12);
    TextFace(bold);
    drawBox(left, top, width, kTitleHeight, table.title);
    TextFace(normal);
    TextSize(9);
    top = short(top + kTitleHeight);
    tTableFigures figures;
    if (!QRLGetTableFigures(table.dataPtr, &figures)) {
        drawBox(left, top, width, kSubtitleHeight,
                QCoreApplication::translate("Program", "No table has been computed.").toStdString());
        TextSize(12);
        return;
    }
    const bool feet = QRLGetDistanceUnit(table.dataPtr) == kDistanceUnitFeet;
    drawBox(
        left, top, width, kSubtitleHeight,
        feet
            ? QCoreApplication::translate("Program", "Figures per aperture; distances in feet.").toStdString()
            : QCoreApplication::translate("Program", "Figures per aperture; distances in metres.")
                  .toStdString());
    top = short(top + kSubtitleHeight);
    drawHeadings(left, top);
    top = short(top + kHeadingHeight);
    for (int i = 0; i < kNumberOfApertures; ++i)
        drawFigureRow(left, short(top + i * kRowHeight), figures.rows[i]);
    TextSize(12);
}

// One table: the sheet on a page of its own, the block below it when it
// fits, else on the next page.
OSStatus drawTable(PDFContextRef context, const tExportTable &table, const Rect &sheetBounds,
                   tDrawSheetProc drawSheet, const Rect &page)
{
    GrafPtr port = nullptr;
    OSStatus status = PDFContextBeginPage(context, &port);
    if (status != noErr)
        return status;
    GrafPtr savedPort;
    GetPort(&savedPort);
    SetPort(port);
    drawSheet(*pdfPagePainter(context), sheetBounds, table.dataPtr);
    short blockTop = short(sheetBounds.top + kSheetContentHeight + kGapAboveBlock);
    if (blockTop + kBlockHeight > page.bottom) {
        SetPort(savedPort);
        status = PDFContextEndPage(context);
        if (status == noErr)
            status = PDFContextBeginPage(context, &port);
        if (status != noErr)
            return status;
        SetPort(port);
        blockTop = 0;
    }
    drawFiguresBlock(table, short(sheetBounds.left + 20), blockTop,
                     short(page.right - sheetBounds.left - 20));
    SetPort(savedPort);
    return PDFContextEndPage(context);
}

std::string documentTitle(const std::vector<tExportTable> &tables)
{
    std::string title;
    for (const tExportTable &table : tables)
        title += (title.empty() ? "" : ", ") + table.title;
    return title;
}

} // namespace

Rect QRLDefaultSheetBounds()
{
    Rect bounds;
    SetRect(&bounds, 0, 0, 420, 480);
    return bounds;
}

OSStatus QRLTablesAsPDF(const std::vector<tExportTable> &tables, const Rect &sheetBounds,
                        tDrawSheetProc drawSheet, std::string *outPDF)
{
    if (!outPDF || !drawSheet || tables.empty())
        return paramErr;
    outPDF->clear();
    PDFContextRef context = nullptr;
    OSStatus status = PDFContextCreate(documentTitle(tables), &context);
    if (status != noErr)
        return status;
    Rect page;
    PDFContextGetPageBounds(context, &page);
    for (const tExportTable &table : tables) {
        status = drawTable(context, table, sheetBounds, drawSheet, page);
        if (status != noErr)
            break;
    }
    if (status == noErr)
        status = PDFContextClose(context, outPDF);
    PDFContextRelease(context);
    if (status != noErr)
        outPDF->clear();
    return status;
}
