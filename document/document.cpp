// The document list: the open document windows in order of creation, the
// current document, and the count of documents with unsaved changes. The
// list is read from the application's windows each time; nothing else keeps it.
#include "document/document.h"

#include "document/mainwindow.h"
#include "platform/alerts.h"
#include "platform/menus.h"

#include <QApplication>
#include <algorithm>
#include <vector>

namespace
{

std::int32_t currentDocListIndex = 0;
tDocumentHooks hooks;

// The open document windows, oldest first.
std::vector<DocumentWindow *> documents()
{
    std::vector<DocumentWindow *> list;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *document = dynamic_cast<DocumentWindow *>(widget); document && document->isOpenDocument())
            list.push_back(document);
    std::sort(list.begin(), list.end(),
              [](const DocumentWindow *a, const DocumentWindow *b) { return a->serial() < b->serial(); });
    return list;
}

// The document that has this window, or null.
DocumentWindow *documentOfWindow(QWidget *window)
{
    if (!window)
        return nullptr;
    for (DocumentWindow *document : documents())
        if (document == window)
            return document;
    return nullptr;
}

int indexOf(const DocumentWindow *document)
{
    const std::vector<DocumentWindow *> list = documents();
    const auto it = std::find(list.begin(), list.end(), document);
    return it == list.end() ? -1 : int(it - list.begin());
}

// The window goes with what the layers above keep for it.
void disposeDocument(DocumentWindow *document)
{
    document->markClosed();
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

void setDirty(tDocumentPtr document, int dirtyStatus, bool shown)
{
    if (!document)
        return;
    document->setDirty(dirtyStatus, shown);
    platform::updateMenus(); // Save and Revert follow the dirty state
}

} // namespace

void BSetDocumentHooks(const tDocumentHooks &documentHooks)
{
    hooks = documentHooks;
}

const tDocumentHooks &BGetDocumentHooks()
{
    return hooks;
}

tDocumentPtr BInitDocument()
{
    // Every slot in use: refused like any other failure.
    if (BGetNumberOfDocuments() >= kMaxNumberOfDocuments)
        return failInitDocument(nullptr);
    DocumentWindow *document = BInitMainWindow();
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
    DocumentWindow *document = documentOfWindow(window);
    if (!document)
        return;
    currentDocListIndex = indexOf(document);
    // The list is whole again before the window goes: hiding it adjusts the
    // menus for the window that comes to the front, which must be found.
    // currentDocListIndex keeps its value: the document that moves into the
    // slot, or none until the next operation makes one current.
    disposeDocument(document);
}

void BSetDocumentDirty(tDocumentPtr documentPtr, int dirtyStatus)
{
    setDirty(documentPtr, dirtyStatus, false);
}

void BSetDocumentDirtyShown(tDocumentPtr documentPtr, int dirtyStatus)
{
    setDirty(documentPtr, dirtyStatus, true);
}

int BIsDocumentDirty(QWidget *window)
{
    const DocumentWindow *document = documentOfWindow(window);
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
    return documentOfWindow(window) ? 1 : 0;
}

tDocumentPtr BGetDocumentWindowsDocPtr(QWidget *window)
{
    return documentOfWindow(window);
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
    if (DocumentWindow *document = documentOfWindow(window))
        currentDocListIndex = indexOf(document);
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
