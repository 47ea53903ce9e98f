#include "dialog_driver.h"

#include "platform/testing.h"

#include <QAbstractButton>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace qrltest
{
namespace
{

constexpr int kPatienceMs = 5000;

bool waitUntil(const std::function<bool()> &condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > kPatienceMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

std::string text(const QString &label)
{
    QString shown = label;
    return shown.remove(QLatin1Char('&')).toStdString();
}

// A message box with more than one button asks a question; one with a
// single button is an alert, which the alert answerer takes.
bool isQuestion(QWidget *widget)
{
    auto *box = qobject_cast<QMessageBox *>(widget);
    return box && box->buttons().size() > 1;
}

ShownDialog describe(QDialog *dialog)
{
    ShownDialog shown;
    shown.dialog = dialog;
    shown.parent = dialog->windowModality() == Qt::WindowModal ? dialog->parentWidget() : nullptr;
    shown.modality = dialog->windowModality();
    shown.title = dialog->windowTitle().remove(QStringLiteral("[*]")).toStdString();
    if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
        shown.fileDialog = true;
        shown.saves = files->acceptMode() == QFileDialog::AcceptSave;
        shown.multipleFiles = files->fileMode() == QFileDialog::ExistingFiles;
        if (auto *field = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            shown.name = field->text().toStdString();
        for (const QString &filter : files->nameFilters())
            shown.formats.push_back(filter.toStdString());
        shown.format = files->selectedNameFilter().toStdString();
    } else if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
        shown.text = box->text().toStdString();
        shown.detail = box->informativeText().toStdString();
        if (box->defaultButton())
            shown.buttons.push_back(text(box->defaultButton()->text()));
        for (QAbstractButton *button : box->buttons())
            if (button != box->defaultButton())
                shown.buttons.push_back(text(button->text()));
    }
    return shown;
}

QFileDialog *fileDialog(const ShownDialog &shown, QFileDialog::AcceptMode mode)
{
    auto *files = qobject_cast<QFileDialog *>(shown.dialog);
    return files && files->isVisible() && files->acceptMode() == mode ? files : nullptr;
}

bool typeName(QFileDialog *files, const QString &name)
{
    auto *field = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!field)
        return false;
    field->setFocus();
    field->selectAll();
    field->insert(name);
    return true;
}

// Presses the file dialog's Open or Save button; true once it has gone.
bool pressAccept(QFileDialog *files)
{
    auto *box = files->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QPushButton *button =
        box ? box->button(files->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                         : QDialogButtonBox::Open)
            : nullptr;
    if (!button || !button->isEnabled())
        return false;
    QPointer<QFileDialog> guarded(files);
    button->click();
    ThrowHeldExit();
    return !guarded || !guarded->isVisible();
}

// Answers Yes when the file dialog asks whether to replace a file.
class ReplaceConfirmer : public QObject
{
  public:
    explicit ReplaceConfirmer(QWidget *dialog) : dialog_(dialog) { qApp->installEventFilter(this); }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (event->type() == QEvent::Show && box && box->parentWidget() == dialog_)
            if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                QMetaObject::invokeMethod(yes, &QAbstractButton::click, Qt::QueuedConnection);
        return false;
    }

  private:
    QWidget *dialog_;
};

} // namespace

std::vector<ShownDialog> ShownDialogs()
{
    std::vector<ShownDialog> shown;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog && dialog->isVisible() && (qobject_cast<QFileDialog *>(dialog) || isQuestion(dialog)))
            shown.push_back(describe(dialog));
    }
    return shown;
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
    if (!files)
        return false;
    // A folder that is gone cannot be gone to: its path is typed in.
    const QString path = QString::fromStdString(folder);
    files->setDirectory(path);
    const bool there = files->directory().absolutePath() == QFileInfo(path).absoluteFilePath();
    if (!typeName(files, there ? QString::fromStdString(name)
                               : path + QLatin1Char('/') + QString::fromStdString(name)))
        return false;
    ReplaceConfirmer confirmer(files);
    return pressAccept(files);
}

bool ChooseFormat(const ShownDialog &shown, int format)
{
    QFileDialog *files = fileDialog(shown, QFileDialog::AcceptSave);
    auto *list = files ? files->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")) : nullptr;
    if (!list || format < 0 || format >= list->count())
        return false;
    // What the list reports when the user picks an item.
    list->setCurrentIndex(format);
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
    const QString typed = names.size() == 1
                              ? names.front()
                              : QLatin1Char('"') + names.join(QStringLiteral("\" \"")) + QLatin1Char('"');
    return typeName(files, typed) && pressAccept(files);
}

bool Press(const ShownDialog &shown, const std::string &button)
{
    if (!shown.dialog || !shown.dialog->isVisible())
        return false;
    for (QAbstractButton *candidate : shown.dialog->findChildren<QAbstractButton *>())
        if (candidate->isVisible() && candidate->isEnabled() && text(candidate->text()) == button) {
            candidate->click();
            ThrowHeldExit();
            return true;
        }
    return false;
}

std::vector<std::string> ListFolder(const ShownDialog &shown, const std::string &folder, bool hiddenShown)
{
    std::vector<std::string> names;
    QFileDialog *files = fileDialog(shown, QFileDialog::AcceptOpen);
    auto *model = files ? files->findChild<QFileSystemModel *>() : nullptr;
    if (!model || !files->proxyModel())
        return names;
    const QString path = QFileInfo(QString::fromStdString(folder)).absoluteFilePath();
    bool loaded = false;
    const QMetaObject::Connection connection =
        QObject::connect(model, &QFileSystemModel::directoryLoaded,
                         [&loaded, path](const QString &done) { loaded |= done == path; });
    // A folder listed before is not loaded again.
    loaded = files->directory().absolutePath() == path && model->rowCount(model->index(path)) > 0;
    if (hiddenShown)
        files->setFilter(files->filter() | QDir::Hidden);
    files->setDirectory(path);
    waitUntil([&loaded] { return loaded; });
    QObject::disconnect(connection);
    QAbstractProxyModel *shownModel = files->proxyModel();
    const QModelIndex root = shownModel->mapFromSource(model->index(path));
    for (int row = 0; row < shownModel->rowCount(root); ++row)
        names.push_back(shownModel->index(row, 0, root).data().toString().toStdString());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace qrltest
