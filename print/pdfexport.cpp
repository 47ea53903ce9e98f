// Tables as a PDF document, painted page by page in points. The sheet is
// the printed one, painted by what the caller gives, so the document looks
// as a printout of the same tables does; the figures block below it comes
// from QRLGetTableFigures, in the sheet's face.
#include "print/pdfexport.h"

#include "document/sheet.h"
#include "model/figures.h"
#include "platform/bundle.h"
#include "print/pages.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
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

// The block's texts in the sheet's face, at 9 pixels (points on the page)
// below the 12 of its title.
QFont blockFont(int pixelSize, bool bold)
{
    QFont font = sheetFont();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void drawBox(QPainter &painter, int left, int top, int width, int height, const QString &text)
{
    painter.drawText(QRect(left, top, width, height), Qt::TextWordWrap | Qt::AlignTop | Qt::AlignLeft, text);
}

// A figure as the sheet writes numbers: "inf" for no limit, "-" for no value.
QString figureText(double value, const char *format = "%.3f")
{
    if (std::isnan(value))
        return QStringLiteral("-");
    if (std::isinf(value))
        return QStringLiteral("inf");
    return QString::asprintf(format, value);
}

void drawHeadings(QPainter &painter, int left, int top)
{
    const QString headings[kColumns] = {QCoreApplication::translate("Program", "Aperture"),
                                        QCoreApplication::translate("Program", "Hyperfocal distance"),
                                        QCoreApplication::translate("Program", "Total depth"),
                                        QCoreApplication::translate("Program", "In front"),
                                        QCoreApplication::translate("Program", "Behind"),
                                        QCoreApplication::translate("Program", "Behind / in front"),
                                        QCoreApplication::translate("Program", "Airy disc (µm)"),
                                        QCoreApplication::translate("Program", "Diffraction")};
    painter.setFont(blockFont(9, true));
    for (int column = 0; column < kColumns; ++column)
        drawBox(painter, left + column * kColumnWidth, top, kColumnWidth - 4, kHeadingHeight,
                headings[column]);
    painter.setFont(blockFont(9, false));
}

void drawFigureRow(QPainter &painter, int left, int top, const tApertureFigures &row)
{
    const QString cells[kColumns] = {
        QString::asprintf("%.1f", row.aperture),
        figureText(row.hyperfocalDistance),
        figureText(row.totalDepth),
        figureText(row.depthInFront),
        figureText(row.depthBehind),
        figureText(row.behindToFrontRatio, "%.2f"),
        QString::asprintf("%.1f", row.airyDiscMicroMeter),
        row.diffractionLimited ? QCoreApplication::translate("Program", "softens") : QString()};
    for (int column = 0; column < kColumns; ++column)
        drawBox(painter, left + column * kColumnWidth, top, kColumnWidth - 4, kRowHeight, cells[column]);
}

// The figures block of one table from top down: its title, what it shows,
// and a row per aperture (or a line saying there is no table yet).
void drawFiguresBlock(QPainter &painter, const tExportTable &table, int left, int top, int width)
{
    painter.setPen(Qt::black);
    painter.setFont(blockFont(12, true));
    drawBox(painter, left, top, width, kTitleHeight, QString::fromStdString(table.title));
    painter.setFont(blockFont(9, false));
    top += kTitleHeight;
    tTableFigures figures;
    if (!QRLGetTableFigures(table.dataPtr, &figures)) {
        drawBox(painter, left, top, width, kSubtitleHeight,
                QCoreApplication::translate("Program", "No table has been computed."));
        return;
    }
    const bool feet = QRLGetDistanceUnit(table.dataPtr) == kDistanceUnitFeet;
    drawBox(painter, left, top, width, kSubtitleHeight,
            feet ? QCoreApplication::translate("Program", "Figures per aperture; distances in feet.")
                 : QCoreApplication::translate("Program", "Figures per aperture; distances in metres."));
    top += kSubtitleHeight;
    drawHeadings(painter, left, top);
    top += kHeadingHeight;
    for (int i = 0; i < kNumberOfApertures; ++i)
        drawFigureRow(painter, left, top + i * kRowHeight, figures.rows[i]);
}

// The paper of the user's region (A4, or Letter where inches are the
// custom) with half-inch margins.
QPageLayout regionalPageLayout()
{
    const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

// One table: the sheet on a page of its own, the block below it when it
// fits, else on the next page. page is the printable area's size in points.
bool drawTable(QPdfWriter &writer, PaintedPages &pages, const tExportTable &table, const QRect &sheetBounds,
               tDrawSheetProc drawSheet, const QSizeF &page)
{
    const double dotsPerPoint = writer.resolution() / 72.0;
    if (!pages.beginPage(writer, dotsPerPoint))
        return false;
    drawSheet(*pages.painter, sheetBounds, table.dataPtr);
    int blockTop = sheetBounds.top() + kSheetContentHeight + kGapAboveBlock;
    if (blockTop + kBlockHeight > int(page.height())) {
        pages.endPage();
        if (!pages.beginPage(writer, dotsPerPoint))
            return false;
        blockTop = 0;
    }
    drawFiguresBlock(*pages.painter, table, sheetBounds.left() + 20, blockTop,
                     int(page.width()) - sheetBounds.left() - 20);
    pages.endPage();
    return true;
}

std::string documentTitle(const std::vector<tExportTable> &tables)
{
    std::string title;
    for (const tExportTable &table : tables)
        title += (title.empty() ? "" : ", ") + table.title;
    return title;
}

} // namespace

QRect QRLDefaultSheetBounds()
{
    return QRect(0, 0, 420, 480);
}

std::optional<std::string> QRLTablesAsPDF(const std::vector<tExportTable> &tables, const QRect &sheetBounds,
                                          tDrawSheetProc drawSheet)
{
    // Fonts are needed: no PDF without a GUI application.
    if (!drawSheet || tables.empty() || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return std::nullopt;
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    QPdfWriter writer(&buffer);
    writer.setPageLayout(regionalPageLayout());
    writer.setTitle(QString::fromStdString(documentTitle(tables)));
    writer.setCreator(QString::fromStdString(platform::bundleName()));
    const QSizeF page = writer.pageLayout().paintRect(QPageLayout::Point).size();
    PaintedPages pages;
    for (const tExportTable &table : tables)
        if (!drawTable(writer, pages, table, sheetBounds, drawSheet, page))
            return std::nullopt;
    if (!pages.finish())
        return std::nullopt;
    buffer.close();
    return buffer.data().toStdString();
}
