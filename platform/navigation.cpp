// File dialogs on Qt: the Open and Save dialogs are Qt's own file dialog,
// the questions are message boxes. Document dialogs are window-modal sheets
// on their document window, the others application-modal. Running returns
// at once; the user's answer reaches the event callback later. Headless
// runs show a bare stand-in window and wait for the test driver's answer.
#include "navigation.h"

#include "application.h"
#include "internal.h"
#include "navtesting.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <algorithm>
#include <sys/stat.h>

struct OpaqueNavDialogRef {
    NavDialogKind kind;
    NavDialogCreationOptions options;
    NavEventUPP eventProc = nullptr;
    void *clientData = nullptr;
    NavObjectFilterUPP filterProc = nullptr;
    OSType fileType = 0;
    NavAskSaveChangesAction askAction = 0;
    std::uint32_t documentCount = 0;
    bool running = false;  // shown and waiting for the user
    bool answered = false; // the user has acted
    bool inCallback = false;
    bool disposeLater = false;
    std::uint64_t runNumber = 0; // when it was run, counted from start-up
    NavUserAction userAction = kNavUserActionNone;
    std::uint32_t fileFormat = 0; // chosen in the format pop-up
    NavReplyRecord reply;
    platform::DialogWindow shown;
};

namespace
{

std::vector<NavDialogRef> &liveDialogs()
{
    static std::vector<NavDialogRef> dialogs;
    return dialogs;
}

int completedSaves = 0;
std::uint64_t dialogsRun = 0;
void (*dialogEndedListener)() = nullptr;

OSStatus createDialog(const NavDialogCreationOptions *options, NavDialogKind kind, NavEventUPP eventProc,
                      void *clientData, NavDialogRef *outDialog)
{
    if (!options || !outDialog)
        return paramErr;
    if (options->modality == kWindowModalityWindowModal && !options->parentWindow)
        return paramErr;
    auto *dialog = new OpaqueNavDialogRef;
    dialog->kind = kind;
    dialog->options = *options;
    dialog->eventProc = eventProc;
    dialog->clientData = clientData;
    liveDialogs().push_back(dialog);
    *outDialog = dialog;
    return noErr;
}

bool isLive(NavDialogRef dialog)
{
    const auto &dialogs = liveDialogs();
    return dialog && std::find(dialogs.begin(), dialogs.end(), dialog) != dialogs.end();
}

void destroy(NavDialogRef dialog)
{
    dialog->shown.remove();
    auto &dialogs = liveDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
    delete dialog;
}

// The user has answered: the dialog goes away, and its event proc hears the
// action and then the end, as the dialog service reports them.
void answer(NavDialogRef dialog, NavUserAction action, NavReplyRecord reply)
{
    dialog->running = false;
    dialog->answered = true;
    dialog->userAction = action;
    dialog->reply = std::move(reply);
    dialog->shown.remove();
    // A dialog disposed of by its own callback goes once the callback is
    // over, even when the callback leaves by an exception (a headless exit).
    struct CallbackScope {
        NavDialogRef dialog;
        explicit CallbackScope(NavDialogRef d) : dialog(d) { dialog->inCallback = true; }
        ~CallbackScope()
        {
            dialog->inCallback = false;
            if (dialog->disposeLater)
                destroy(dialog);
        }
    } scope(dialog);
    if (dialog->eventProc) {
        NavCBRec record;
        record.context = dialog;
        record.userAction = action;
        dialog->eventProc(kNavCBUserAction, &record, dialog->clientData);
        dialog->eventProc(kNavCBTerminate, &record, dialog->clientData);
    }
}

void finish(NavDialogRef dialog, NavUserAction action, NavReplyRecord reply)
{
    answer(dialog, action, std::move(reply));
    if (dialogEndedListener)
        dialogEndedListener();
}

bool itemShown(NavDialogRef dialog, const std::string &path, bool isFolder)
{
    if (!dialog->filterProc)
        return true;
    AEDesc item{path, true};
    NavFileOrFolderInfo info;
    info.isFolder = isFolder;
    FSSpec fileSpec;
    if (!isFolder && FSMakeFSSpec(path, &fileSpec) == noErr)
        FSpGetFInfo(&fileSpec, &info.finderInfo);
    return dialog->filterProc(&item, &info, dialog->clientData);
}

// The extension the Save dialog gives its files: the chosen format's, or
// the document type's.
std::string savedExtension(NavDialogRef dialog)
{
    const std::vector<NavFileFormat> &formats = dialog->options.popupExtension;
    if (dialog->fileFormat < formats.size())
        return formats[dialog->fileFormat].extension;
    return FSGetTypeExtension(dialog->fileType);
}

bool hasExtension(const std::string &name, const std::string &extension)
{
    return QString::fromStdString(name).endsWith(QLatin1Char('.') + QString::fromStdString(extension),
                                                 Qt::CaseInsensitive) &&
           name.size() > extension.size() + 1;
}

// The name the Save dialog settles on: the type's extension is added when
// the typed name lacks it.
std::string withExtension(NavDialogRef dialog, const std::string &name)
{
    const std::string extension = savedExtension(dialog);
    if (extension.empty() || name.empty() || hasExtension(name, extension))
        return name;
    return name + "." + extension;
}

// A name with another format's extension takes the chosen format's instead.
std::string withFormatExtension(NavDialogRef dialog, std::string name)
{
    for (const NavFileFormat &format : dialog->options.popupExtension) {
        if (hasExtension(name, format.extension)) {
            name.resize(name.size() - format.extension.size() - 1);
            break;
        }
    }
    return withExtension(dialog, name);
}

void chooseFormat(NavDialogRef dialog, std::uint32_t format)
{
    dialog->fileFormat = format;
    dialog->options.saveFileName = withFormatExtension(dialog, dialog->options.saveFileName);
}

NavReplyRecord saveReply(NavDialogRef dialog, const std::string &folder, const std::string &name)
{
    NavReplyRecord reply;
    reply.validRecord = true;
    reply.fileFormat = dialog->fileFormat;
    reply.selection.push_back(AEDesc{folder, true});
    reply.saveFileName = name;
    struct stat st;
    reply.replacing = stat((folder + "/" + name).c_str(), &st) == 0;
    return reply;
}

NavReplyRecord openReply(const std::vector<std::string> &paths)
{
    NavReplyRecord reply;
    reply.validRecord = true;
    for (const std::string &path : paths)
        reply.selection.push_back(AEDesc{path, true});
    return reply;
}

class FilterModel : public QSortFilterProxyModel
{
  public:
    FilterModel(NavDialogRef dialog, QObject *parent) : QSortFilterProxyModel(parent), dialog_(dialog) {}

  protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        auto *model = qobject_cast<QFileSystemModel *>(sourceModel());
        if (!model)
            return true;
        const QModelIndex index = model->index(row, 0, parent);
        return itemShown(dialog_, model->filePath(index).toStdString(), model->isDir(index));
    }

  private:
    NavDialogRef dialog_;
};

// Qt's save dialog that appends the document extension before it checks
// for an existing file, so that the replace question names the real file.
class SaveDialog : public QFileDialog
{
  public:
    SaveDialog(NavDialogRef dialog, QWidget *parent) : QFileDialog(parent), dialog_(dialog) {}

    void accept() override
    {
        // The name field is the dialog's own; selectFile() leaves it alone
        // while it has the focus, so its text is set directly.
        auto *field = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (field && !field->text().isEmpty()) {
            const QFileInfo typed(field->text());
            const std::string name = withExtension(dialog_, typed.fileName().toStdString());
            if (QString::fromStdString(name) != typed.fileName())
                field->setText(field->text() + QString::fromStdString(name).mid(typed.fileName().size()));
        }
        QFileDialog::accept();
    }

  private:
    NavDialogRef dialog_;
};

QWidget *parentWidget(NavDialogRef dialog)
{
    return platform::widgetOf(dialog->options.parentWindow);
}

QString quotedName(const std::string &name)
{
    return QCoreApplication::translate("Navigation", "“%1”", "a document's name quoted")
        .arg(QString::fromStdString(name));
}

// The format pop-up as the dialog's file type filters: choosing one swaps
// the extension of the name in the field.
void offerFormats(NavDialogRef dialog, QFileDialog *files)
{
    QStringList filters;
    for (const NavFileFormat &format : dialog->options.popupExtension)
        filters << QStringLiteral("%1 (*.%2)")
                       .arg(QString::fromStdString(format.name), QString::fromStdString(format.extension));
    files->setNameFilters(filters);
    files->selectNameFilter(filters.value(int(dialog->fileFormat)));
    QObject::connect(
        files, &QFileDialog::filterSelected, files, [dialog, files, filters](const QString &filter) {
            const int index = filters.indexOf(filter);
            if (index < 0 || !isLive(dialog))
                return;
            chooseFormat(dialog, std::uint32_t(index));
            files->setDefaultSuffix(QString::fromStdString(savedExtension(dialog)));
            auto *field = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (field && !field->text().isEmpty())
                field->setText(
                    QString::fromStdString(withFormatExtension(dialog, field->text().toStdString())));
        });
}

QWidget *buildFileDialog(NavDialogRef dialog)
{
    const bool save = dialog->kind == NavDialogKind::putFile;
    QFileDialog *files = save ? new SaveDialog(dialog, parentWidget(dialog)) : new QFileDialog(nullptr);
    files->setOption(QFileDialog::DontUseNativeDialog, true);
    files->setWindowTitle(QString::fromStdString(dialog->options.clientName));
    files->setDirectory(QDir::homePath()); // not wherever the program was started from
    if (save) {
        files->setAcceptMode(QFileDialog::AcceptSave);
        files->setFileMode(QFileDialog::AnyFile);
        const QString extension = QString::fromStdString(savedExtension(dialog));
        files->setDefaultSuffix(extension);
        if (!dialog->options.popupExtension.empty())
            offerFormats(dialog, files);
        else if (!extension.isEmpty())
            files->setNameFilter(QCoreApplication::translate("Navigation", "%1 documents (*.%2)")
                                     .arg(files->windowTitle(), extension));
        files->selectFile(QString::fromStdString(dialog->options.saveFileName));
    } else {
        files->setAcceptMode(QFileDialog::AcceptOpen);
        files->setFileMode((dialog->options.optionFlags & kNavAllowMultipleFiles)
                               ? QFileDialog::ExistingFiles
                               : QFileDialog::ExistingFile);
        files->setProxyModel(new FilterModel(dialog, files));
    }
    QObject::connect(files, &QDialog::finished, files, [dialog, files, save](int result) {
        if (!isLive(dialog) || !dialog->running)
            return;
        if (result != QDialog::Accepted) {
            finish(dialog, kNavUserActionCancel, NavReplyRecord{});
            return;
        }
        const QStringList chosen = files->selectedFiles();
        if (save) {
            const QFileInfo info(chosen.value(0));
            finish(dialog, kNavUserActionSaveAs,
                   saveReply(dialog, info.absolutePath().toStdString(),
                             withExtension(dialog, info.fileName().toStdString())));
            return;
        }
        std::vector<std::string> paths;
        for (const QString &path : chosen)
            paths.push_back(path.toStdString());
        finish(dialog, kNavUserActionOpen, openReply(paths));
    });
    return files;
}

struct Question {
    QString text;
    QString detail;
    std::vector<std::pair<QString, NavUserAction>> buttons; // the first is the default
};

Question questionFor(NavDialogRef dialog)
{
    const QString name =
        quotedName(QString::fromStdString(dialog->options.saveFileName).trimmed().toStdString());
    switch (dialog->kind) {
    case NavDialogKind::askSaveChanges:
        return {
            dialog->askAction == kNavSaveChangesQuittingApplication
                ? QCoreApplication::translate(
                      "Navigation",
                      "Do you want to save the changes you made in the document %1 before quitting?")
                      .arg(name)
                : QCoreApplication::translate("Navigation",
                                              "Do you want to save the changes you made in the document %1?")
                      .arg(name),
            QCoreApplication::translate("Navigation", "Your changes will be lost if you don’t save them."),
            {{QCoreApplication::translate("Navigation", "Save"), kNavUserActionSaveChanges},
             {QCoreApplication::translate("Navigation", "Don’t Save"), kNavUserActionDontSaveChanges},
             {QCoreApplication::translate("Navigation", "Cancel"), kNavUserActionCancel}}};
    case NavDialogKind::askDiscardChanges:
        return {
            QCoreApplication::translate("Navigation",
                                        "Do you want to discard the changes you made to the document %1?")
                .arg(name),
            QCoreApplication::translate("Navigation", "The document goes back to its last saved version."),
            {{QCoreApplication::translate("Navigation", "Revert"), kNavUserActionDiscardChanges},
             {QCoreApplication::translate("Navigation", "Cancel"), kNavUserActionCancel}}};
    default:
        return {
            QCoreApplication::translate("Navigation",
                                        "You have %1 documents with unsaved changes. Do you want "
                                        "to review these changes before quitting?")
                .arg(dialog->documentCount),
            QCoreApplication::translate("Navigation",
                                        "If you don’t review your documents, all your changes will be lost."),
            {{QCoreApplication::translate("Navigation", "Review Changes…"), kNavUserActionReviewDocuments},
             {QCoreApplication::translate("Navigation", "Discard Changes"), kNavUserActionDiscardDocuments},
             {QCoreApplication::translate("Navigation", "Cancel"), kNavUserActionCancel}}};
    }
}

QWidget *buildQuestion(NavDialogRef dialog)
{
    const Question question = questionFor(dialog);
    auto *box = new QMessageBox(parentWidget(dialog));
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(QString::fromStdString(dialog->options.clientName));
    box->setText(question.text);
    box->setInformativeText(question.detail);
    for (const auto &button : question.buttons) {
        const auto role =
            button.second == kNavUserActionCancel ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        QPushButton *pushButton = box->addButton(button.first, role);
        if (&button == &question.buttons.front())
            box->setDefaultButton(pushButton);
        if (button.second == kNavUserActionCancel)
            box->setEscapeButton(pushButton);
        const NavUserAction action = button.second;
        QObject::connect(pushButton, &QPushButton::clicked, box, [dialog, action] {
            if (isLive(dialog) && dialog->running)
                finish(dialog, action, NavReplyRecord{});
        });
    }
    return box;
}

QWidget *buildWidget(NavDialogRef dialog)
{
    if (PlatformIsHeadless())
        return new QDialog(parentWidget(dialog));
    if (dialog->kind == NavDialogKind::getFile || dialog->kind == NavDialogKind::putFile)
        return buildFileDialog(dialog);
    return buildQuestion(dialog);
}

} // namespace

std::vector<std::string> NavTestQuestion(NavDialogRef dialog)
{
    if (!isLive(dialog) || dialog->kind == NavDialogKind::getFile || dialog->kind == NavDialogKind::putFile)
        return {};
    const Question question = questionFor(dialog);
    std::vector<std::string> texts{question.text.toStdString(), question.detail.toStdString()};
    for (const auto &button : question.buttons)
        texts.push_back(button.first.toStdString());
    return texts;
}

namespace
{

bool offers(NavDialogKind kind, NavUserAction action)
{
    switch (action) {
    case kNavUserActionCancel:
        return true;
    case kNavUserActionSaveChanges:
    case kNavUserActionDontSaveChanges:
        return kind == NavDialogKind::askSaveChanges;
    case kNavUserActionDiscardChanges:
        return kind == NavDialogKind::askDiscardChanges;
    case kNavUserActionReviewDocuments:
    case kNavUserActionDiscardDocuments:
        return kind == NavDialogKind::askReviewDocuments;
    default:
        return false;
    }
}

bool waiting(NavDialogRef dialog)
{
    return isLive(dialog) && dialog->running;
}

} // namespace

OSStatus NavCreateGetFileDialog(const NavDialogCreationOptions *inOptions, NavEventUPP inEventProc,
                                NavObjectFilterUPP inFilterProc, void *inClientData, NavDialogRef *outDialog)
{
    OSStatus err = createDialog(inOptions, NavDialogKind::getFile, inEventProc, inClientData, outDialog);
    if (err == noErr)
        (*outDialog)->filterProc = inFilterProc;
    return err;
}

OSStatus NavCreatePutFileDialog(const NavDialogCreationOptions *inOptions, OSType inFileType,
                                NavEventUPP inEventProc, void *inClientData, NavDialogRef *outDialog)
{
    OSStatus err = createDialog(inOptions, NavDialogKind::putFile, inEventProc, inClientData, outDialog);
    if (err == noErr)
        (*outDialog)->fileType = inFileType;
    return err;
}

OSStatus NavCreateAskSaveChangesDialog(const NavDialogCreationOptions *inOptions,
                                       NavAskSaveChangesAction inAction, NavEventUPP inEventProc,
                                       void *inClientData, NavDialogRef *outDialog)
{
    OSStatus err =
        createDialog(inOptions, NavDialogKind::askSaveChanges, inEventProc, inClientData, outDialog);
    if (err == noErr)
        (*outDialog)->askAction = inAction;
    return err;
}

OSStatus NavCreateAskDiscardChangesDialog(const NavDialogCreationOptions *inOptions, NavEventUPP inEventProc,
                                          void *inClientData, NavDialogRef *outDialog)
{
    return createDialog(inOptions, NavDialogKind::askDiscardChanges, inEventProc, inClientData, outDialog);
}

OSStatus NavCreateAskReviewDocumentsDialog(const NavDialogCreationOptions *inOptions,
                                           std::uint32_t inDocumentCount, NavEventUPP inEventProc,
                                           void *inClientData, NavDialogRef *outDialog)
{
    OSStatus err =
        createDialog(inOptions, NavDialogKind::askReviewDocuments, inEventProc, inClientData, outDialog);
    if (err == noErr)
        (*outDialog)->documentCount = inDocumentCount;
    return err;
}

OSStatus NavDialogRun(NavDialogRef inDialog)
{
    if (!isLive(inDialog) || inDialog->running || inDialog->answered)
        return paramErr;
    const bool sheet = inDialog->options.modality == kWindowModalityWindowModal;
    QWidget *widget = buildWidget(inDialog);
    widget->setWindowModality(sheet ? Qt::WindowModal : Qt::ApplicationModal);
    widget->setWindowTitle(QString::fromStdString(inDialog->options.clientName));
    // The close box and Escape answer Cancel (answering takes the window away).
    inDialog->shown.cancel = [inDialog] {
        if (waiting(inDialog))
            finish(inDialog, kNavUserActionCancel, NavReplyRecord{});
    };
    inDialog->shown.wrap(widget, sheet ? kSheetWindowClass : kMovableModalWindowClass,
                         sheet ? "NavSheet" : "NavDialog");
    inDialog->running = true;
    inDialog->runNumber = ++dialogsRun;
    ShowWindow(inDialog->shown.window);
    return noErr;
}

void NavDialogDispose(NavDialogRef inDialog)
{
    if (!isLive(inDialog))
        return;
    if (inDialog->inCallback) {
        inDialog->disposeLater = true;
        return;
    }
    destroy(inDialog);
}

OSStatus NavDialogGetReply(NavDialogRef inDialog, NavReplyRecord *outReply)
{
    if (!isLive(inDialog) || !outReply || !inDialog->answered)
        return paramErr;
    *outReply = inDialog->reply;
    return noErr;
}

NavUserAction NavDialogGetUserAction(NavDialogRef inDialog)
{
    return isLive(inDialog) ? inDialog->userAction : kNavUserActionNone;
}

OSStatus NavCompleteSave(NavReplyRecord *inReply)
{
    if (!inReply || !inReply->validRecord)
        return paramErr;
    ++completedSaves;
    return noErr;
}

namespace platform
{

std::uint64_t navDialogRunCount()
{
    return dialogsRun;
}

int navDialogsWaitingSince(std::uint64_t mark)
{
    return int(std::count_if(liveDialogs().begin(), liveDialogs().end(), [mark](NavDialogRef dialog) {
        return dialog->running && dialog->runNumber > mark;
    }));
}

void setNavDialogEndedListener(void (*listener)())
{
    dialogEndedListener = listener;
}

} // namespace platform

std::vector<PendingNavDialog> GetPendingNavDialogs()
{
    std::vector<PendingNavDialog> pending;
    for (NavDialogRef dialog : liveDialogs()) {
        if (!dialog->running)
            continue;
        const NavDialogCreationOptions &o = dialog->options;
        pending.push_back({dialog, dialog->kind,
                           o.modality == kWindowModalityWindowModal ? o.parentWindow : nullptr, o.modality,
                           o.saveFileName, o.clientName, o.optionFlags, dialog->askAction,
                           dialog->documentCount, o.popupExtension, dialog->fileFormat});
    }
    return pending;
}

OSStatus NavTestChooseSaveLocation(NavDialogRef dialog, const std::string &folder, const std::string &name)
{
    if (!waiting(dialog) || dialog->kind != NavDialogKind::putFile)
        return paramErr;
    finish(dialog, kNavUserActionSaveAs, saveReply(dialog, folder, withExtension(dialog, name)));
    return noErr;
}

OSStatus NavTestChooseSaveFormat(NavDialogRef dialog, std::uint32_t format)
{
    if (!waiting(dialog) || dialog->kind != NavDialogKind::putFile ||
        format >= dialog->options.popupExtension.size())
        return paramErr;
    chooseFormat(dialog, format);
    return noErr;
}

OSStatus NavTestChooseFiles(NavDialogRef dialog, const std::vector<std::string> &paths)
{
    if (!waiting(dialog) || dialog->kind != NavDialogKind::getFile)
        return paramErr;
    if (paths.size() > 1 && !(dialog->options.optionFlags & kNavAllowMultipleFiles))
        return paramErr;
    finish(dialog, kNavUserActionOpen, openReply(paths));
    return noErr;
}

OSStatus NavTestAnswer(NavDialogRef dialog, NavUserAction action)
{
    if (!waiting(dialog) || !offers(dialog->kind, action))
        return paramErr;
    finish(dialog, action, NavReplyRecord{});
    return noErr;
}

std::vector<std::string> NavTestListFolder(NavDialogRef dialog, const std::string &folder, bool hiddenShown)
{
    std::vector<std::string> names;
    if (!waiting(dialog) || dialog->kind != NavDialogKind::getFile)
        return names;
    const QDir dir(QString::fromStdString(folder));
    const QDir::Filters filters =
        QDir::AllEntries | QDir::NoDotAndDotDot | (hiddenShown ? QDir::Hidden : QDir::Filters());
    for (const QFileInfo &info : dir.entryInfoList(filters, QDir::Name))
        if (itemShown(dialog, info.absoluteFilePath().toStdString(), info.isDir()))
            names.push_back(info.fileName().toStdString());
    return names;
}

int NavTestCompletedSaves()
{
    return completedSaves;
}
