// A document window: the Qt main window of one open document. It owns the
// document's table record, its file, its locked flag and its unsaved-changes
// state; the open documents are the application's document windows.
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

    // Numbers the window as the serial-th document of the run; the title
    // gets the number from the second one on.
    void setSerial(int serial);
    int serial() const { return serial_; }
    // Leaves the list of open documents for good (the window itself goes
    // once Qt's pending events are over).
    void markClosed() { closed_ = true; }
    bool isOpenDocument() const { return serial_ > 0 && !closed_; }

    // The window's file (empty: untitled) and its title: the file's name,
    // or the untitled name with the window's number.
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
