// The forms' windows in the platform's window list, and the one window that
// start-up builds ahead.
#include "forms.h"

#include "internal.h"

#include <QPointer>
#include <QWidget>

namespace
{

struct PreparedWindow {
    std::function<QWidget *()> build;
    QPointer<QWidget> widget;
};

PreparedWindow &prepared()
{
    static PreparedWindow window;
    return window;
}

} // namespace

namespace platform
{

WindowRef adoptWindow(QWidget *widget, const std::string &name)
{
    widget->hide();
    WindowRef window = wrapWidget(widget, kDocumentWindowClass, name);
    attachMenuBar(window);
    return window;
}

void prepareWindow(std::function<QWidget *()> build)
{
    prepared() = PreparedWindow{std::move(build), nullptr};
}

QWidget *takePreparedWindow()
{
    QWidget *widget = prepared().widget;
    prepared().widget = nullptr;
    return widget;
}

void buildPreparedWindows(bool ready)
{
    PreparedWindow &window = prepared();
    if (!window.build)
        return;
    window.widget = window.build();
    window.build = nullptr;
    if (ready)
        readyHiddenWindow(window.widget);
}

} // namespace platform
