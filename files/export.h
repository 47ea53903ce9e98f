// File ▸ Export… (CSV, JSON, PDF) and Edit ▸ Copy (tab-separated text and CSV)
// of a table, and of a bracketing plan (the `stack` text and CSV).
#pragma once

#include "document/document.h"
#include "model/bracketing.h"

#include <cstdint>

// The formats of the Export dialog's pop-up, in its order.
enum tExportFormat : std::uint32_t { kExportCSV = 0, kExportJSON = 1, kExportPDF = 2 };

// The Export dialog; the file is written whole or not at all.
void BDoCreateExportPanel(tDocumentPtr theDocumentPtr);
// The same for a plan on its window, the card as PDF.
void BDoCreatePlanExportPanel(QWidget *window, const tBracketingArguments &arguments,
                              const tBracketingPlan &plan);

// The computed table onto the clipboard; false when there is none.
bool QRLCopyTable(tDocumentPtr theDocumentPtr);
// The plan's shots onto the clipboard.
void QRLCopyPlan(const tBracketingArguments &arguments, const tBracketingPlan &plan);
