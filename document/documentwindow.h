// The main window of one open document: it owns the document's record, file
// and unsaved-changes state.
#pragma once

#include "document/sheet.h"
#include "model/data.h"

#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <string>

namespace Ui
{
class MainWindow;
}

class DocumentWindow : public QMainWindow
{
  public:
    DocumentWindow();
    ~DocumentWindow() override;

    // The window's number in the run; titles show it from the second on.
    void setSerial(int serial);
    int serial() const { return serial_; }
    // Leaves the open documents for good; the window goes later.
    void markClosed() { closed_ = true; }
    bool isOpenDocument() const { return serial_ > 0 && !closed_; }

    // The file (empty: untitled), which names the window.
    void setCurrentFile(const std::string &path);
    // The unsaved-changes state, shown as the title's modified mark.
    void setDirty(int dirtyStatus, bool shown);

    // The sheet the window shows: laid out when the table or the record
    // changes, painted from that layout whenever the content paints.
    void showSheet(SheetLayout layout);
    const SheetLayout &sheetLayout() const { return sheetLayout_; }
    // The content's rectangle; a hidden window has its size only once laid out.
    QRect sheetBounds() const;

    tDataPtr dataPtr = nullptr;
    std::int16_t dirty = 0;
    bool isClosing = false;
    std::string filePath; // empty until the document has a file
    bool fileLocked = false;

  protected:
    // The close box closes a clean document at once and asks first (the
    // registered closeDirty hook) when it has unsaved changes.
    void closeEvent(QCloseEvent *event) override;
    // A shown window lays out the sheet of its record.
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *object, QEvent *event) override;

  private:
    std::unique_ptr<Ui::MainWindow> ui_;
    SheetLayout sheetLayout_;
    QString untitledName_;
    int serial_ = 0;
    bool closed_ = false;
};
