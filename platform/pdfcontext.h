// A PDF document made in memory, page by page. Each page is a drawing port
// like a printed page's: its coordinates are points from the top-left
// corner of the printable area, and what is drawn into it goes onto the
// page as the printing system puts a printed page onto paper.
#pragma once

#include "quickdraw.h"
#include "types.h"

#include <string>

class QPainter;

struct OpaquePDFContext;
using PDFContextRef = OpaquePDFContext *;

// A new document titled title (its metadata), on the paper of the user's
// region (A4, or Letter where inches are the custom) with half-inch
// margins. paramErr without a GUI application (fonts are needed).
OSStatus PDFContextCreate(const std::string &title, PDFContextRef *outContext);
// The printable area of a page: (0, 0) to its width and height in points.
OSStatus PDFContextGetPageBounds(PDFContextRef context, Rect *outBounds);
// Begins the next page.
OSStatus PDFContextBeginPage(PDFContextRef context);
// The open page's painter, in points from the top-left of the printable
// area; null between pages.
QPainter *pdfPagePainter(PDFContextRef context);
OSStatus PDFContextEndPage(PDFContextRef context);
// Finishes the document and gives its bytes; a page still open is ended.
OSStatus PDFContextClose(PDFContextRef context, std::string *outBytes);
void PDFContextRelease(PDFContextRef context);
