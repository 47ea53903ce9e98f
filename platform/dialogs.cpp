// Program dialogs in the window order: each is wrapped as a sheet (with a
// parent) or a movable modal window while it is up.
#include "dialogs.h"

#include "internal.h"
#include "process.h"

#include <QDialog>
#include <algorithm>
#include <memory>
#include <vector>

namespace
{

struct Shown {
    QPointer<QObject> dialog; // not QDialog: read while the dialog is being destroyed
    std::uint64_t number;     // when it was shown, counted from start-up
};

std::vector<Shown> &shownDialogs()
{
    static std::vector<Shown> dialogs;
    return dialogs;
}

std::uint64_t shownCount = 0;
void (*endedListener)() = nullptr;

void forget(const QObject *dialog)
{
    auto &dialogs = shownDialogs();
    dialogs.erase(
        std::remove_if(dialogs.begin(), dialogs.end(),
                       [dialog](const Shown &shown) { return !shown.dialog || shown.dialog == dialog; }),
        dialogs.end());
}

} // namespace

namespace platform
{

void showDialog(QDialog *dialog, QWidget *parent, const std::function<void(int result)> &done)
{
    auto wrapped = std::make_shared<DialogWindow>();
    wrapped->wrap(dialog, parent ? kSheetWindowClass : kMovableModalWindowClass,
                  parent ? "NavSheet" : "NavDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    wrapped->cancel = [guarded = QPointer<QDialog>(dialog)] {
        if (guarded && guarded->isVisible())
            guarded->reject();
    };
    shownDialogs().push_back({dialog, ++shownCount});
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, wrapped, done](int result) {
        if (!wrapped->window)
            return; // answered already
        forget(dialog);
        wrapped->remove();
        // The program goes on from here; an end of the process it asks for
        // in a headless run waits until the dialog's own code has returned.
        runHoldingExit([&done, result] {
            done(result);
            if (endedListener)
                endedListener();
        });
    });
    // A dialog that goes unanswered with its window (as the application
    // ends) no longer waits for the user.
    QObject::connect(dialog, &QObject::destroyed, [dialog] { forget(dialog); });
    if (parent) {
        dialog->open();
    } else {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    }
    ShowWindow(wrapped->window);
}

QDialog *dialogOn(QWidget *parent)
{
    if (!parent)
        return nullptr;
    for (QDialog *dialog : parent->findChildren<QDialog *>(QString(), Qt::FindDirectChildrenOnly))
        if (dialog->isVisible())
            return dialog;
    return nullptr;
}

std::uint64_t dialogsShownCount()
{
    return shownCount;
}

int dialogsWaitingSince(std::uint64_t mark)
{
    return int(std::count_if(shownDialogs().begin(), shownDialogs().end(),
                             [mark](const Shown &shown) { return shown.dialog && shown.number > mark; }));
}

void setDialogEndedListener(void (*listener)())
{
    endedListener = listener;
}

} // namespace platform
