// Document windows: building them from their form, their window
// events, and the table sheet they show.
#include "document/mainwindow.h"

#include "document/document.h"
#include "platform/forms.h"
#include "platform/placement.h"
#include "ui_main.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QPainter>
#include <iterator>
#include <string>

namespace
{

std::int32_t count = 1; // document windows built so far, plus one

const char *const kWindowName = "MainWindow";

// A document window: its form is the sheet it draws on.
using DocumentForm = FormWindow<QMainWindow, Ui::MainWindow>;

// The sheet a document window shows: laid out when the table or the record
// changes, painted from that layout whenever its content widget paints.
class SheetView : public QObject
{
  public:
    explicit SheetView(QWidget *content) : QObject(content), content_(content)
    {
        setObjectName(QStringLiteral("sheetView"));
        content->installEventFilter(this);
    }

    void show(SheetLayout layout)
    {
        layout_ = std::move(layout);
        content_->update();
    }
    const SheetLayout &layout() const { return layout_; }
    QRect bounds() const
    {
        if (QLayout *layout = content_->window()->layout())
            layout->activate(); // a hidden window has its size only once laid out
        return content_->rect();
    }

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object == content_ && event->type() == QEvent::Paint && !layout_.empty()) {
            QPainter painter(content_);
            painter.fillRect(content_->rect(), Qt::white);
            paintSheet(painter, layout_);
        }
        return false;
    }

  private:
    QWidget *content_;
    SheetLayout layout_;
};

SheetView *sheetViewOf(WindowRef window)
{
    QWidget *widget = platform::widgetOf(window);
    return widget ? dynamic_cast<SheetView *>(widget->findChild<QObject *>(QStringLiteral("sheetView")))
                  : nullptr;
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

QRect qRect(const Rect &r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

DocumentForm *newDocumentForm()
{
    auto *form = new DocumentForm;
    new SheetView(form->centralWidget());
    return form;
}

} // namespace

WindowRef BLoadWindowWithHandler(QWidget *form, const std::string &windowName, EventHandlerUPP handler,
                                 int numTypes, const EventTypeSpec *eventTypes, EventHandlerRef *outHandler)
{
    WindowRef window = platform::adoptWindow(form, windowName);
    if (handler)
        InstallEventHandler(GetWindowEventTarget(window), handler, numTypes, eventTypes, window, outHandler);
    return window;
}

void BPrepareMainWindow()
{
    platform::prepareWindow([]() -> QWidget * { return newDocumentForm(); });
}

WindowRef BInitMainWindow(EventHandlerUPP *eventHandlerUPP)
{
    static const EventTypeSpec windowEvents[] = {{kEventClassWindow, kEventWindowClose},
                                                 {kEventClassWindow, kEventWindowShown}};
    *eventHandlerUPP = BMainWindowEventHandler;
    QWidget *form = platform::takePreparedWindow();
    WindowRef window = BLoadWindowWithHandler(form ? form : newDocumentForm(), kWindowName, *eventHandlerUPP,
                                              2, windowEvents);
    if (count > 1)
        SetWTitle(window, GetWTitle(window) + std::to_string(count));
    count += 1;
    // New windows cascade from the front one and never open off screen.
    RepositionWindow(window, frontDocumentWindow(), kWindowCascadeOnParentWindow);
    return window;
}

OSStatus BMainWindowEventHandler(EventHandlerCallRef, EventRef event, void *userData)
{
    auto window = static_cast<WindowRef>(userData);
    switch (GetEventKind(event)) {
    case kEventWindowClose:
        if (BIsDocumentDirty(window)) {
            if (BGetDocumentHooks().closeDirty)
                BGetDocumentHooks().closeDirty(BGetDocumentWindowsDocPtr(window));
        } else
            BCloseDocument(window);
        return noErr;
    case kEventWindowShown:
        BDrawDocsWindowDataUpdate(window);
        return noErr;
    default:
        return eventNotHandledErr;
    }
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

void BDrawPrintedSheet(QPainter &painter, const Rect &bounds, tDataPtr data)
{
    paintSheet(painter, BLayoutPrintedSheet(qRect(bounds), data));
}
