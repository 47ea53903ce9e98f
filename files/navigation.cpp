// The file dialogs and questions. They are Qt's own, not the desktop's, so
// that they look alike everywhere; each finishes the work in its answer.
#include "files/navigation.h"

#include "document/document.h"
#include "files/file.h"
#include "platform/dialogs.h"
#include "platform/forms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>

const char *const kNavClientName = "Quorlscope";

namespace
{

bool hasExtension(const QString &name, const QString &extension)
{
    return !extension.isEmpty() && name.size() > extension.size() + 1 &&
           name.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive);
}

// The Open list: folders, and table documents that are not a save's
// temporary (which carries the table's type before its rename).
class DocumentFilter : public QSortFilterProxyModel
{
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

  protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        auto *model = qobject_cast<QFileSystemModel *>(sourceModel());
        if (!model)
            return true;
        const QModelIndex index = model->index(row, 0, parent);
        if (model->isDir(index))
            return true;
        if (model->fileName(index).startsWith(QString::fromStdString(AtomicSave::temporaryPrefix())))
            return false;
        return BIsDocumentFile(model->filePath(index).toStdString());
    }
};

// Qt's save dialog, giving the name its extension before it asks whether
// to replace an existing file, so that the question names the real file.
class SaveDialog : public QFileDialog
{
  public:
    SaveDialog(QWidget *parent, std::vector<tSaveFormat> formats)
        : QFileDialog(parent), formats_(std::move(formats))
    {
    }
    std::size_t format() const { return format_; }
    // The extension the dialog gives its files.
    QString extension() const
    {
        return QString::fromStdString(formats_.empty() ? platform::typeExtension(kDocumentFileType)
                                                       : formats_[format_].extension);
    }
    QString withExtension(const QString &name) const
    {
        if (name.isEmpty() || extension().isEmpty() || hasExtension(name, extension()))
            return name;
        return name + QLatin1Char('.') + extension();
    }
    void offerFormats();
    void accept() override
    {
        // selectFile() leaves the name field alone while it has the focus,
        // so its text is set directly.
        QLineEdit *field = nameField();
        if (field && !field->text().isEmpty())
            field->setText(withExtension(field->text()));
        QFileDialog::accept();
    }

  private:
    QLineEdit *nameField() const { return findChild<QLineEdit *>(QStringLiteral("fileNameEdit")); }
    // A name with another format's extension takes the chosen one's instead.
    void chooseFormat(std::size_t format)
    {
        format_ = format;
        setDefaultSuffix(extension());
        QLineEdit *field = nameField();
        if (!field || field->text().isEmpty())
            return;
        QString name = field->text();
        for (const tSaveFormat &other : formats_)
            if (hasExtension(name, QString::fromStdString(other.extension))) {
                name.chop(int(other.extension.size()) + 1);
                break;
            }
        field->setText(withExtension(name));
    }
    std::vector<tSaveFormat> formats_;
    std::size_t format_ = 0;
};

void SaveDialog::offerFormats()
{
    QStringList filters;
    for (const tSaveFormat &format : formats_)
        filters << QStringLiteral("%1 (*.%2)")
                       .arg(QString::fromStdString(format.name), QString::fromStdString(format.extension));
    setNameFilters(filters);
    selectNameFilter(filters.value(0));
    connect(this, &QFileDialog::filterSelected, this, [this, filters](const QString &filter) {
        if (const int index = int(filters.indexOf(filter)); index >= 0)
            chooseFormat(std::size_t(index));
    });
}

void openChosenFiles(const QStringList &paths)
{
    for (const QString &path : paths)
        if (BIsDocumentFile(path.toStdString()))
            BDoOpenFile(path.toStdString());
}

QString quotedName(const std::string &name)
{
    return QCoreApplication::translate("Navigation", "“%1”", "a document's name quoted")
        .arg(QString::fromStdString(name).trimmed());
}

// A question with its buttons, the first the default and the last Cancel;
// answer hears the index of the button pressed (Cancel for Escape and the
// close box).
void ask(QWidget *parent, const QString &text, const QString &detail, const QStringList &buttons,
         const std::function<void(int)> &answer)
{
    auto *box = new QMessageBox(parent);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(QString::fromLatin1(kNavClientName));
    box->setText(text);
    box->setInformativeText(detail);
    QList<QAbstractButton *> pushButtons;
    for (const QString &label : buttons)
        pushButtons << box->addButton(label, &label == &buttons.back() ? QMessageBox::RejectRole
                                                                       : QMessageBox::AcceptRole);
    box->setDefaultButton(qobject_cast<QPushButton *>(pushButtons.front()));
    box->setEscapeButton(pushButtons.back());
    platform::showDialog(box, parent, [box, pushButtons, answer](int) {
        const int index = int(pushButtons.indexOf(box->clickedButton()));
        answer(index < 0 ? int(pushButtons.size()) - 1 : index);
    });
}

} // namespace

QWidget *BDocumentDialogParent(tDocumentPtr theDocumentPtr)
{
    return BGetDocumentsWindowPtr(theDocumentPtr);
}

std::string BProposedFileName(const std::string &windowTitle)
{
    std::string name = windowTitle;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    const QString extension = QString::fromStdString(platform::typeExtension(kDocumentFileType));
    if (name.empty() || hasExtension(QString::fromStdString(name), extension))
        return name;
    return name + "." + extension.toStdString();
}

void BRunSaveDialog(tDocumentPtr theDocumentPtr, const std::string &name,
                    const std::vector<tSaveFormat> &formats, const tSaveAnswer &answer)
{
    QWidget *parent = BDocumentDialogParent(theDocumentPtr);
    if (!parent || platform::dialogOn(parent))
        return;
    auto *dialog = new SaveDialog(parent, formats);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setWindowTitle(QString::fromLatin1(kNavClientName));
    dialog->setDirectory(QDir::homePath()); // not wherever the program was started from
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(dialog->extension());
    if (!formats.empty())
        dialog->offerFormats();
    else
        dialog->setNameFilter(QCoreApplication::translate("Navigation", "%1 documents (*.%2)")
                                  .arg(dialog->windowTitle(), dialog->extension()));
    dialog->selectFile(QString::fromStdString(name));
    platform::showDialog(dialog, parent, [dialog, answer](int result) {
        const QString chosen = dialog->selectedFiles().value(0);
        if (result != QDialog::Accepted || chosen.isEmpty()) {
            answer(std::nullopt);
            return;
        }
        const QFileInfo info(chosen);
        const QString path = info.absolutePath() + QLatin1Char('/') + dialog->withExtension(info.fileName());
        answer(tSaveLocation{path.toStdString(), QFileInfo::exists(path), dialog->format()});
    });
}

void BRunSaveChangesQuestion(tDocumentPtr theDocumentPtr, tSaveChangesMoment moment,
                             const std::function<void(tSaveChangesAnswer)> &answer)
{
    QWidget *parent = BDocumentDialogParent(theDocumentPtr);
    if (!parent || platform::dialogOn(parent))
        return;
    const QString name = quotedName(platform::windowTitleOf(parent));
    const QString text =
        moment == tSaveChangesMoment::quitting
            ? QCoreApplication::translate(
                  "Navigation",
                  "Do you want to save the changes you made in the document %1 before quitting?")
                  .arg(name)
            : QCoreApplication::translate("Navigation",
                                          "Do you want to save the changes you made in the document %1?")
                  .arg(name);
    ask(parent, text,
        QCoreApplication::translate("Navigation", "Your changes will be lost if you don’t save them."),
        {QCoreApplication::translate("Navigation", "Save"),
         QCoreApplication::translate("Navigation", "Don’t Save"),
         QCoreApplication::translate("Navigation", "Cancel")},
        [answer](int index) { answer(tSaveChangesAnswer(index)); });
}

void BRunReviewQuestion(int documentCount, const std::function<void(tReviewAnswer)> &answer)
{
    ask(nullptr,
        QCoreApplication::translate("Navigation", "You have %1 documents with unsaved changes. Do you want "
                                                  "to review these changes before quitting?")
            .arg(documentCount),
        QCoreApplication::translate("Navigation",
                                    "If you don’t review your documents, all your changes will be lost."),
        {QCoreApplication::translate("Navigation", "Review Changes…"),
         QCoreApplication::translate("Navigation", "Discard Changes"),
         QCoreApplication::translate("Navigation", "Cancel")},
        [answer](int index) { answer(tReviewAnswer(index)); });
}

void BDoCreateOpenPanel()
{
    static QPointer<QFileDialog> openDialog;
    if (openDialog && openDialog->isVisible())
        return; // the Open dialog is up already
    auto *dialog = new QFileDialog(nullptr);
    openDialog = dialog;
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setWindowTitle(QString::fromLatin1(kNavClientName));
    dialog->setDirectory(QDir::homePath());
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setProxyModel(new DocumentFilter(dialog));
    platform::showDialog(dialog, nullptr, [dialog](int result) {
        if (result == QDialog::Accepted)
            openChosenFiles(dialog->selectedFiles());
    });
}

void BDoCreateSavePanel(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return;
    BRunSaveDialog(theDocumentPtr, BProposedFileName(platform::windowTitleOf(theDocumentPtr)), {},
                   [theDocumentPtr](const std::optional<tSaveLocation> &location) {
                       if (location)
                           BDoSaveCopy(theDocumentPtr, location->path, location->replacing);
                       theDocumentPtr->isClosing = false;
                   });
}

void BDoCreateConfirmPanel(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return;
    BRunSaveChangesQuestion(theDocumentPtr, tSaveChangesMoment::closing,
                            [theDocumentPtr](tSaveChangesAnswer answer) {
                                theDocumentPtr->isClosing = answer != tSaveChangesAnswer::cancel;
                                if (answer == tSaveChangesAnswer::save)
                                    BDoSaveDocument(theDocumentPtr);
                                else if (answer == tSaveChangesAnswer::dontSave)
                                    BCloseDocument(theDocumentPtr);
                            });
}

void BDoCreateRevertPanel(tDocumentPtr theDocumentPtr)
{
    QWidget *parent = BDocumentDialogParent(theDocumentPtr);
    if (!parent || platform::dialogOn(parent))
        return;
    const QString name = quotedName(platform::windowTitleOf(theDocumentPtr));
    ask(parent,
        QCoreApplication::translate("Navigation",
                                    "Do you want to discard the changes you made to the document %1?")
            .arg(name),
        QCoreApplication::translate("Navigation", "The document goes back to its last saved version."),
        {QCoreApplication::translate("Navigation", "Revert"),
         QCoreApplication::translate("Navigation", "Cancel")},
        [theDocumentPtr](int index) {
            if (index != 0 || BReadFile(theDocumentPtr).failed())
                return;
            BSetCurrentDocListIndexFromWindowRef(theDocumentPtr);
            BDrawDocsWindowData(1);
            BSetDocumentDirtyShown(theDocumentPtr, 0);
        });
}
