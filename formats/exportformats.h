// Tables as text for other programs: CSV (RFC 4180) and tab-separated text
// for spreadsheets, JSON as described by docs/export-schema.json. Plain
// functions over calculation records; nothing here touches a file.
#pragma once

#include "model/data.h"

#include <optional>
#include <string>
#include <vector>

// One table to write: the document's title and its calculation record. A
// record that holds no computed table is written without arguments and
// rows, never with zeros.
struct tExportTable {
    std::string title; // UTF-8
    tDataPtr dataPtr;
};

// The unit of a table as the exports name it: "ft" for unit 2, "m" for any
// other (the calculation computes those as metres).
const char *QRLExportUnitName(std::int32_t distanceUnit);
// The camera format's name in the exports, fixed English whatever the
// interface language: "APS-C digital", "full-frame digital", "35 mm film",
// "medium format", or "digital camera" for any other stored type.
const char *QRLExportCameraName(std::int16_t cameraType);

// The unit the headings of a CSV or tab-separated export name: that of the
// first computed table, else that recorded in the first table, else metres.
// nullopt when computed tables differ in unit: one heading row cannot name
// both.
std::optional<std::int32_t> QRLExportHeadingUnit(const std::vector<tExportTable> &tables);

// A header row, then one row per aperture of every computed table, fields
// separated by commas, lines ended by CR LF, fields with a comma, quote or
// line break quoted. Distances carry three decimals as on the sheet, "inf"
// where there is no limit; a figure without a value is an empty field.
// nullopt when QRLExportHeadingUnit is.
std::optional<std::string> QRLTablesAsCSV(const std::vector<tExportTable> &tables);
// The same rows separated by tabs, lines ended by LF, for pasting into a
// spreadsheet as a grid; tabs and line breaks inside a title become blanks.
std::optional<std::string> QRLTablesAsTabText(const std::vector<tExportTable> &tables);
// A plain-text table for a terminal: a header line with the arguments, then
// a fixed-width column per figure, one line per aperture; an empty record
// gives the header with "-" for each argument.
std::string QRLTablesAsText(const std::vector<tExportTable> &tables);
// A JSON document {"format", "version", "tables": [...]} with the full
// values (15 significant digits), ending in a line break.
std::string QRLTablesAsJSON(const std::vector<tExportTable> &tables);
