// Document windows: building them from their form, numbering and
// cascading them, and the table sheet they show.
#include "document/mainwindow.h"

#include "document/document.h"
#include "document/sheetview.h"
#include "platform/forms.h"
#include "platform/placement.h"

#include <iterator>
#include <string>

namespace
{

std::int32_t count = 1; // document windows built so far, plus one

const char *const kWindowName = "MainWindow";

SheetView *sheetViewOf(WindowRef window)
{
    auto *document = dynamic_cast<DocumentWindow *>(platform::widgetOf(window));
    return document ? document->sheet() : nullptr;
}

// The document window nearest the front, if one is visible.
WindowRef frontDocumentWindow()
{
    WindowRef visible[64];
    const int count = GetVisibleWindowsFrontToBack(visible, int(std::size(visible)));
    for (int i = 0; i < count; ++i)
        if (BIsDocumentWindow(visible[i]))
            return visible[i];
    return nullptr;
}

void showSheetInWindow(WindowRef window, tDataPtr data, bool valid)
{
    if (SheetView *view = sheetViewOf(window))
        view->show(layoutSheet(view->bounds(), data, valid, SheetMedium::screen));
}

} // namespace

WindowRef BLoadWindow(QWidget *form, const std::string &windowName)
{
    return platform::adoptWindow(form, windowName);
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
    document->theWindow = BLoadWindow(document, kWindowName);
    document->setSerial(count);
    count += 1;
    // New windows cascade from the front one and never open off screen.
    RepositionWindow(document->theWindow, frontDocumentWindow(), kWindowCascadeOnParentWindow);
    return document;
}

void BDrawDocsWindowData(std::int32_t valid)
{
    showSheetInWindow(BGetCurrentDocsWindowRef(), BGetCurrentDocsDataPtr(), valid == 1);
}

void BDrawDocsWindowDataUpdate(WindowRef window)
{
    tDocumentPtr document = BGetDocumentWindowsDocPtr(window);
    if (!document)
        return;
    // Exactly 1 draws the values: a flag byte read from a file may hold anything.
    showSheetInWindow(window, document->dataPtr, document->dataPtr && document->dataPtr->valid == 1);
}

const SheetLayout *BSheetShownIn(WindowRef window)
{
    const SheetView *view = sheetViewOf(window);
    return view ? &view->layout() : nullptr;
}

QRect BSheetBounds(WindowRef window)
{
    const SheetView *view = sheetViewOf(window);
    return view ? view->bounds() : QRect();
}

void BDrawDocsPrintData(QPainter &painter, const WindowRef docsWindow)
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
