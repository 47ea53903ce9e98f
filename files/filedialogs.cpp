// The dialogs are Qt's own, not the desktop's, so that they look alike everywhere.
#include "files/filedialogs.h"

#include "document/document.h"
#include "files/file.h"
#include "platform/dialogs.h"
#include "platform/frontwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>

namespace
{

const char *const kNavClientName = "Quorlscope";

bool hasExtension(const QString &name, const QString &extension)
{
    return !extension.isEmpty() && name.size() > extension.size() + 1 &&
           name.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive);
}

// Titled with the program's name, starting in the home folder, not where the program started.
void setUp(QFileDialog *dialog, QFileDialog::AcceptMode acceptMode, QFileDialog::FileMode fileMode)
{
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setWindowTitle(QString::fromLatin1(kNavClientName));
    dialog->setDirectory(QDir::homePath());
    dialog->setAcceptMode(acceptMode);
    dialog->setFileMode(fileMode);
}

// Folders and table documents, but no save's temporary (it has the type before its rename).
class DocumentFilter : public QSortFilterProxyModel
{
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

  protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        auto *model = static_cast<QFileSystemModel *>(sourceModel());
        const QModelIndex index = model->index(row, 0, parent);
        if (model->isDir(index))
            return true;
        if (model->fileName(index).startsWith(QString::fromStdString(AtomicSave::temporaryPrefix())))
            return false;
        return BIsDocumentFile(model->filePath(index).toStdString());
    }
};

// The name gets its extension before the replace question, so that it names the real file.
class SaveDialog : public QFileDialog
{
  public:
    SaveDialog(QWidget *parent, const std::vector<tSaveFormat> &formats)
        : QFileDialog(parent), formats_(formats)
    {
        setUp(this, AcceptSave, AnyFile);
        QStringList filters;
        for (const tSaveFormat &format : formats_)
            filters << QStringLiteral("%1 (*.%2)")
                           .arg(QString::fromStdString(format.name),
                                QString::fromStdString(format.extension));
        if (formats_.empty()) {
            formats_.push_back({"", platform::typeExtension(kDocumentFileType)});
            filters << Navigation::tr("%1 documents (*.%2)").arg(windowTitle(), extension());
        } else {
            connect(this, &QFileDialog::filterSelected, this, [this, filters](const QString &filter) {
                if (const int index = int(filters.indexOf(filter)); index >= 0)
                    chooseFormat(std::size_t(index));
            });
        }
        setDefaultSuffix(extension());
        setNameFilters(filters);
        selectNameFilter(filters.value(0));
    }
    std::size_t format() const { return format_; }
    // The extension the dialog gives its files.
    QString extension() const { return QString::fromStdString(formats_[format_].extension); }
    QString withExtension(const QString &name) const
    {
        if (name.isEmpty() || extension().isEmpty() || hasExtension(name, extension()))
            return name;
        return name + QLatin1Char('.') + extension();
    }
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

// The window when it shows no sheet yet.
QWidget *freeWindow(QWidget *window)
{
    return window && !platform::dialogOn(window) ? window : nullptr;
}

// The document's window when it shows no sheet yet.
QWidget *freeWindowOf(tDocumentPtr theDocumentPtr)
{
    return freeWindow(BGetDocumentsWindowPtr(theDocumentPtr));
}

} // namespace

void BRunSaveDialog(tDocumentPtr theDocumentPtr, const std::string &name,
                    const std::vector<tSaveFormat> &formats, const tSaveAnswer &answer)
{
    BRunSaveDialogOn(BGetDocumentsWindowPtr(theDocumentPtr), name, formats, answer);
}

void BRunSaveDialogOn(QWidget *window, const std::string &name, const std::vector<tSaveFormat> &formats,
                      const tSaveAnswer &answer)
{
    QWidget *parent = freeWindow(window);
    if (!parent)
        return;
    auto *dialog = new SaveDialog(parent, formats);
    QString proposed = QString::fromStdString(name);
    while (proposed.endsWith(QLatin1Char(' ')))
        proposed.chop(1);
    dialog->selectFile(dialog->withExtension(proposed));
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

void BAsk(tDocumentPtr theDocumentPtr, const QString &text, const QString &detail, const QStringList &buttons,
          const std::function<void(int)> &answer)
{
    QWidget *parent = theDocumentPtr ? freeWindowOf(theDocumentPtr) : nullptr;
    if (theDocumentPtr && !parent)
        return;
    auto *box = new QMessageBox(parent);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(QString::fromLatin1(kNavClientName));
    const QString name = QString::fromStdString(platform::windowTitleOf(parent)).trimmed();
    box->setText(parent ? text.arg(Navigation::tr("“%1”", "a document's name quoted").arg(name)) : text);
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

void BDoCreateOpenPanel()
{
    static QPointer<QFileDialog> openDialog;
    if (openDialog && openDialog->isVisible())
        return; // the Open dialog is up already
    auto *dialog = new QFileDialog(nullptr);
    openDialog = dialog;
    setUp(dialog, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
    dialog->setProxyModel(new DocumentFilter(dialog));
    platform::showDialog(dialog, nullptr, [dialog](int result) {
        for (const QString &path : dialog->selectedFiles())
            if (result == QDialog::Accepted && BIsDocumentFile(path.toStdString()))
                BDoOpenFile(path.toStdString());
    });
}

void BDoCreateRevertPanel(tDocumentPtr theDocumentPtr)
{
    BAsk(theDocumentPtr, Navigation::tr("Do you want to discard the changes you made to the document %1?"),
         Navigation::tr("The document goes back to its last saved version."),
         {Navigation::tr("Revert"), Navigation::tr("Cancel")}, [theDocumentPtr](int index) {
             if (index != 0 || BReadFile(theDocumentPtr).failed())
                 return;
             BSetCurrentDocListIndexFromWindowRef(theDocumentPtr);
             BDrawDocsWindowData(1);
             BSetDocumentDirtyShown(theDocumentPtr, 0);
         });
}
