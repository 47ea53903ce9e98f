// Tables and bracketing plans as text for other programs: CSV (RFC 4180),
// tab-separated text, plain text for a terminal, and JSON as
// docs/export-schema.json and docs/bracketing-schema.json describe.
#pragma once

#include "model/bracketing.h"
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

// The plan's rows as `stack` shows them: the shot's number, its focus
// distance, near and far limit with three decimals ("inf" for no far limit).
std::vector<std::vector<std::string>> QRLPlanRows(const tBracketingPlan &plan);
// A bracketing plan: a heading with the arguments and the hyperfocal
// distance, then a line per shot in the table's columns ("inf" for no far limit).
std::string QRLPlanAsText(const tBracketingArguments &arguments, const tBracketingPlan &plan);
// Headings with the unit, then per shot its number, focus distance, near and
// far limits and the hyperfocal distance, three decimals, CR LF lines.
std::string QRLPlanAsCSV(const tBracketingArguments &arguments, const tBracketingPlan &plan);
// {"format": "quorlscope-bracketing", ...} as docs/bracketing-schema.json describes.
std::string QRLPlanAsJSON(const tBracketingArguments &arguments, const tBracketingPlan &plan);
// A distance of a plan as its text and CSV write it: three decimals, "inf" for no limit.
std::string QRLPlanFigure(double distance);
