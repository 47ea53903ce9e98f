// Tables as text for other programs: CSV (RFC 4180), tab-separated text,
// plain text for a terminal, and JSON as docs/export-schema.json describes.
#pragma once

#include "model/data.h"

#include <optional>
#include <string>
#include <vector>

// A document's title (UTF-8) and its record.
struct tExportTable {
    std::string title;
    tDataPtr dataPtr;
};

// The headings' unit: the first computed table's, else the first table's, else metres;
// nullopt when computed tables differ ("m" or "ft").
std::optional<std::int32_t> QRLExportHeadingUnit(const std::vector<tExportTable> &tables);

// Headings, then a row per aperture of every computed table, CR LF lines; nullopt as the unit.
std::optional<std::string> QRLTablesAsCSV(const std::vector<tExportTable> &tables);
// The same rows tab-separated with LF lines, for pasting into a spreadsheet.
std::optional<std::string> QRLTablesAsTabText(const std::vector<tExportTable> &tables);
// Per table a header line with the arguments, then fixed-width columns.
std::string QRLTablesAsText(const std::vector<tExportTable> &tables);
// {"format", "version", "tables": [...]} with 15 significant digits.
std::string QRLTablesAsJSON(const std::vector<tExportTable> &tables);
