// Tables as a PDF document, painted page by page in points: the printed
// sheet, so the document looks as a printout does, and the figures block.
#include "print/pdfexport.h"

#include "document/document.h"
#include "model/figures.h"
#include "platform/bundle.h"

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

// The block's geometry, in points. It starts 16 below the sheet's last
// aperture row, which starts 420 below its top and is 30 high.
constexpr int kBlockOffset = 450 + 16;
constexpr int kTitleHeight = 20;
constexpr int kSubtitleHeight = 18;
constexpr int kHeadingHeight = 36; // up to three lines
constexpr int kRowHeight = 14;
constexpr int kBlockHeight =
    kTitleHeight + kSubtitleHeight + kHeadingHeight + kRowHeight * kNumberOfApertures;
constexpr int kColumnWidth = 62;
constexpr int kColumns = 8;

void drawBox(QPainter &painter, int left, int top, int width, int height, const QString &text)
{
    painter.drawText(QRect(left, top, width, height), Qt::TextWordWrap | Qt::AlignTop | Qt::AlignLeft, text);
}

void drawRow(QPainter &painter, int left, int top, int height, const QString (&cells)[kColumns])
{
    for (int column = 0; column < kColumns; ++column)
        drawBox(painter, left + column * kColumnWidth, top, kColumnWidth - 4, height, cells[column]);
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

// The figures block of one table: its title, what it shows, and a row per
// aperture (or a line saying there is no table yet).
void drawFiguresBlock(QPainter &painter, const tExportTable &table, int left, int top, int width)
{
    painter.setPen(Qt::black);
    painter.setFont(sheetFont(12, true));
    drawBox(painter, left, top, width, kTitleHeight, QString::fromStdString(table.title));
    painter.setFont(sheetFont(9));
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
    painter.setFont(sheetFont(9, true));
    drawRow(painter, left, top, kHeadingHeight,
            {QCoreApplication::translate("Program", "Aperture"),
             QCoreApplication::translate("Program", "Hyperfocal distance"),
             QCoreApplication::translate("Program", "Total depth"),
             QCoreApplication::translate("Program", "In front"),
             QCoreApplication::translate("Program", "Behind"),
             QCoreApplication::translate("Program", "Behind / in front"),
             QCoreApplication::translate("Program", "Airy disc (µm)"),
             QCoreApplication::translate("Program", "Diffraction")});
    painter.setFont(sheetFont(9));
    top += kHeadingHeight;
    for (const tApertureFigures &row : figures.rows) {
        drawRow(painter, left, top, kRowHeight,
                {QString::asprintf("%.1f", row.aperture), figureText(row.hyperfocalDistance),
                 figureText(row.totalDepth), figureText(row.depthInFront), figureText(row.depthBehind),
                 figureText(row.behindToFrontRatio, "%.2f"),
                 QString::asprintf("%.1f", row.airyDiscMicroMeter),
                 row.diffractionLimited ? QCoreApplication::translate("Program", "softens") : QString()});
        top += kRowHeight;
    }
}

// The exports' page: the paper of the user's region (Letter where inches
// are the custom, else A4), portrait, with half-inch margins.
QPageLayout QRLExportPageLayout()
{
    const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

} // namespace

QRect QRLDefaultSheetBounds()
{
    return QRect(0, 0, 420, 480);
}

std::optional<std::string> QRLPaintPDF(const QString &title, const tPaintPDFPages &paint)
{
    // Fonts are needed: no PDF without a GUI application.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return std::nullopt;
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    QPdfWriter writer(&buffer);
    writer.setPageLayout(QRLExportPageLayout());
    writer.setTitle(title);
    writer.setCreator(QString::fromStdString(platform::bundleName()));
    QPainter painter;
    // Each page is painted in points: the painter begins on the first, later ones are new.
    const auto beginPage = [&writer, &painter]() {
        if (painter.isActive() ? !writer.newPage() : !painter.begin(&writer))
            return false;
        painter.resetTransform();
        painter.scale(writer.resolution() / 72.0, writer.resolution() / 72.0);
        return true;
    };
    if (!paint(painter, writer.pageLayout().paintRect(QPageLayout::Point).size(), beginPage) ||
        !painter.end())
        return std::nullopt;
    buffer.close();
    return buffer.data().toStdString();
}

std::optional<std::string> QRLTablesAsPDF(const std::vector<tExportTable> &tables, const QRect &sheetBounds)
{
    if (tables.empty())
        return std::nullopt;
    QString title;
    for (const tExportTable &table : tables)
        title += (title.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromStdString(table.title);
    const auto paintTables = [&tables, &sheetBounds](QPainter &painter, const QSizeF &page,
                                                     const std::function<bool()> &beginPage) {
        for (const tExportTable &table : tables) {
            // The sheet on a page of its own, the block below it when it fits, else on the next page.
            if (!beginPage())
                return false;
            paintSheet(painter, BLayoutPrintedSheet(sheetBounds, table.dataPtr));
            int blockTop = sheetBounds.top() + kBlockOffset;
            if (blockTop + kBlockHeight > int(page.height())) {
                if (!beginPage())
                    return false;
                blockTop = 0;
            }
            drawFiguresBlock(painter, table, sheetBounds.left() + 20, blockTop,
                             int(page.width()) - sheetBounds.left() - 20);
        }
        return true;
    };
    return QRLPaintPDF(title, paintTables);
}
