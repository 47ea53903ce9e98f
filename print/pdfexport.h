// Tables as a PDF document: per table a page with the printed sheet and a
// block of figures below it, or on the next page when there is no room.
#pragma once

#include "formats/exportformats.h"

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QRect;
class QSizeF;

// Paints a PDF document's pages in points on painter: beginPage starts each
// page (false when it cannot); page is the printable area's size. False
// when a page could not be painted.
using tPaintPDFPages =
    std::function<bool(QPainter &painter, const QSizeF &page, const std::function<bool()> &beginPage)>;

// A PDF document's bytes, on the exports' page (the paper of the user's
// region, Letter where inches are the custom, else A4, portrait, half-inch
// margins), titled title. Nothing when it cannot be made.
std::optional<std::string> QRLPaintPDF(const QString &title, const tPaintPDFPages &paint);

// The sheet of a document window at its size as first opened: what the
// command line lays out its tables in.
QRect QRLDefaultSheetBounds();

// The PDF document's bytes, each sheet laid out in sheetBounds; its title is
// the tables' titles. Nothing when it cannot be made.
std::optional<std::string> QRLTablesAsPDF(const std::vector<tExportTable> &tables, const QRect &sheetBounds);
