// The open documents: up to ten document windows in order of creation, and
// the table sheet each shows.
#pragma once

#include "document/sheet.h"
#include "model/data.h"

#include <QMainWindow>
#include <string>

constexpr int kMaxNumberOfDocuments = 10;

// One open document's main window: its record, file and unsaved-changes state.
class DocumentWindow : public QMainWindow
{
  public:
    DocumentWindow();
    ~DocumentWindow() override;

    // The file (empty: untitled, numbered from the second window on) names the window.
    void setCurrentFile(const std::string &path);

    tDataPtr dataPtr = nullptr;
    std::int16_t dirty = 0;
    bool isClosing = false;
    std::string filePath; // empty until the document has a file
    bool fileLocked = false;
    int serial = 0;      // the window's number in the run
    bool closed = false; // left the open documents; the window goes later
    SheetLayout sheet;   // painted whenever the content paints
    QString untitledName;

  protected:
    // A clean document closes at once; one with unsaved changes asks first.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *object, QEvent *event) override;
};

using tDocumentPtr = DocumentWindow *;

// Registered from above at start-up; each may be null.
struct tDocumentHooks {
    bool (*created)(tDocumentPtr document) = nullptr;    // false refuses the new document
    void (*closing)(tDocumentPtr document) = nullptr;    // the document is about to go
    void (*closeDirty)(tDocumentPtr document) = nullptr; // the close box, with unsaved changes
};
void BSetDocumentHooks(const tDocumentHooks &hooks);

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

// Builds the next document window ahead, while start-up waits anyway.
void BPrepareMainWindow();

// Lays out the current document's sheet in its window: values when valid is 1.
void BDrawDocsWindowData(std::int32_t valid);
// The same for the document that owns window, by its record's flag.
void BDrawDocsWindowDataUpdate(QWidget *window);
// The content's rectangle, which the sheet is laid out in.
QRect BSheetBounds(QWidget *window);
// Paints docsWindow's sheet on a page as laid out in the window; its
// document becomes the current one.
void BDrawDocsPrintData(QPainter &painter, QWidget *docsWindow);
// The printed sheet: values when the record's flag is exactly 1.
SheetLayout BLayoutPrintedSheet(const QRect &bounds, tData *data);
