// The printing system on Qt Print Support. A session holds a QPrinter; a
// page format is a QPageLayout; print settings carry the job name, the page
// range and the pages chosen. The dialogs are window-modal sheets on their
// document window, open()ed, and end in the session's sheet procedure.
// Headless runs show a bare stand-in and wait for the test driver's answer.
#include "printing.h"

#include "alerts.h"
#include "application.h"
#include "bundle.h"
#include "files.h"
#include "internal.h"
#include "printsession.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace
{

bool isLive(PMPrintSession session)
{
    const auto &sessions = platform::livePrintSessions();
    return session && std::find(sessions.begin(), sessions.end(), session) != sessions.end();
}

bool waiting(PMPrintSession session)
{
    return isLive(session) && session->dialogOpen;
}

// The PDF file a job of this name proposes: the title without its trailing
// blanks and document extension, in the document's folder or the home folder.
std::string proposedOutputFile(const std::string &jobName, WindowRef parent)
{
    QString name = QString::fromStdString(jobName).trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString extension = QLatin1Char('.') + QString::fromStdString(platform::documentExtension());
    if (extension.size() > 1 && name.endsWith(extension, Qt::CaseInsensitive))
        name.chop(extension.size());
    if (name.isEmpty())
        name = QStringLiteral("Untitled");
    const std::string documentPath = GetWindowProxyFilePath(parent);
    const QString folder = documentPath.empty()
                               ? QDir::homePath()
                               : QFileInfo(QString::fromStdString(documentPath)).absolutePath();
    return (folder + QLatin1Char('/') + name + QStringLiteral(".pdf")).toStdString();
}

void removeSheet(PMPrintSession session)
{
    session->dialogOpen = false;
    session->sheet.remove();
}

// The sheet has closed: the sheet procedure hears whether the user confirmed
// it. The procedure may release the session, so nothing of it is used after.
void finish(PMPrintSession session, bool accepted)
{
    removeSheet(session);
    const PMSheetDoneUPP done = session->sheetDone;
    if (done)
        done(session, session->sheetParent, accepted);
}

// What the user chose in the print dialog, read back from the printer.
void readPrintChoice(PMPrintSession session)
{
    PMPrintSettings settings = session->dialogSettings;
    if (!settings)
        return;
    if (session->printer->printRange() == QPrinter::PageRange) {
        settings->firstPage = std::uint32_t(std::max(session->printer->fromPage(), 1));
        settings->lastPage = std::uint32_t(std::max(session->printer->toPage(), 1));
    } else {
        settings->firstPage = 1;
        settings->lastPage = kPMPrintAllPages;
    }
}

QWidget *buildRealDialog(PMPrintSession session, QWidget *parent)
{
    QPrinter *printer = session->printer.get();
    if (session->dialogKind == PrintDialogKind::pageSetup)
        return new QPageSetupDialog(printer, parent);
    auto *dialog = new QPrintDialog(printer, parent);
    const PMPrintSettings settings = session->dialogSettings;
    dialog->setMinMax(int(std::min<std::uint32_t>(settings->minPage, INT_MAX)),
                      int(std::min<std::uint32_t>(settings->maxPage, INT_MAX)));
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog;
}

OSStatus openSheet(PMPrintSession session, PrintDialogKind kind, PMPageFormat format,
                   PMPrintSettings settings)
{
    if (!isLive(session) || !format || session->dialogOpen || !session->sheetParent)
        return kPMInvalidParameter;
    QPrinter *printer = session->printer.get();
    if (format->defined)
        printer->setPageLayout(format->layout);
    session->dialogKind = kind;
    session->dialogFormat = format;
    session->dialogSettings = settings;
    if (settings) {
        printer->setDocName(QString::fromStdString(settings->jobName));
        session->proposedFile = proposedOutputFile(settings->jobName, session->sheetParent);
        if (printer->outputFormat() == QPrinter::PdfFormat)
            printer->setOutputFileName(QString::fromStdString(session->proposedFile));
        printer->setPrintRange(QPrinter::AllPages);
    }
    QWidget *parent = platform::widgetOf(session->sheetParent);
    QDialog *dialog =
        PlatformIsHeadless() ? new QDialog(parent) : static_cast<QDialog *>(buildRealDialog(session, parent));
    dialog->setWindowModality(Qt::WindowModal);
    // The close box or Escape cancel the sheet.
    session->sheet.cancel = [session] {
        if (!waiting(session))
            return;
        if (auto *shown = qobject_cast<QDialog *>(session->sheet.widget); shown && !PlatformIsHeadless())
            shown->reject(); // finished() ends the sheet
        else
            finish(session, false);
    };
    session->sheet.wrap(dialog, kSheetWindowClass, "PrintSheet");
    if (!PlatformIsHeadless()) {
        QObject::connect(dialog, &QDialog::finished, dialog, [session](int result) {
            if (!waiting(session))
                return;
            const bool accepted = result == QDialog::Accepted;
            if (accepted && session->dialogKind == PrintDialogKind::pageSetup)
                session->dialogFormat->layout = session->printer->pageLayout();
            if (accepted && session->dialogKind == PrintDialogKind::print)
                readPrintChoice(session);
            finish(session, accepted);
        });
    }
    session->dialogOpen = true;
    dialog->open();
    ShowWindow(session->sheet.window);
    return noErr;
}

// The printing system tells its user when a job cannot be written.
void reportFailure(PMPrintSession session, const std::string &what, const std::string &reason)
{
    session->error = kPMGeneralError;
    showAlert("The table could not be printed to \u201c" + what + "\u201d.", reason);
}

// A PDF file is written beside its target and replaced as a saved document
// is, once complete: through a symbolic link, keeping its permissions.
bool prepareFile(PMPrintSession session, PrintJob &job)
{
    const QFileInfo target(QString::fromStdString(job.target));
    const FileError error = job.replacement.begin(job.target, Replace::any);
    if (error.failed()) {
        reportFailure(session, target.fileName().toStdString(),
                      "The folder \u201c" + target.absolutePath().toStdString() +
                          "\u201d cannot be written: " + error.reason() + ".");
        return false;
    }
    session->printer->setOutputFileName(QString::fromStdString(job.replacement.temporaryPath()));
    return true;
}

void discardTemporary(PrintJob &job)
{
    job.replacement.discard();
}

// A complete PDF file ends with its end-of-file marker; a full disk leaves
// it short.
bool isCompletePdf(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() < 8)
        return false;
    file.seek(std::max<qint64>(0, file.size() - 32));
    return file.readAll().contains("%%EOF");
}

bool publishFile(PMPrintSession session, PrintJob &job)
{
    const std::string name = QFileInfo(QString::fromStdString(job.target)).fileName().toStdString();
    if (!isCompletePdf(job.replacement.temporaryPath())) {
        reportFailure(session, name, "The file could not be written completely; the disk may be full.");
        return false;
    }
    // A printout can be made again: the file is not flushed to the disk
    // before the rename, which keeps a partial file from the target all the same.
    const FileError error = job.replacement.commit(false);
    if (error.failed()) {
        reportFailure(session, name, error.reason() + ".");
        return false;
    }
    return true;
}

std::string outputName(PMPrintSession session)
{
    if (!session->job->target.empty())
        return QFileInfo(QString::fromStdString(session->job->target)).fileName().toStdString();
    return session->printer->printerName().toStdString();
}

} // namespace

namespace platform
{

std::vector<PMPrintSession> &livePrintSessions()
{
    static std::vector<PMPrintSession> sessions;
    return sessions;
}

PrintLog &printLog()
{
    static PrintLog log;
    return log;
}

bool printSheetWaiting(PMPrintSession session)
{
    return waiting(session);
}

void finishPrintSheet(PMPrintSession session, bool accepted)
{
    finish(session, accepted);
}

void takePrintChoice(PMPrintSession session)
{
    readPrintChoice(session);
}

} // namespace platform

OSStatus PMCreateSession(PMPrintSession *outSession)
{
    if (!outSession)
        return kPMInvalidParameter;
    auto *session = new OpaquePMPrintSession;
    session->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Without a print server, jobs go to PDF files.
    if (session->printer->outputFormat() != QPrinter::PdfFormat &&
        QPrinterInfo::availablePrinterNames().isEmpty())
        session->printer->setOutputFormat(QPrinter::PdfFormat);
    platform::livePrintSessions().push_back(session);
    *outSession = session;
    return noErr;
}

OSStatus PMCreatePageFormat(PMPageFormat *outFormat)
{
    if (!outFormat)
        return kPMInvalidParameter;
    *outFormat = new OpaquePMPageFormat;
    return noErr;
}

OSStatus PMCreatePrintSettings(PMPrintSettings *outSettings)
{
    if (!outSettings)
        return kPMInvalidParameter;
    *outSettings = new OpaquePMPrintSettings;
    return noErr;
}

OSStatus PMRelease(PMPrintSession session)
{
    if (!isLive(session))
        return kPMInvalidParameter;
    if (session->dialogOpen)
        removeSheet(session);
    if (session->job) {
        if (QPainter *painter = session->job->pages.painter.get(); painter && painter->isActive())
            painter->end();
        discardTemporary(*session->job);
    }
    auto &sessions = platform::livePrintSessions();
    sessions.erase(std::remove(sessions.begin(), sessions.end(), session), sessions.end());
    delete session;
    return noErr;
}

OSStatus PMRelease(PMPageFormat format)
{
    delete format;
    return format ? OSStatus(noErr) : OSStatus(kPMInvalidParameter);
}

OSStatus PMRelease(PMPrintSettings settings)
{
    delete settings;
    return settings ? OSStatus(noErr) : OSStatus(kPMInvalidParameter);
}

OSStatus PMSessionDefaultPageFormat(PMPrintSession session, PMPageFormat format)
{
    if (!isLive(session) || !format)
        return kPMInvalidParameter;
    format->layout = session->printer->pageLayout();
    format->defined = true;
    return noErr;
}

OSStatus PMSessionValidatePageFormat(PMPrintSession session, PMPageFormat format)
{
    if (!isLive(session) || !format)
        return kPMInvalidPageFormat;
    if (format->defined)
        session->printer->setPageLayout(format->layout);
    format->layout = session->printer->pageLayout();
    format->defined = true;
    return noErr;
}

OSStatus PMSessionError(PMPrintSession session)
{
    return isLive(session) ? session->error : kPMInvalidParameter;
}

OSStatus PMSetJobNameCFString(PMPrintSettings settings, const std::string &name)
{
    if (!settings)
        return kPMInvalidPrintSettings;
    settings->jobName = name;
    return noErr;
}

OSStatus PMSetPageRange(PMPrintSettings settings, std::uint32_t minPage, std::uint32_t maxPage)
{
    if (!settings || minPage < 1 || maxPage < minPage)
        return kPMInvalidParameter;
    settings->minPage = minPage;
    settings->maxPage = maxPage;
    return noErr;
}

OSStatus PMGetFirstPage(PMPrintSettings settings, std::uint32_t *outFirst)
{
    if (!settings || !outFirst)
        return kPMInvalidPrintSettings;
    *outFirst = settings->firstPage;
    return noErr;
}

OSStatus PMGetLastPage(PMPrintSettings settings, std::uint32_t *outLast)
{
    if (!settings || !outLast)
        return kPMInvalidPrintSettings;
    *outLast = settings->lastPage;
    return noErr;
}

OSStatus PMGetAdjustedPageRect(PMPageFormat format, PMRect *outRect)
{
    if (!format || !outRect)
        return kPMInvalidPageFormat;
    const QRectF paint = format->layout.paintRect(QPageLayout::Point);
    *outRect = PMRect{paint.top(), paint.left(), paint.bottom(), paint.right()};
    return noErr;
}

OSStatus PMSessionUseSheets(PMPrintSession session, WindowRef documentWindow, PMSheetDoneUPP sheetDone)
{
    if (!isLive(session) || !documentWindow)
        return kPMInvalidParameter;
    session->sheetParent = documentWindow;
    session->sheetDone = sheetDone;
    return noErr;
}

OSStatus PMSessionPageSetupDialog(PMPrintSession session, PMPageFormat format)
{
    return openSheet(session, PrintDialogKind::pageSetup, format, nullptr);
}

OSStatus PMSessionPrintDialog(PMPrintSession session, PMPrintSettings settings, PMPageFormat constFormat)
{
    if (!settings)
        return kPMInvalidPrintSettings;
    return openSheet(session, PrintDialogKind::print, constFormat, settings);
}

OSStatus PMSessionCancelSheet(PMPrintSession session)
{
    if (!waiting(session))
        return noErr;
    finish(session, false);
    return noErr;
}

OSStatus PMSessionBeginDocument(PMPrintSession session, PMPrintSettings settings, PMPageFormat format)
{
    if (!isLive(session) || !settings || !format || session->job)
        return kPMInvalidParameter;
    auto job = std::make_unique<PrintJob>();
    QPrinter *printer = session->printer.get();
    printer->setDocName(QString::fromStdString(settings->jobName));
    if (printer->outputFormat() == QPrinter::PdfFormat) {
        job->target = printer->outputFileName().toStdString();
        if (job->target.empty())
            job->target = proposedOutputFile(settings->jobName, session->sheetParent);
        if (!prepareFile(session, *job))
            return session->error;
    }
    session->job = std::move(job);
    return noErr;
}

OSStatus PMSessionBeginPage(PMPrintSession session)
{
    if (!isLive(session) || !session->job || session->job->pages.pageOpen)
        return kPMInvalidParameter;
    platform::PaintedPages &pages = session->job->pages;
    const bool first = !pages.painter;
    // Page coordinates are points from the top-left of the printable area.
    if (!pages.beginPage(*session->printer, session->printer->resolution() / 72.0)) {
        reportFailure(session, outputName(session),
                      first ? "The printing system did not accept the job."
                            : "The printing system did not accept another page.");
        return session->error;
    }
    return noErr;
}

OSStatus PMSessionGetGraphicsContext(PMPrintSession session, void **outContext)
{
    if (!isLive(session) || !outContext || !session->job || !session->job->pages.pageOpen)
        return kPMInvalidParameter;
    *outContext = session->job->pages.painter.get();
    return noErr;
}

OSStatus PMSessionEndPage(PMPrintSession session)
{
    if (!isLive(session) || !session->job || !session->job->pages.pageOpen)
        return kPMInvalidParameter;
    platform::PaintedPages &pages = session->job->pages;
    pages.endPage();
    return noErr;
}

OSStatus PMSessionEndDocument(PMPrintSession session)
{
    if (!isLive(session) || !session->job)
        return kPMInvalidParameter;
    std::unique_ptr<PrintJob> job = std::move(session->job);
    QPainter *painter = job->pages.painter.get();
    const bool painted = painter && painter->isActive();
    if (painted && !painter->end() && session->error == noErr)
        reportFailure(session,
                      job->target.empty() ? session->printer->printerName().toStdString() : job->target,
                      "The printing system could not finish the job.");
    bool written = painted && session->error == noErr;
    if (written && !job->target.empty())
        written = publishFile(session, *job);
    discardTemporary(*job);
    if (written) {
        ++platform::printLog().completedJobs;
        platform::printLog().printedPages += job->pages.count;
    }
    return noErr;
}
