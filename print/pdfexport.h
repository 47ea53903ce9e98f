// Tables as a PDF document: per table a page with the printed sheet and a
// block of figures below it, or on the next page when there is no room.
#pragma once

#include "formats/exportformats.h"

#include <optional>
#include <string>
#include <vector>

class QPageLayout;
class QRect;

// The exports' page: the paper of the user's region (Letter where inches
// are the custom, else A4), portrait, with half-inch margins.
QPageLayout QRLExportPageLayout();

// The sheet of a document window at its size as first opened: what the
// command line lays out its tables in.
QRect QRLDefaultSheetBounds();

// The PDF document's bytes, each sheet laid out in sheetBounds; its title is
// the tables' titles. Nothing when it cannot be made.
std::optional<std::string> QRLTablesAsPDF(const std::vector<tExportTable> &tables, const QRect &sheetBounds);
