// Dialogs the program builds itself, shown without waiting: window-modal on
// a document window, or application-modal without one.
#pragma once

#include <cstdint>
#include <functional>

class QDialog;
class QWidget;

namespace platform
{

// Shows dialog with open() on parent (application-modal when null) and
// returns at once; when answered, done runs with its result, then the ended
// listener, and the dialog deletes itself. The close box and Escape reject it.
void showDialog(QDialog *dialog, QWidget *parent, const std::function<void(int result)> &done);
// The dialog up on parent's window; null for none.
QDialog *dialogOn(QWidget *parent);
// Whether window is a dialog of showDialog still unanswered; a sheet has a parent.
bool isWaitingDialog(const QWidget *window);
bool isSheet(const QWidget *window);
// For the session end: dialogs shown so far, how many shown since that
// mark still wait, and the one listener told when a dialog has ended.
std::uint64_t dialogsShownCount();
int dialogsWaitingSince(std::uint64_t mark);
void setDialogEndedListener(void (*listener)());

} // namespace platform
