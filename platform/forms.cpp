// The forms' windows among the program's windows, and the one window that
// start-up builds ahead.
#include "forms.h"

#include "internal.h"

#include <QImage>
#include <QLayout>
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

void adoptWindow(QWidget *widget, const std::string &name)
{
    widget->hide();
    trackWindow(widget, name);
    attachMenuBarTo(widget);
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
