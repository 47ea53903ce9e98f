// Program dialogs, in the window order while they are up.
#include "dialogs.h"

#include "frontwindow.h"
#include "internal.h"
#include "process.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace
{

struct Shown {
    QPointer<QObject> dialog; // not QDialog: read while the dialog is being destroyed
    std::uint64_t number;     // when it was shown, counted from start-up
};

std::vector<Shown> shownDialogs;
std::uint64_t shownCount = 0;
void (*endedListener)() = nullptr;

// The close box and Escape reject the dialog once their event is over.
class DialogGuard : public QObject
{
  public:
    explicit DialogGuard(QDialog *dialog) : QObject(dialog) { dialog->installEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        const bool escape =
            event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
        if (event->type() != QEvent::Close && !escape)
            return false;
        event->ignore();
        QMetaObject::invokeMethod(
            qApp,
            [guarded = QPointer<QDialog>(static_cast<QDialog *>(parent()))] {
                if (guarded && guarded->isVisible())
                    guarded->reject();
            },
            Qt::QueuedConnection);
        return true;
    }
};

void forget(const QObject *dialog)
{
    shownDialogs.erase(
        std::remove_if(shownDialogs.begin(), shownDialogs.end(),
                       [dialog](const Shown &shown) { return !shown.dialog || shown.dialog == dialog; }),
        shownDialogs.end());
}

} // namespace

namespace platform
{

void showDialog(QDialog *dialog, QWidget *parent, const std::function<void(int result)> &done)
{
    trackWindow(dialog, parent ? "NavSheet" : "NavDialog");
    new DialogGuard(dialog);
    shownDialogs.push_back({dialog, ++shownCount});
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, answered, done](int result) {
        if (std::exchange(*answered, true))
            return;
        forget(dialog);
        dialog->hide();
        const QPointer<QDialog> kept(dialog); // an answer may close the dialog's window, and it with it
        // A headless run's end of the process waits until the dialog's own code has returned.
        runHoldingExit([&done, result] {
            done(result);
            if (endedListener)
                endedListener();
        });
        // Deleted only now, not on close: an alert in the answer runs a loop of its own, which
        // would carry out an earlier deleteLater while the dialog's done() is still on the stack.
        if (kept)
            kept->deleteLater();
    });
    // A dialog that goes with its window (as the application ends) no longer waits.
    QObject::connect(dialog, &QObject::destroyed, [dialog] { forget(dialog); });
    if (parent) {
        dialog->open();
    } else {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    }
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

bool isWaitingDialog(const QWidget *window)
{
    return window && std::any_of(shownDialogs.begin(), shownDialogs.end(),
                                 [window](const Shown &shown) { return shown.dialog == window; });
}

bool isSheet(const QWidget *window)
{
    return isWaitingDialog(window) && window->parentWidget();
}

std::uint64_t dialogsShownCount()
{
    return shownCount;
}

int dialogsWaitingSince(std::uint64_t mark)
{
    return int(std::count_if(shownDialogs.begin(), shownDialogs.end(),
                             [mark](const Shown &shown) { return shown.dialog && shown.number > mark; }));
}

void setDialogEndedListener(void (*listener)())
{
    endedListener = listener;
}

} // namespace platform
