// The open documents: up to ten document windows in order of creation.
#pragma once

#include "document/documentwindow.h"
#include "model/data.h"

constexpr int kMaxNumberOfDocuments = 10;

// A document is its window: the window owns the record, the file and the
// unsaved-changes state.
using tDocument = DocumentWindow;
using tDocumentPtr = tDocument *;

// Registered from above at start-up; each may be null.
struct tDocumentHooks {
    // A document is complete; false refuses it, as any other failure would.
    bool (*created)(tDocumentPtr document) = nullptr;
    // The document and its window are about to go.
    void (*closing)(tDocumentPtr document) = nullptr;
    // The user asks to close the window of a document with unsaved changes.
    void (*closeDirty)(tDocumentPtr document) = nullptr;
};
void BSetDocumentHooks(const tDocumentHooks &hooks);
const tDocumentHooks &BGetDocumentHooks();

tDocumentPtr BInitDocument();
void BCloseDocument(QWidget *window);
void BSetDocumentDirty(tDocumentPtr documentPtr, int dirtyStatus);
// Sets the dirty flag and the window's modified mark together.
void BSetDocumentDirtyShown(tDocumentPtr documentPtr, int dirtyStatus);
int BIsDocumentDirty(QWidget *window);
int BGetNumberOfDocuments();
int BGetNumberOfDirtyDocuments();
int BIsDocumentWindow(QWidget *window);
tDocumentPtr BGetDocumentWindowsDocPtr(QWidget *window);
DocumentWindow *BGetDocumentsWindowPtr(tDocumentPtr documentPtr);
DocumentWindow *BGetDocumentWindowByIndex(std::int16_t index);
void BSetCurrentDocListIndexFromWindowRef(QWidget *window);
// Null when the current index names no document.
tDataPtr BGetCurrentDocsDataPtr();
DocumentWindow *BGetCurrentDocsWindowRef();
int BGetCurrentDocListIndex();
