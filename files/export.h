// File ▸ Export… (CSV, JSON, PDF) and Edit ▸ Copy (tab-separated text and CSV).
#pragma once

#include "document/document.h"

#include <cstdint>

// The formats of the Export dialog's pop-up, in its order.
enum tExportFormat : std::uint32_t { kExportCSV = 0, kExportJSON = 1, kExportPDF = 2 };

// The Export dialog; the file is written whole or not at all.
void BDoCreateExportPanel(tDocumentPtr theDocumentPtr);

// The computed table onto the clipboard; false when there is none.
bool QRLCopyTable(tDocumentPtr theDocumentPtr);
