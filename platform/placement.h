// Where windows open: cascading a new window from another, and the window
// and screen bounds that the placing works with.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace platform
{

// Places window (usually still hidden) down and to the right of parent by
// its title bar height; back to the top-left of the available screen area
// when that would not fit on the screen. With no parent the window stays
// where the window system puts it.
void cascadeWindow(QWidget *window, QWidget *parent);
// Moves the window so that its frame's top-left corner is at the point.
void moveFrame(QWidget *window, const QPoint &topLeft);
// The window with its frame and title bar, in global coordinates.
QRect frameBounds(const QWidget *window);
// The part of the window's screen that windows may use (without panels and
// docks); empty when there is no screen.
QRect availableBounds(const QWidget *window);

} // namespace platform
