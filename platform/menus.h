// The application's one set of menus, shared by every window that shows them.
#pragma once

#include <functional>

class QMenuBar;
class QWidget;

namespace platform
{

// Takes the menus of the menu bar as the application's; root owns them and
// is never shown. update brings every item's enabled state up to date: it
// runs when a menu opens, before a key equivalent is looked up, when the
// front window changes and whenever updateMenus() is called.
void installMenuBar(QWidget *root, QMenuBar *menuBar, std::function<void()> update);
// Brings the items' enabled state up to date (a document's state changed).
void updateMenus();
// A modal window blocks every other window's menu bar: it gets its own bar
// with the shared Edit menu, so that editing works there through the menu.
void attachEditMenu(QWidget *widget);

} // namespace platform
