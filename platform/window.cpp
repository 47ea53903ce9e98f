// Windows: the registry of our windows, the platform's own z-order (so that
// the front window is the same under X11 and offscreen), titles, modified
// marks, proxies and properties.
#include "application.h"
#include "internal.h"
#include "testing.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <utility>

namespace
{

// Front to back; hidden windows keep their place behind the visible ones.
std::vector<WindowRef> &zOrder()
{
    static std::vector<WindowRef> windows;
    return windows;
}

std::vector<std::string> &showLog()
{
    static std::vector<std::string> log;
    return log;
}

void moveToFront(WindowRef window)
{
    auto &order = zOrder();
    const WindowRef before = FrontWindow();
    order.erase(std::remove(order.begin(), order.end(), window), order.end());
    order.insert(order.begin(), window);
    if (FrontWindow() != before)
        platform::frontWindowChanged();
}

// Watches a window's widgets: the close box becomes the close event, the
// content's painting is probed at start-up, activation by the user moves the window
// to the front, and Escape in a dialog sends its cancel command.
class WindowWatcher : public QObject
{
  public:
    explicit WindowWatcher(WindowRef window) : QObject(window->widget), window_(window) {}
    // Deleted with its widget (a dialog that goes with its window) rather
    // than with the record: the record leaves the list quietly, as nothing
    // is left to bring up to date.
    ~WindowWatcher() override
    {
        if (window_->watcher != this)
            return;
        auto &order = zOrder();
        order.erase(std::remove(order.begin(), order.end(), window_), order.end());
        delete window_;
    }

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object == window_->content && event->type() == QEvent::Paint) {
            platform::probeWindowPainted(window_);
            return false;
        }
        if (object != window_->widget)
            return false;
        switch (event->type()) {
        case QEvent::Close:
            event->ignore();
            SendWindowEvent(window_, kEventWindowClose);
            return true;
        case QEvent::WindowStateChange:
            window_->collapsed = window_->widget->isMinimized();
            return false;
        case QEvent::WindowActivate:
            if (window_->visible && FrontWindow() != window_)
                moveToFront(window_);
            return false;
        case QEvent::KeyPress:
            return handleEscape(static_cast<QKeyEvent *>(event));
        default:
            return false;
        }
    }

  private:
    // A dialog would hide itself on Escape behind our back: Escape presses
    // its cancel button, or closes it as its close box would.
    bool handleEscape(QKeyEvent *key)
    {
        if (key->key() != Qt::Key_Escape || !qobject_cast<QDialog *>(window_->widget))
            return false;
        if (!platform::clickCancelButton(window_))
            SendWindowEvent(window_, kEventWindowClose);
        return true;
    }

    WindowRef window_;
};

// Offscreen runs have no window system to raise or activate windows in.
void bringToFront(QWidget *widget)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    widget->raise();
    widget->activateWindow();
}

// A window was hidden or went away: the menus follow a new front window,
// which becomes the active one; with none left, the application hears of it.
void windowLeft(WindowRef frontBefore, bool wasVisible)
{
    const WindowRef front = FrontWindow();
    if (front != frontBefore)
        platform::frontWindowChanged();
    if (front)
        bringToFront(front->widget);
    else if (wasVisible)
        platform::lastWindowClosed();
}

void setVisible(WindowRef window, bool visible)
{
    if (!window || window->visible == visible)
        return;
    const WindowRef before = FrontWindow();
    window->visible = visible;
    if (visible) {
        showLog().push_back(window->nibName);
        moveToFront(window);
        window->widget->show();
        bringToFront(window->widget);
        SendWindowEvent(window, kEventWindowShown);
        return;
    }
    window->widget->hide();
    windowLeft(before, true);
}

} // namespace

namespace platform
{

bool clickCancelButton(WindowRef window)
{
    auto *cancel = window->widget->findChild<QPushButton *>(QStringLiteral("cancelButton"));
    if (!cancel || !cancel->isEnabled())
        return false;
    cancel->click();
    return true;
}

WindowRef wrapWidget(QWidget *widget, WindowClass windowClass, const std::string &name)
{
    auto *window = new OpaqueWindowPtr;
    window->widget = widget;
    window->windowClass = windowClass;
    window->nibName = name;
    if (auto *mainWindow = qobject_cast<QMainWindow *>(widget))
        window->content = mainWindow->centralWidget() ? mainWindow->centralWidget() : widget;
    else
        window->content = widget;
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    // "[*]" is where Qt shows the modified mark.
    if (!widget->windowTitle().contains(QStringLiteral("[*]")))
        widget->setWindowTitle(widget->windowTitle() + QStringLiteral("[*]"));
    auto *watcher = new WindowWatcher(window);
    window->watcher = watcher;
    widget->installEventFilter(watcher);
    if (window->content != widget)
        window->content->installEventFilter(watcher);
    zOrder().push_back(window);
    return window;
}

void unwrapWidget(WindowRef window)
{
    if (!window)
        return;
    const WindowRef before = FrontWindow();
    auto &order = zOrder();
    order.erase(std::remove(order.begin(), order.end(), window), order.end());
    delete std::exchange(window->watcher, nullptr);
    delete window;
    if (FrontWindow() != before)
        frontWindowChanged();
}

QWidget *widgetOf(WindowRef window)
{
    return window ? window->widget.data() : nullptr;
}

void readyHiddenWindow(QWidget *widget)
{
    attachMenuBarTo(widget);
    widget->ensurePolished();
    if (QLayout *layout = widget->layout())
        layout->activate();
    widget->winId(); // the native window, not mapped yet
    // Painting it once off screen loads the fonts and glyphs it shows.
    QImage scratch(widget->size(), QImage::Format_RGB32);
    widget->render(&scratch);
    warmPortText();
}

void DialogWindow::wrap(QWidget *dialog, WindowClass windowClass, const std::string &name)
{
    widget = dialog;
    window = wrapWidget(dialog, windowClass, name);
    const EventTypeSpec closeEvent{kEventClassWindow, kEventWindowClose};
    const auto closeAsCancel = [](EventHandlerCallRef, EventRef, void *userData) -> OSStatus {
        QMetaObject::invokeMethod(qApp, static_cast<DialogWindow *>(userData)->cancel, Qt::QueuedConnection);
        return noErr;
    };
    InstallEventHandler(GetWindowEventTarget(window), closeAsCancel, 1, &closeEvent, this, nullptr);
}

void DialogWindow::remove()
{
    if (WindowRef shown = std::exchange(window, nullptr)) {
        if (shown->widget)
            HideWindow(shown);
        else
            shown->visible = false;
        unwrapWidget(shown);
    }
    if (widget)
        widget->deleteLater();
    widget = nullptr;
}

} // namespace platform

void ShowWindow(WindowRef window)
{
    setVisible(window, true);
}
void HideWindow(WindowRef window)
{
    setVisible(window, false);
}
void ShowHide(WindowRef window, Boolean show)
{
    setVisible(window, show);
}
Boolean IsWindowVisible(WindowRef window)
{
    return window && window->visible;
}

void SelectWindow(WindowRef window)
{
    if (!window)
        return;
    if (window->visible) {
        moveToFront(window);
        bringToFront(window->widget);
    }
}

void DisposeWindow(WindowRef window)
{
    if (!window)
        return;
    const bool wasVisible = window->visible;
    const WindowRef before = FrontWindow();
    auto &order = zOrder();
    order.erase(std::remove(order.begin(), order.end(), window), order.end());
    QWidget *widget = window->widget;
    delete std::exchange(window->watcher, nullptr); // the widget outlives the record until Qt deletes it
    delete window;
    if (widget) {
        widget->hide();
        widget->deleteLater();
    }
    windowLeft(before, wasVisible);
}

WindowRef FrontWindow()
{
    for (WindowRef window : zOrder())
        if (window->visible)
            return window;
    return nullptr;
}

int GetVisibleWindowsFrontToBack(WindowRef *out, int maxCount)
{
    int count = 0;
    for (WindowRef window : zOrder())
        if (window->visible && count < maxCount)
            out[count++] = window;
    return count;
}

OSStatus GetWindowClass(WindowRef window, WindowClass *outClass)
{
    if (!window)
        return paramErr;
    *outClass = window->windowClass;
    return noErr;
}

std::string GetWTitle(WindowRef window)
{
    return window && window->widget
               ? window->widget->windowTitle().remove(QStringLiteral("[*]")).toStdString()
               : std::string();
}

void SetWTitle(WindowRef window, const std::string &title)
{
    if (!window || !window->widget)
        return;
    // "[*]" is where Qt shows the modified mark.
    window->widget->setWindowTitle(QString::fromStdString(title) + QStringLiteral("[*]"));
}

OSStatus SetWindowModified(WindowRef window, Boolean modified)
{
    if (!window || !window->widget)
        return paramErr;
    window->widget->setWindowModified(modified);
    return noErr;
}

Boolean IsWindowModified(WindowRef window)
{
    return window && window->widget && window->widget->isWindowModified();
}

OSStatus SetWindowProxyFilePath(WindowRef window, const std::string &path)
{
    if (!window || !window->widget)
        return paramErr;
    window->filePath = path;
    // The title stays the program's own; the file path only feeds the proxy.
    const QString title = window->widget->windowTitle();
    window->widget->setWindowFilePath(QString::fromStdString(path));
    window->widget->setWindowTitle(title);
    return noErr;
}

std::string GetWindowProxyFilePath(WindowRef window)
{
    return window ? window->filePath : std::string();
}

Boolean IsWindowCollapsed(WindowRef window)
{
    return window && window->collapsed;
}

OSStatus CollapseWindow(WindowRef window, Boolean collapse)
{
    if (!window || !window->widget)
        return paramErr;
    window->collapsed = collapse;
    if (collapse)
        window->widget->showMinimized();
    else if (window->widget->isMinimized())
        window->widget->showNormal();
    return noErr;
}

OSStatus SetWindowProperty(WindowRef window, OSType creator, OSType tag, void *value)
{
    if (!window)
        return paramErr;
    window->properties[{creator, tag}] = value;
    return noErr;
}

OSStatus GetWindowProperty(WindowRef window, OSType creator, OSType tag, void **value)
{
    if (!window)
        return paramErr;
    auto it = window->properties.find({creator, tag});
    if (it == window->properties.end())
        return errAEDescNotFound;
    *value = it->second;
    return noErr;
}

OSStatus RemoveWindowProperty(WindowRef window, OSType creator, OSType tag)
{
    if (!window)
        return paramErr;
    window->properties.erase({creator, tag});
    return noErr;
}

std::string GetWindowNibName(WindowRef window)
{
    return window ? window->nibName : std::string();
}

std::vector<std::string> GetShowLog()
{
    return showLog();
}
