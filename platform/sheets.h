// Window-modal dialogs the program builds itself (page setup, print), shown
// without waiting on a document window. The window order knows them while
// they are up, so that a dialog in front disables the document's menu items
// and its close box cancels it.
#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace platform
{

// Shows dialog with open() on parent's window and returns at once. When the
// user answers, the dialog leaves the window order and done runs with its
// result; the dialog deletes itself. The close box and Escape reject it.
void showSheet(QDialog *dialog, QWidget *parent, const std::function<void(int result)> &done);

} // namespace platform
