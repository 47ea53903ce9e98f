// Document windows: building them from their form, numbering and
// cascading them, and the table sheet they show.
#include "document/mainwindow.h"

#include "document/document.h"
#include "platform/forms.h"
#include "platform/frontwindow.h"
#include "platform/placement.h"

#include <string>

namespace
{

std::int32_t count = 1; // document windows built so far, plus one

// The document window nearest the front, if one is visible.
QWidget *frontDocumentWindow()
{
    for (QWidget *window : platform::windowsFrontToBack())
        if (BIsDocumentWindow(window))
            return window;
    return nullptr;
}

void showSheetInWindow(QWidget *window, tDataPtr data, bool valid)
{
    if (DocumentWindow *document = dynamic_cast<DocumentWindow *>(window))
        document->showSheet(layoutSheet(document->sheetBounds(), data, valid, SheetMedium::screen));
}

} // namespace

void BLoadWindow(QWidget *form, const std::string &windowName)
{
    platform::adoptWindow(form, windowName);
}

void BPrepareMainWindow()
{
    platform::prepareWindow([]() -> QWidget * { return new DocumentWindow; });
}

DocumentWindow *BInitMainWindow()
{
    auto *document = dynamic_cast<DocumentWindow *>(platform::takePreparedWindow());
    if (!document)
        document = new DocumentWindow;
    BLoadWindow(document, "MainWindow");
    document->setSerial(count);
    count += 1;
    // New windows cascade from the front one and never open off screen.
    platform::cascadeWindow(document, frontDocumentWindow());
    return document;
}

void BDrawDocsWindowData(std::int32_t valid)
{
    showSheetInWindow(BGetCurrentDocsWindowRef(), BGetCurrentDocsDataPtr(), valid == 1);
}

void BDrawDocsWindowDataUpdate(QWidget *window)
{
    tDocumentPtr document = BGetDocumentWindowsDocPtr(window);
    if (!document)
        return;
    // Exactly 1 draws the values: a flag byte read from a file may hold anything.
    showSheetInWindow(window, document->dataPtr, document->dataPtr && document->dataPtr->valid == 1);
}

const SheetLayout *BSheetShownIn(QWidget *window)
{
    const DocumentWindow *document = dynamic_cast<DocumentWindow *>(window);
    return document ? &document->sheetLayout() : nullptr;
}

QRect BSheetBounds(QWidget *window)
{
    const DocumentWindow *document = dynamic_cast<DocumentWindow *>(window);
    return document ? document->sheetBounds() : QRect();
}

void BDrawDocsPrintData(QPainter &painter, QWidget *docsWindow)
{
    // The geometry is the document window's, the painter the page's.
    BSetCurrentDocListIndexFromWindowRef(docsWindow);
    paintSheet(painter, BLayoutPrintedSheet(BSheetBounds(docsWindow), BGetCurrentDocsDataPtr()));
}

SheetLayout BLayoutPrintedSheet(const QRect &bounds, tDataPtr data)
{
    return layoutSheet(bounds, data, data && data->valid == 1, SheetMedium::paper);
}

void BDrawPrintedSheet(QPainter &painter, const QRect &bounds, tDataPtr data)
{
    paintSheet(painter, BLayoutPrintedSheet(bounds, data));
}
