// Document windows: building them, and the table sheet they show.
#pragma once

#include "document/sheet.h"

#include <cstdint>
#include <string>

class QWidget;

// Makes the hidden form window one of the program's windows, named windowName.
void BLoadWindow(QWidget *form, const std::string &windowName);
class DocumentWindow;
// Builds a hidden document window, numbered and cascaded from the front one.
DocumentWindow *BInitMainWindow();
// Builds the next document window ahead, while start-up waits anyway.
void BPrepareMainWindow();

// Lays out the current document's sheet in its window, which then paints
// it: values when valid is 1, placeholders otherwise.
void BDrawDocsWindowData(std::int32_t valid);
// The same for the document that owns window, by its record's flag.
void BDrawDocsWindowDataUpdate(QWidget *window);
// The sheet window shows; null for a window that is no document window.
const SheetLayout *BSheetShownIn(QWidget *window);
// The rectangle window's sheet is laid out in.
QRect BSheetBounds(QWidget *window);

// Paints docsWindow's sheet on a page as laid out in the window; its
// document becomes the current one.
void BDrawDocsPrintData(QPainter &painter, QWidget *docsWindow);

// The printed sheet: values when the record's flag is exactly 1.
SheetLayout BLayoutPrintedSheet(const QRect &bounds, tData *data);
void BDrawPrintedSheet(QPainter &painter, const QRect &bounds, tData *data);
