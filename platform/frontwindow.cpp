// The front-window order, kept by an event filter on each window of ours.
#include "frontwindow.h"

#include "internal.h"
#include "menus.h"
#include "testing.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QPointer>
#include <algorithm>

namespace
{

std::vector<QPointer<QWidget>> order; // front to back
std::vector<std::string> showLog;

void forget(QWidget *window)
{
    order.erase(std::remove_if(order.begin(), order.end(),
                               [window](const QPointer<QWidget> &w) { return !w || w == window; }),
                order.end());
}

void putInFront(QWidget *window)
{
    forget(window);
    order.insert(order.begin(), window);
}

// Offscreen runs have no window system to raise or activate windows in.
void bringToFront(QWidget *widget)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    widget->raise();
    widget->activateWindow();
}

// The front window as last reported: at a Hide event the window going is already invisible.
QPointer<QWidget> reportedFront;

// Set while the application takes its windows down: nothing is told.
bool windingUp = false;

// Runs change; a new front window updates the menus and becomes the active one.
template <typename Change> void reorder(Change change)
{
    if (windingUp)
        return;
    QWidget *before = reportedFront;
    change();
    QWidget *front = platform::frontWindow();
    reportedFront = front;
    if (front == before)
        return;
    platform::updateMenus();
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
    ~WindowTracker() override
    {
        QWidget *window = window_;
        reorder([window] { forget(window); });
    }

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object == content_ && event->type() == QEvent::Paint)
            platform::probeWidgetPainted(window_, name_);
        // The window system's own hide and show (minimizing) leave the order.
        if (object != window_ || event->spontaneous())
            return false;
        if (event->type() == QEvent::Show)
            showLog.push_back(name_);
        if (event->type() == QEvent::Show || (event->type() == QEvent::WindowActivate &&
                                              window_->isVisible() && platform::frontWindow() != window_))
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
    order.clear();
    reportedFront = nullptr;
}

QWidget *frontWindow()
{
    const std::vector<QWidget *> shown = windowsFrontToBack();
    return shown.empty() ? nullptr : shown.front();
}

std::vector<QWidget *> windowsFrontToBack()
{
    std::vector<QWidget *> shown;
    for (const QPointer<QWidget> &window : order)
        if (window && window->isVisible())
            shown.push_back(window);
    return shown;
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
    return showLog;
}
