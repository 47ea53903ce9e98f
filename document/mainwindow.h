// Document windows: building them, and the table sheet they show.
#pragma once

#include "document/sheet.h"

#include <cstdint>
#include <string>

class QWidget;

// Makes the hidden form window one of the program's windows, named
// windowName. Document windows, the table window and the auxiliary windows
// are all built so.
void BLoadWindow(QWidget *form, const std::string &windowName);
class DocumentWindow;
// Builds a hidden document window, numbered and cascaded from the front one.
DocumentWindow *BInitMainWindow();
// Has the platform build the next document window ahead, hidden, while
// start-up waits anyway; BInitMainWindow then finds it ready.
void BPrepareMainWindow();

// Lays out the current document's sheet in its window, which then paints
// it: values when valid is 1, placeholders otherwise.
void BDrawDocsWindowData(std::int32_t valid);
// The same for the document that owns window, by its record's flag.
void BDrawDocsWindowDataUpdate(QWidget *window);
// The sheet window shows now (empty before it was first laid out); null
// for a window that is no document window.
const SheetLayout *BSheetShownIn(QWidget *window);
// The rectangle window's sheet is laid out in.
QRect BSheetBounds(QWidget *window);

// Paints the sheet of the document whose window is docsWindow on a printed
// page, laid out as in the window; that document becomes the current one.
void BDrawDocsPrintData(QPainter &painter, QWidget *docsWindow);

// The sheet as printed, laid out in bounds: the values when the record's
// flag is exactly 1, the placeholders otherwise.
SheetLayout BLayoutPrintedSheet(const QRect &bounds, tData *data);
void BDrawPrintedSheet(QPainter &painter, const QRect &bounds, tData *data);
