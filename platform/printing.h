// The printing system: sessions, page formats, print settings, the page
// setup and print dialogs as sheets on a document window, and the pages of
// a print job. On Qt Print Support: a session holds a QPrinter, a page
// format is a QPageLayout, and a job without a print server (or when the
// user picks it) goes to a PDF file.
#pragma once

#include "quickdraw.h"
#include "types.h"
#include "window.h"

#include <string>

struct OpaquePMPrintSession;
using PMPrintSession = OpaquePMPrintSession *;
struct OpaquePMPageFormat;
using PMPageFormat = OpaquePMPageFormat *;
struct OpaquePMPrintSettings;
using PMPrintSettings = OpaquePMPrintSettings *;

// Runs when a sheet closes, from the event loop: accepted is true when the
// user confirmed the dialog.
using PMSheetDoneProcPtr = void (*)(PMPrintSession printSession, WindowRef documentWindow, Boolean accepted);
using PMSheetDoneUPP = PMSheetDoneProcPtr;

// The last page of "all pages" as the print dialog reports it.
constexpr std::uint32_t kPMPrintAllPages = 0xFFFFFFFFu;

enum : OSStatus {
    kPMInvalidParameter = paramErr,
    kPMInvalidPrintSettings = -30875,
    kPMInvalidPageFormat = -30876,
    kPMNoPageDrawn = -4960,
};

// A rectangle in points (1/72 inch).
struct PMRect {
    double top = 0.0;
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;
};

OSStatus PMCreateSession(PMPrintSession *outSession);
OSStatus PMCreatePageFormat(PMPageFormat *outFormat);
OSStatus PMCreatePrintSettings(PMPrintSettings *outSettings);
OSStatus PMRelease(PMPrintSession session);
OSStatus PMRelease(PMPageFormat format);
OSStatus PMRelease(PMPrintSettings settings);

// The session's printer's defaults: paper, orientation and margins.
OSStatus PMSessionDefaultPageFormat(PMPrintSession session, PMPageFormat format);
// Makes the page format fit the session's printer (its paper, orientation
// and margins become the session's).
OSStatus PMSessionValidatePageFormat(PMPrintSession session, PMPageFormat format);
OSStatus PMSessionError(PMPrintSession session);

OSStatus PMSetJobNameCFString(PMPrintSettings settings, const std::string &name);
// The pages the print dialog offers.
OSStatus PMSetPageRange(PMPrintSettings settings, std::uint32_t minPage, std::uint32_t maxPage);
OSStatus PMGetFirstPage(PMPrintSettings settings, std::uint32_t *outFirst);
OSStatus PMGetLastPage(PMPrintSettings settings, std::uint32_t *outLast);
// The printable area of the paper, in points, relative to its top-left corner.
OSStatus PMGetAdjustedPageRect(PMPageFormat format, PMRect *outRect);

// The next dialog of the session opens as a sheet on the window and ends in
// the procedure.
OSStatus PMSessionUseSheets(PMPrintSession session, WindowRef documentWindow, PMSheetDoneUPP sheetDone);
// Opens the dialog and returns at once; the answer reaches the sheet
// procedure. Confirming the page setup dialog gives the page format the
// user's choice; cancelling leaves it alone.
OSStatus PMSessionPageSetupDialog(PMPrintSession session, PMPageFormat format);
// The print dialog: page range and destination (a printer, or a PDF file).
OSStatus PMSessionPrintDialog(PMPrintSession session, PMPrintSettings settings, PMPageFormat constFormat);
// Closes the session's open sheet as if the user had cancelled it (its
// procedure runs with accepted false); nothing when no sheet is open.
OSStatus PMSessionCancelSheet(PMPrintSession session);

// A print job: the document, then each page. Between BeginPage and EndPage
// the session's graphics context is the page's drawing port, whose
// coordinates are points from the top-left corner of the printable area. A
// job that cannot be written is reported to the user by the printing system
// itself (a note alert naming the output and the reason); no partial PDF
// file is left behind.
OSStatus PMSessionBeginDocument(PMPrintSession session, PMPrintSettings settings, PMPageFormat format);
OSStatus PMSessionEndDocument(PMPrintSession session);
OSStatus PMSessionBeginPage(PMPrintSession session);
OSStatus PMSessionEndPage(PMPrintSession session);
// The open page's QPainter (a QPainter *), in points from the top-left of
// the printable area.
OSStatus PMSessionGetGraphicsContext(PMPrintSession session, void **outContext);
