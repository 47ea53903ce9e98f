// Window placement on the screen through Qt's window and screen geometry.
#include "placement.h"

#include "internal.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

namespace platform
{

void cascadeWindow(QWidget *window, QWidget *parent)
{
    if (!window || !parent)
        return;
    QScreen *screen = parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The frame the window system drew around the parent (none offscreen).
    const QRect outside = parent->frameGeometry();
    const QRect inside = parent->geometry();
    const QMargins margins(inside.left() - outside.left(), inside.top() - outside.top(),
                           outside.right() - inside.right(), outside.bottom() - inside.bottom());
    // The step is the title bar; a frame without one (none at all, or a thin
    // border all round) steps by the style's height.
    const int step = margins.top() > margins.left()
                         ? margins.top()
                         : QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    // The new window is not shown yet: its frame will be like the parent's.
    QRect frame(outside.topLeft() + QPoint(step, step), window->size().grownBy(margins));
    if (!available.contains(frame))
        frame.moveTopLeft(available.topLeft());
    window->move(frame.topLeft());
}

} // namespace platform
