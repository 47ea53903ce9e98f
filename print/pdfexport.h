// Tables as a PDF document: one page per table, each the printed sheet with
// a block of figures below it (the hyperfocal distance, the depth of the
// sharp zone and how it splits around the subject, the Airy disc and
// whether diffraction softens the aperture), or on a page of its own when
// the sheet leaves no room for it.
#pragma once

#include "formats/exportformats.h"

#include <optional>
#include <string>
#include <vector>

class QPainter;
class QRect;

// The sheet of a document window at the window's size as first opened:
// what the command line lays out its tables in.
QRect QRLDefaultSheetBounds();

// Paints a table's sheet as printing paints it, laid out in bounds, with a
// painter in points.
using tDrawSheetProc = void (*)(QPainter &painter, const QRect &bounds, tData *data);

// Draws every table into one PDF document, whose bytes it returns: each table's
// sheet drawn by drawSheet, laid out in sheetBounds (a document window's
// port rectangle), then its figures block. The document's title is the
// tables' titles. Nothing when it cannot be made.
std::optional<std::string> QRLTablesAsPDF(const std::vector<tExportTable> &tables, const QRect &sheetBounds,
                                          tDrawSheetProc drawSheet);
