// The program's windows front to back, kept from their own show, hide and
// activation events: the same offscreen, where nothing activates a window.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace platform
{

// Makes a top-level widget one of the program's windows, known by name (the
// show log, the start-up probe).
void trackWindow(QWidget *window, const std::string &name);
// The frontmost shown window of ours; null when none is shown.
QWidget *frontWindow();
std::vector<QWidget *> windowsFrontToBack();
// Brings a shown window to the front.
void selectWindow(QWidget *window);
// The window's title without the place of the modified mark.
std::string windowTitleOf(const QWidget *window);

} // namespace platform
