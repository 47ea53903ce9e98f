// Dialogs in the window order: each is wrapped as a sheet while it is up.
#include "sheets.h"

#include "internal.h"

#include <QDialog>
#include <memory>

namespace platform
{

void showSheet(QDialog *dialog, QWidget *parent, const std::function<void(int result)> &done)
{
    auto wrapped = std::make_shared<DialogWindow>();
    wrapped->wrap(dialog, kSheetWindowClass, "PrintSheet");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    wrapped->cancel = [guarded = QPointer<QDialog>(dialog)] {
        if (guarded && guarded->isVisible())
            guarded->reject();
    };
    QObject::connect(dialog, &QDialog::finished, dialog, [wrapped, done](int result) {
        if (!wrapped->window)
            return; // answered already
        wrapped->remove();
        done(result);
    });
    // A dialog that goes with its window, unanswered, leaves the order too.
    QObject::connect(dialog, &QObject::destroyed, [wrapped] { wrapped->remove(); });
    if (dialog->parentWidget() != parent)
        dialog->setParent(parent, dialog->windowFlags());
    dialog->setWindowModality(Qt::WindowModal);
    dialog->open();
    ShowWindow(wrapped->window);
}

} // namespace platform
