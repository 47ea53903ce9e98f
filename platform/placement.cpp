// Window placement on the screen through Qt's window and screen geometry.
#include "placement.h"

#include "internal.h"

#include <QApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QStyle>

namespace
{

// The frame around a window's inside, as the window system drew it; none
// on platforms without frames (offscreen).
QMargins frameMargins(const QWidget *widget)
{
    const QRect frame = widget->frameGeometry();
    const QRect inside = widget->geometry();
    return QMargins(inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                    frame.bottom() - inside.bottom());
}

// The frame's top is its border and title bar; a frame without a title bar
// (none at all, or a thin border all round) gets the style's height.
int titleBarHeight(const QWidget *widget)
{
    const QMargins margins = frameMargins(widget);
    if (margins.top() > margins.left())
        return margins.top();
    return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
}

QScreen *screenOf(const QWidget *widget)
{
    QScreen *screen = widget->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

namespace platform
{

void cascadeWindow(QWidget *window, QWidget *parent)
{
    if (!window || !parent)
        return;
    QScreen *screen = screenOf(parent);
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const int step = titleBarHeight(parent);
    // The new window is not shown yet: its frame will be like the parent's.
    QRect frame(parent->frameGeometry().topLeft() + QPoint(step, step),
                window->size().grownBy(frameMargins(parent)));
    if (!available.contains(frame))
        frame.moveTopLeft(available.topLeft());
    window->move(frame.topLeft());
}

void moveFrame(QWidget *window, const QPoint &topLeft)
{
    window->move(topLeft);
}

QRect frameBounds(const QWidget *window)
{
    return window ? window->frameGeometry() : QRect();
}

QRect availableBounds(const QWidget *window)
{
    QScreen *screen = window ? screenOf(window) : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace platform
