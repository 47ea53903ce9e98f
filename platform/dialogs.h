// Dialogs the program builds itself (file dialogs, questions), shown
// without waiting: window-modal on a document window, or application-modal
// without one. The window order knows them, so that a dialog in front stops
// the quit and the menus, and the session end learns when they finish.
#pragma once

#include <cstdint>
#include <functional>

class QDialog;
class QWidget;

namespace platform
{

// Shows dialog with open() on parent's window (application-modal when parent
// is null) and returns at once. When the user answers, the dialog leaves the
// window order, done runs with its result, and the listener set below hears
// of its end; the dialog deletes itself. The close box and Escape reject it.
void showDialog(QDialog *dialog, QWidget *parent, const std::function<void(int result)> &done);
// The dialog up on parent's window (a window has at most one); null for none.
QDialog *dialogOn(QWidget *parent);

// Whether window is a dialog showDialog put up and the user has not answered
// yet; a sheet is one put up on a window.
bool isWaitingDialog(const QWidget *window);
bool isSheet(const QWidget *window);

// What the session end needs: a count of dialogs shown to mark a moment, how
// many shown since that mark still wait for the user, and word when one has
// ended (its done has returned), given to the one listener set.
std::uint64_t dialogsShownCount();
int dialogsWaitingSince(std::uint64_t mark);
void setDialogEndedListener(void (*listener)());

} // namespace platform
