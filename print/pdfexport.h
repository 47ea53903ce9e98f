// Tables as a PDF document: one page per table, each the printed sheet with
// a block of figures below it (the hyperfocal distance, the depth of the
// sharp zone and how it splits around the subject, the Airy disc and
// whether diffraction softens the aperture), or on a page of its own when
// the sheet leaves no room for it.
#pragma once

#include "formats/exportformats.h"
#include "platform/types.h"

#include <string>
#include <vector>

// The sheet of a document window at the window's size as first opened:
// what the command line lays out its tables in.
Rect QRLDefaultSheetBounds();

// Draws every table into one PDF document held in outPDF: each table's
// sheet exactly as printing draws it, laid out in sheetBounds (a document
// window's port rectangle), then its figures block. The document's title
// is the tables' titles. A status other than noErr leaves outPDF empty.
OSStatus QRLTablesAsPDF(const std::vector<tExportTable> &tables, const Rect &sheetBounds,
                        std::string *outPDF);

// The same laid out in QRLDefaultSheetBounds, for the command line: the
// document's bytes, or ok false (and nothing) when it cannot be made.
std::string QRLTablesAsPDFDocument(const std::vector<tExportTable> &tables, bool *ok);
