// The application's one set of menus, shared by every window that shows them.
#pragma once

#include <functional>

class QMenuBar;
class QWidget;

namespace platform
{

// Takes the menu bar's menus as the application's, owned by the hidden root; update enables
// the items before a menu opens or a key equivalent acts, on a new front window, and by updateMenus.
void installMenuBar(QWidget *root, QMenuBar *menuBar, std::function<void()> update);
void updateMenus();
// Gives a modal window, which blocks the shared menu bar, a bar of its own
// with the shared Edit menu.
void attachEditMenu(QWidget *widget);

} // namespace platform
