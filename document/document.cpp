// The document list, read from the application's windows each time, and the
// document windows with the sheet they show.
#include "document/document.h"

#include "platform/alerts.h"
#include "platform/forms.h"
#include "platform/menus.h"
#include "platform/placement.h"
#include "ui_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace
{

std::int32_t currentDocListIndex = 0;
std::int32_t windowCount = 1; // document windows built so far, plus one
tDocumentHooks hooks;

// The open document windows, oldest first.
std::vector<DocumentWindow *> documents()
{
    std::vector<DocumentWindow *> list;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *document = dynamic_cast<DocumentWindow *>(widget);
            document && document->serial > 0 && !document->closed)
            list.push_back(document);
    std::sort(list.begin(), list.end(),
              [](const DocumentWindow *a, const DocumentWindow *b) { return a->serial < b->serial; });
    return list;
}

// Compares pointers only, so a window already gone may be asked about.
int indexOf(const QWidget *window)
{
    const std::vector<DocumentWindow *> list = documents();
    const auto it = std::find(list.begin(), list.end(), window);
    return it == list.end() ? -1 : int(it - list.begin());
}

// The window goes with what the layers above keep for it.
void disposeDocument(DocumentWindow *document)
{
    document->closed = true;
    if (hooks.closing)
        hooks.closing(document);
    document->hide();
    document->deleteLater();
}

tDocumentPtr failInitDocument(DocumentWindow *document)
{
    showAlert("Cannot create new Document", "InitDocErr");
    if (document)
        disposeDocument(document);
    return nullptr;
}

void showSheetInWindow(DocumentWindow *document, tDataPtr data, bool valid)
{
    if (!document)
        return;
    document->sheet = layoutSheet(BSheetBounds(document), data, valid, false);
    document->centralWidget()->update();
}

} // namespace

DocumentWindow::DocumentWindow()
{
    Ui::MainWindow().setupUi(this);
    untitledName = windowTitle();
    centralWidget()->installEventFilter(this);
}

DocumentWindow::~DocumentWindow()
{
    QRLDeleteDataPtr(dataPtr);
}

void DocumentWindow::setCurrentFile(const std::string &path)
{
    filePath = path;
    setWindowFilePath(QString::fromStdString(path));
    QString title = untitledName;
    if (!path.empty())
        title = QString::fromStdString(path.substr(path.rfind('/') + 1));
    else if (serial > 1)
        title += QString::number(serial);
    // "[*]" is where Qt shows the modified mark.
    setWindowTitle(title + QStringLiteral("[*]"));
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    // The window stays until BCloseDocument takes it away.
    event->ignore();
    if (serial <= 0 || closed)
        return;
    if (!dirty)
        BCloseDocument(this);
    else if (hooks.closeDirty)
        hooks.closeDirty(this);
}

void DocumentWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    BDrawDocsWindowDataUpdate(this);
}

bool DocumentWindow::eventFilter(QObject *object, QEvent *event)
{
    QWidget *content = centralWidget();
    if (object == content && event->type() == QEvent::Paint && !sheet.empty()) {
        QPainter painter(content);
        painter.fillRect(content->rect(), Qt::white);
        paintSheet(painter, sheet);
    }
    return QMainWindow::eventFilter(object, event);
}

void BSetDocumentHooks(const tDocumentHooks &documentHooks)
{
    hooks = documentHooks;
}

tDocumentPtr BInitDocument()
{
    // Every slot in use: refused like any other failure.
    if (BGetNumberOfDocuments() >= kMaxNumberOfDocuments)
        return failInitDocument(nullptr);
    auto *document = dynamic_cast<DocumentWindow *>(platform::takePreparedWindow());
    if (!document)
        document = new DocumentWindow;
    platform::adoptWindow(document, "MainWindow");
    document->serial = windowCount++;
    document->setCurrentFile(document->filePath);
    const std::vector<QWidget *> windows = platform::windowsFrontToBack();
    const auto front = std::find_if(windows.begin(), windows.end(), BIsDocumentWindow);
    // New windows cascade from the front document window and never open off screen.
    platform::cascadeWindow(document, front == windows.end() ? nullptr : *front);
    currentDocListIndex = indexOf(document);
    document->dataPtr = QRLNewDataPtr();
    if (!document->dataPtr)
        return failInitDocument(document);
    QRLSetDataValid(document->dataPtr, false);
    if (hooks.created && !hooks.created(document))
        return failInitDocument(document);
    document->isClosing = false;
    return document;
}

void BCloseDocument(QWidget *window)
{
    DocumentWindow *document = BGetDocumentWindowsDocPtr(window);
    if (!document)
        return;
    // currentDocListIndex keeps its value: the document that moves into the
    // slot, or none until the next operation makes one current.
    currentDocListIndex = indexOf(document);
    disposeDocument(document);
}

void BSetDocumentDirty(tDocumentPtr documentPtr, int dirtyStatus)
{
    if (!documentPtr)
        return;
    documentPtr->dirty = std::int16_t(dirtyStatus);
    platform::updateMenus(); // Save and Revert follow the dirty state
}

void BSetDocumentDirtyShown(tDocumentPtr documentPtr, int dirtyStatus)
{
    if (documentPtr)
        documentPtr->setWindowModified(dirtyStatus != 0);
    BSetDocumentDirty(documentPtr, dirtyStatus);
}

int BIsDocumentDirty(QWidget *window)
{
    const DocumentWindow *document = BGetDocumentWindowsDocPtr(window);
    return document ? document->dirty : 0;
}

int BGetNumberOfDocuments()
{
    return int(documents().size());
}

int BGetNumberOfDirtyDocuments()
{
    const std::vector<DocumentWindow *> list = documents();
    return int(
        std::count_if(list.begin(), list.end(), [](const DocumentWindow *d) { return d->dirty != 0; }));
}

int BIsDocumentWindow(QWidget *window)
{
    return BGetDocumentWindowsDocPtr(window) ? 1 : 0;
}

tDocumentPtr BGetDocumentWindowsDocPtr(QWidget *window)
{
    return window ? BGetDocumentWindowByIndex(std::int16_t(indexOf(window))) : nullptr;
}

DocumentWindow *BGetDocumentsWindowPtr(tDocumentPtr documentPtr)
{
    return indexOf(documentPtr) < 0 ? nullptr : documentPtr;
}

DocumentWindow *BGetDocumentWindowByIndex(std::int16_t index)
{
    const std::vector<DocumentWindow *> list = documents();
    return index < 0 || index >= int(list.size()) ? nullptr : list[std::size_t(index)];
}

void BSetCurrentDocListIndexFromWindowRef(QWidget *window)
{
    if (const int index = window ? indexOf(window) : -1; index >= 0)
        currentDocListIndex = index;
}

tDataPtr BGetCurrentDocsDataPtr()
{
    const DocumentWindow *window = BGetCurrentDocsWindowRef();
    return window ? window->dataPtr : nullptr;
}

DocumentWindow *BGetCurrentDocsWindowRef()
{
    return BGetDocumentWindowByIndex(std::int16_t(currentDocListIndex));
}

int BGetCurrentDocListIndex()
{
    return currentDocListIndex;
}

void BPrepareMainWindow()
{
    platform::prepareWindow([]() -> QWidget * { return new DocumentWindow; });
}

void BDrawDocsWindowData(std::int32_t valid)
{
    showSheetInWindow(BGetCurrentDocsWindowRef(), BGetCurrentDocsDataPtr(), valid == 1);
}

void BDrawDocsWindowDataUpdate(QWidget *window)
{
    // Exactly 1 draws the values: a flag byte read from a file may hold anything.
    if (tDocumentPtr document = BGetDocumentWindowsDocPtr(window))
        showSheetInWindow(document, document->dataPtr, document->dataPtr && document->dataPtr->valid == 1);
}

QRect BSheetBounds(QWidget *window)
{
    const auto *document = dynamic_cast<DocumentWindow *>(window);
    if (!document)
        return QRect();
    // A hidden window has its size only once laid out.
    if (QLayout *windowLayout = document->layout())
        windowLayout->activate();
    return document->centralWidget()->rect();
}

void BDrawDocsPrintData(QPainter &painter, QWidget *docsWindow)
{
    // The geometry is the document window's, the painter the page's.
    BSetCurrentDocListIndexFromWindowRef(docsWindow);
    paintSheet(painter, BLayoutPrintedSheet(BSheetBounds(docsWindow), BGetCurrentDocsDataPtr()));
}

SheetLayout BLayoutPrintedSheet(const QRect &bounds, tDataPtr data)
{
    return layoutSheet(bounds, data, data && data->valid == 1, true);
}
