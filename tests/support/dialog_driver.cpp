#include "dialog_driver.h"

#include "platform/testing.h"

#include <QtWidgets>
#include <functional>
#include <gtest/gtest.h>

namespace qrltest
{
namespace
{

bool waitUntil(const std::function<bool()> &condition)
{
    for (QDeadlineTimer patience(5000); !condition() && !patience.hasExpired();)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

std::string text(QString label)
{
    return label.remove(QLatin1Char('&')).toStdString();
}

QFileDialog *fileDialog(const ShownDialog &shown, QFileDialog::AcceptMode mode)
{
    auto *files = qobject_cast<QFileDialog *>(shown.dialog);
    return files && files->isVisible() && files->acceptMode() == mode ? files : nullptr;
}

// Types name into the dialog's field and accepts it as its Open or Save
// button does, confirming the replace question beforehand; true once the
// dialog has gone.
bool typeAndAccept(QFileDialog *files, const QString &name)
{
    auto *field = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    field->selectAll();
    field->insert(name);
    files->setOption(QFileDialog::DontConfirmOverwrite);
    QPointer<QFileDialog> guarded(files);
    QMetaObject::invokeMethod(files, "accept", Qt::DirectConnection);
    ThrowHeldExit();
    return !guarded || !guarded->isVisible();
}

} // namespace

std::vector<ShownDialog> ShownDialogs()
{
    std::vector<ShownDialog> all;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *files = qobject_cast<QFileDialog *>(widget);
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!widget->isVisible() || (!files && !(box && box->buttons().size() > 1)))
            continue; // a message box with one button is an alert, which the alert answerer takes
        ShownDialog shown;
        shown.dialog = static_cast<QDialog *>(widget);
        shown.modality = widget->windowModality();
        shown.parent = shown.modality == Qt::WindowModal ? widget->parentWidget() : nullptr;
        if (files) {
            shown.saves = files->acceptMode() == QFileDialog::AcceptSave;
            shown.name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text().toStdString();
            for (const QString &filter : files->nameFilters())
                shown.formats.push_back(filter.toStdString());
            shown.format = files->selectedNameFilter().toStdString();
        } else {
            shown.text = box->text().toStdString();
            shown.detail = box->informativeText().toStdString();
            for (QAbstractButton *button : box->buttons())
                shown.buttons.insert(button == box->defaultButton() ? shown.buttons.begin()
                                                                    : shown.buttons.end(),
                                     text(button->text()));
        }
        all.push_back(shown);
    }
    return all;
}

ShownDialog OnlyDialog()
{
    waitUntil([] { return !ShownDialogs().empty(); });
    const std::vector<ShownDialog> shown = ShownDialogs();
    EXPECT_EQ(shown.size(), 1u);
    return shown.size() == 1 ? shown.front() : ShownDialog{};
}

bool NoDialogShown()
{
    return waitUntil([] { return ShownDialogs().empty(); });
}

bool ChooseSaveLocation(const ShownDialog &shown, const std::string &folder, const std::string &name)
{
    QFileDialog *files = fileDialog(shown, QFileDialog::AcceptSave);
    const QString path = QString::fromStdString(folder);
    if (files)
        files->setDirectory(path);
    // A folder that is gone cannot be gone to: its path is typed in.
    const bool there = files && files->directory().absolutePath() == QFileInfo(path).absoluteFilePath();
    return files && typeAndAccept(files, (there ? QString() : path + '/') + QString::fromStdString(name));
}

bool ChooseFormat(const ShownDialog &shown, int format)
{
    QFileDialog *files = fileDialog(shown, QFileDialog::AcceptSave);
    auto *list = files ? files->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")) : nullptr;
    if (!list || format < 0 || format >= list->count())
        return false;
    list->setCurrentIndex(format); // and what the list reports when the user picks an item
    emit list->activated(format);
    emit list->textActivated(list->itemText(format));
    return true;
}

bool ChooseFiles(const ShownDialog &shown, const std::vector<std::string> &paths)
{
    QFileDialog *files = fileDialog(shown, QFileDialog::AcceptOpen);
    if (!files || paths.empty() || (paths.size() > 1 && files->fileMode() != QFileDialog::ExistingFiles))
        return false;
    files->setDirectory(QFileInfo(QString::fromStdString(paths.front())).absolutePath());
    QStringList names;
    for (const std::string &path : paths)
        names << QFileInfo(QString::fromStdString(path)).fileName();
    return typeAndAccept(files, names.size() == 1 ? names.front() : '"' + names.join("\" \"") + '"');
}

bool Press(const ShownDialog &shown, const std::string &button)
{
    const QList<QAbstractButton *> buttons =
        shown.dialog ? shown.dialog->findChildren<QAbstractButton *>() : QList<QAbstractButton *>();
    for (QAbstractButton *candidate : buttons)
        if (candidate->isVisible() && candidate->isEnabled() && text(candidate->text()) == button) {
            candidate->click();
            ThrowHeldExit();
            return true;
        }
    return false;
}

} // namespace qrltest
