// Page setup and printing of document windows: each window's printing
// record, and the window-modal Page Setup and Print dialogs.
#pragma once

#include <QObject>
#include <QPageLayout>
#include <functional>
#include <optional>

class QPainter;
class QRectF;
class QWidget;

// Paints the window's page on the printer's painter, in points; page is the
// printable area, from (0, 0).
using tDrawSheetPageProc = std::function<void(QPainter &painter, const QRectF &page)>;

// What printing keeps for a document window, as a child of the window.
struct tDocumentPrintInfo : QObject {
    using QObject::QObject;
    // None before the first page setup or print, which give it the printer's defaults.
    std::optional<QPageLayout> pageFormat;
    tDrawSheetPageProc drawSheetPageProc;
    bool dialogUp = false; // one of its dialogs is up
};

// Gives a document window its printing record; alerts and returns false when it cannot.
bool BInitPrintingDialogs(QWidget *theWindow, tDrawSheetPageProc drawSheetPageProc);
// Each opens its dialog on the window and returns; nothing when the window
// has no record or a dialog is up. A printed PDF file is written as a save is.
void BDoPageSetup(QWidget *parentWindow);
void BDoPrint(QWidget *parentWindow);
// The window's printing record, or null.
tDocumentPrintInfo *BGetPrintInfoOfWindow(QWidget *window);
// Before a document window goes: an open dialog is cancelled, and the record goes.
void BDisposePrintInfoForWindow(QWidget *window);
