// File ▸ Export… and Edit ▸ Copy: a document's table as CSV, JSON or a PDF
// document in a file of the user's choice, and as tab-separated text and
// CSV on the clipboard.
#pragma once

#include "document/document.h"
#include "platform/frontwindow.h"

#include <string>

// The formats of the Export dialog's pop-up, in its order.
enum tExportFormat : std::uint32_t { kExportCSV = 0, kExportJSON = 1, kExportPDF = 2 };

// The title an export gives the table: the window's title without trailing
// blanks and without the table document's extension.
std::string BExportTitle(QWidget *window);
// The name the Export dialog proposes: the title with the CSV extension.
std::string BProposedExportName(QWidget *window);

// The Export dialog, a sheet on the document's window; nothing when one is
// up already.
void BDoCreateExportPanel(tDocumentPtr theDocumentPtr);
// Writes the document's table to target in format: whole or not at all (a
// temporary beside the target, renamed over it). A failure is alerted,
// naming the file and the system's reason. A file that exists is replaced
// only when replacing is set. False when the export failed.
bool BDoExportDocument(tDocumentPtr theDocumentPtr, const std::string &target, tExportFormat format,
                       bool replacing);

// The document's computed table onto the clipboard, as tab-separated text
// and as CSV together; false, leaving the clipboard alone, when the
// document holds no computed table.
bool QRLCopyTable(tDocumentPtr theDocumentPtr);
