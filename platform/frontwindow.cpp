// The front-window order: an event filter on each window of ours moves it
// to the front when it is shown or activated and takes it out when it is
// hidden or goes; the menus follow every change of the front window.
#include "frontwindow.h"

#include "internal.h"
#include "testing.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QPointer>
#include <algorithm>

namespace
{

std::vector<QPointer<QWidget>> &order()
{
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

std::vector<std::string> &log()
{
    static std::vector<std::string> names;
    return names;
}

void forget(QWidget *window)
{
    auto &windows = order();
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [window](const QPointer<QWidget> &w) { return !w || w == window; }),
                  windows.end());
}

void putInFront(QWidget *window)
{
    forget(window);
    order().insert(order().begin(), window);
}

// Offscreen runs have no window system to raise or activate windows in.
void bringToFront(QWidget *widget)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    widget->raise();
    widget->activateWindow();
}

// Runs change; the menus follow a new front window, which becomes the
// active one; with none left, the application hears of it.
// The front window as last reported: at a Hide event the window that goes
// no longer counts as visible, so the change is measured against this.
QPointer<QWidget> &reportedFront()
{
    static QPointer<QWidget> front;
    return front;
}

// Set while the application takes its windows down: nothing is told.
bool windingUp = false;

template <typename Change> void reorder(Change change)
{
    if (windingUp)
        return;
    QWidget *before = reportedFront();
    change();
    QWidget *front = platform::frontWindow();
    reportedFront() = front;
    if (front == before)
        return;
    platform::frontWindowChanged();
    if (front)
        bringToFront(front);
    else
        platform::lastWindowClosed();
}

class WindowTracker : public QObject
{
  public:
    WindowTracker(QWidget *window, std::string name)
        : QObject(window), window_(window), name_(std::move(name))
    {
        auto *main = qobject_cast<QMainWindow *>(window);
        content_ = main && main->centralWidget() ? main->centralWidget() : window;
        window->installEventFilter(this);
        if (content_ != window)
            content_->installEventFilter(this);
    }
    // Goes with its window.
    ~WindowTracker() override
    {
        QWidget *window = window_;
        reorder([window] { forget(window); });
    }

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object == content_ && event->type() == QEvent::Paint)
            platform::probeWidgetPainted(window_, name_);
        // A minimized window stays in the order: the window system's own
        // hide and show events (spontaneous ones) leave it where it is.
        if (object != window_ || event->spontaneous())
            return false;
        if (event->type() == QEvent::Show) {
            log().push_back(name_);
            reorder([this] { putInFront(window_); });
        } else if (event->type() == QEvent::WindowActivate && window_->isVisible() &&
                   platform::frontWindow() != window_)
            reorder([this] { putInFront(window_); });
        else if (event->type() == QEvent::Hide)
            reorder([this] { forget(window_); });
        return false;
    }

  private:
    QWidget *window_;
    QWidget *content_;
    std::string name_;
};

} // namespace

namespace platform
{

void trackWindow(QWidget *window, const std::string &name)
{
    windingUp = false;
    new WindowTracker(window, name);
}

void forgetWindowOrder()
{
    windingUp = true;
    order().clear();
    reportedFront() = nullptr;
}

QWidget *frontWindow()
{
    for (const QPointer<QWidget> &window : order())
        if (window && window->isVisible())
            return window;
    return nullptr;
}

std::vector<QWidget *> windowsFrontToBack()
{
    std::vector<QWidget *> shown;
    for (const QPointer<QWidget> &window : order())
        if (window && window->isVisible())
            shown.push_back(window);
    return shown;
}

void showInFront(QWidget *window)
{
    if (!window)
        return;
    if (!window->isVisible()) {
        window->show();
        bringToFront(window);
    }
    selectWindow(window);
}

void selectWindow(QWidget *window)
{
    if (!window || !window->isVisible())
        return;
    if (frontWindow() != window)
        reorder([window] { putInFront(window); });
    bringToFront(window);
}

std::string windowTitleOf(const QWidget *window)
{
    return window ? window->windowTitle().remove(QStringLiteral("[*]")).toStdString() : std::string();
}

} // namespace platform

std::vector<std::string> GetShowLog()
{
    return log();
}
