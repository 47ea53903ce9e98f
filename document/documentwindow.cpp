// A document window: its form, its sheet, its file and its modified state.
#include "document/documentwindow.h"

#include "document/document.h"
#include "document/mainwindow.h"
#include "ui_main.h"

#include <QCloseEvent>
#include <QLayout>
#include <QPainter>

DocumentWindow::DocumentWindow() : ui_(std::make_unique<Ui::MainWindow>())
{
    ui_->setupUi(this);
    untitledName_ = windowTitle();
    centralWidget()->installEventFilter(this);
}

DocumentWindow::~DocumentWindow()
{
    QRLDeleteDataPtr(dataPtr);
}

void DocumentWindow::setSerial(int serial)
{
    serial_ = serial;
    setCurrentFile(filePath);
}

void DocumentWindow::setCurrentFile(const std::string &path)
{
    filePath = path;
    const QString file = QString::fromStdString(path);
    setWindowFilePath(file);
    QString title = untitledName_;
    if (!path.empty())
        title = QString::fromStdString(path.substr(path.rfind('/') + 1));
    else if (serial_ > 1)
        title += QString::number(serial_);
    // "[*]" is where Qt shows the modified mark.
    setWindowTitle(title + QStringLiteral("[*]"));
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    // The window stays until BCloseDocument takes it away.
    event->ignore();
    if (!isOpenDocument())
        return;
    if (!dirty)
        BCloseDocument(this);
    else if (BGetDocumentHooks().closeDirty)
        BGetDocumentHooks().closeDirty(this);
}

void DocumentWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    BDrawDocsWindowDataUpdate(this);
}

void DocumentWindow::setDirty(int dirtyStatus, bool shown)
{
    dirty = std::int16_t(dirtyStatus);
    if (shown)
        setWindowModified(dirtyStatus != 0);
}

void DocumentWindow::showSheet(SheetLayout layout)
{
    sheetLayout_ = std::move(layout);
    centralWidget()->update();
}

QRect DocumentWindow::sheetBounds() const
{
    if (QLayout *windowLayout = layout())
        windowLayout->activate();
    return centralWidget()->rect();
}

bool DocumentWindow::eventFilter(QObject *object, QEvent *event)
{
    QWidget *content = centralWidget();
    if (object == content && event->type() == QEvent::Paint && !sheetLayout_.empty()) {
        QPainter painter(content);
        painter.fillRect(content->rect(), Qt::white);
        paintSheet(painter, sheetLayout_);
    }
    return QMainWindow::eventFilter(object, event);
}
