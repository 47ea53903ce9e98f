// The document list: up to ten open documents in order of creation, the
// current document, and the count of documents with unsaved changes.
#include "document/document.h"

#include "document/mainwindow.h"
#include "platform/alerts.h"
#include "platform/menus.h"

#include <new>

namespace
{

tDocumentPtr documentList[kMaxNumberOfDocuments] = {};
std::int32_t numberOfDocuments = -1; // index of the last used slot
std::int32_t numberOfDirtyDocuments = 0;
std::int32_t currentDocListIndex = 0;
tDocumentHooks hooks;

// Index of the document that has this window, or -1.
int slotOfWindow(WindowRef window)
{
    if (!window)
        return -1;
    for (int i = 0; i <= numberOfDocuments; ++i)
        if (documentList[i]->theWindow == window)
            return i;
    return -1;
}

tDocumentPtr failInitDocument(tDocumentPtr document)
{
    showAlert("Cannot create new Document", "InitDocErr");
    if (document) {
        QRLDeleteDataPtr(document->dataPtr);
        if (document->theWindow) {
            if (hooks.closing)
                hooks.closing(document);
            DisposeWindow(document->theWindow);
        }
        delete document;
        documentList[numberOfDocuments] = nullptr;
        numberOfDocuments -= 1;
    }
    return nullptr;
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
    if (numberOfDocuments + 1 >= kMaxNumberOfDocuments)
        return failInitDocument(nullptr);
    auto *document = new (std::nothrow) tDocument{};
    if (!document)
        return failInitDocument(nullptr);
    numberOfDocuments += 1;
    documentList[numberOfDocuments] = document;

    document->theWindow = BInitMainWindow(&document->eventHandlerUPP);
    if (!document->theWindow)
        return failInitDocument(document);
    currentDocListIndex = numberOfDocuments;

    document->dataPtr = QRLNewDataPtr();
    if (!document->dataPtr)
        return failInitDocument(document);
    QRLSetDataValid(document->dataPtr, false);

    document->dirty = 0;
    document->fileLocked = false;
    document->isClosing = false;
    if (hooks.created && !hooks.created(document))
        return failInitDocument(document);
    document->isClosing = false;
    return document;
}

void BCloseDocument(WindowRef window)
{
    const int slot = slotOfWindow(window);
    if (slot < 0)
        return;
    currentDocListIndex = slot;
    tDocumentPtr document = documentList[slot];
    if (document->dirty)
        numberOfDirtyDocuments -= 1;
    // The list is whole again before the window goes: hiding it adjusts the
    // menus for the window that comes to the front, which must be found.
    numberOfDocuments -= 1;
    for (int i = slot; i <= numberOfDocuments; ++i)
        documentList[i] = documentList[i + 1];
    documentList[numberOfDocuments + 1] = nullptr;
    // What the layers above keep for the window (an open page setup or
    // print sheet, then the printing record) goes first.
    if (hooks.closing)
        hooks.closing(document);
    HideWindow(document->theWindow);
    DisposeWindow(document->theWindow);
    QRLDeleteDataPtr(document->dataPtr);
    delete document;
    // currentDocListIndex keeps its value: the document that moved into the
    // slot, or none until the next operation makes one current.
}

void BSetDocumentDirty(tDocumentPtr documentPtr, int dirtyStatus)
{
    if (!documentPtr)
        return;
    if (dirtyStatus == 1 && documentPtr->dirty == 0)
        numberOfDirtyDocuments += 1;
    else if (dirtyStatus == 0 && documentPtr->dirty == 1)
        numberOfDirtyDocuments -= 1;
    documentPtr->dirty = std::int16_t(dirtyStatus);
    platform::updateMenus(); // Save and Revert follow the dirty state
}

void BSetDocumentDirtyShown(tDocumentPtr documentPtr, int dirtyStatus)
{
    if (!documentPtr)
        return;
    BSetDocumentDirty(documentPtr, dirtyStatus);
    SetWindowModified(documentPtr->theWindow, dirtyStatus != 0);
}

int BIsDocumentDirty(WindowRef window)
{
    const int slot = slotOfWindow(window);
    return slot < 0 ? 0 : documentList[slot]->dirty;
}

int BGetNumberOfDocuments()
{
    return numberOfDocuments + 1;
}
int BGetNumberOfDirtyDocuments()
{
    return numberOfDirtyDocuments;
}
int BIsDocumentWindow(WindowRef window)
{
    return slotOfWindow(window) < 0 ? 0 : 1;
}

tDocumentPtr BGetDocumentWindowsDocPtr(WindowRef window)
{
    const int slot = slotOfWindow(window);
    return slot < 0 ? nullptr : documentList[slot];
}

WindowRef BGetDocumentsWindowPtr(tDocumentPtr documentPtr)
{
    if (!documentPtr)
        return nullptr;
    for (int i = 0; i <= numberOfDocuments; ++i)
        if (documentList[i] == documentPtr)
            return documentPtr->theWindow;
    return nullptr;
}

WindowRef BGetDocumentWindowByIndex(std::int16_t index)
{
    if (index < 0 || index >= BGetNumberOfDocuments())
        return nullptr;
    return documentList[index]->theWindow;
}

void BSetCurrentDocListIndexFromWindowRef(WindowRef window)
{
    const int slot = slotOfWindow(window);
    if (slot >= 0)
        currentDocListIndex = slot;
}

tDataPtr BGetCurrentDocsDataPtr()
{
    if (currentDocListIndex < 0 || currentDocListIndex > numberOfDocuments)
        return nullptr;
    return documentList[currentDocListIndex]->dataPtr;
}

WindowRef BGetCurrentDocsWindowRef()
{
    if (currentDocListIndex < 0 || currentDocListIndex > numberOfDocuments)
        return nullptr;
    return documentList[currentDocListIndex]->theWindow;
}

int BGetCurrentDocListIndex()
{
    return currentDocListIndex;
}
