// The order of the program's windows, front to back: the front one is the
// window the menus and commands act on. Kept by us, from the windows' own
// show, hide and activation events, so that it is the same offscreen (where
// nothing activates a window) as under a window system.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace platform
{

// Makes a top-level widget one of the program's windows, known by name
// (the show log, the start-up probe); it takes its place in the order each
// time it is shown and leaves it when hidden.
void trackWindow(QWidget *window, const std::string &name);
// The frontmost shown window of ours; null when none is shown.
QWidget *frontWindow();
// The shown windows of ours, front to back.
std::vector<QWidget *> windowsFrontToBack();
// Shows the window (when hidden) and brings it to the front.
void showInFront(QWidget *window);
// Brings a shown window to the front.
void selectWindow(QWidget *window);
// The window's title without the place of the modified mark.
std::string windowTitleOf(const QWidget *window);

} // namespace platform
