// The printing system's side of the headless test driver: the sheets that
// are up, answered as a user would, and what the finished jobs wrote.
#include "printtesting.h"

#include "printsession.h"

#include <QMarginsF>
#include <QPageSize>
#include <algorithm>

namespace
{

QMarginsF marginsOf(const PageChoice &choice)
{
    return QMarginsF(choice.left, choice.top, choice.right, choice.bottom);
}

QPageSize pageSizeOf(const std::string &key)
{
    const QString wanted = QString::fromStdString(key);
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id)
        if (QPageSize::key(QPageSize::PageSizeId(id)).compare(wanted, Qt::CaseInsensitive) == 0)
            return QPageSize(QPageSize::PageSizeId(id));
    return QPageSize(QPageSize::A4);
}

} // namespace

std::vector<PendingPrintDialog> GetPendingPrintDialogs()
{
    std::vector<PendingPrintDialog> pending;
    for (PMPrintSession session : platform::livePrintSessions()) {
        if (!session->dialogOpen)
            continue;
        PendingPrintDialog dialog;
        dialog.session = session;
        dialog.kind = session->dialogKind;
        dialog.parentWindow = session->sheetParent;
        dialog.page = PMTestGetPageChoice(session->dialogFormat);
        if (PMPrintSettings settings = session->dialogSettings) {
            dialog.jobName = settings->jobName;
            dialog.outputFile = session->proposedFile;
            dialog.minPage = settings->minPage;
            dialog.maxPage = settings->maxPage;
        }
        pending.push_back(dialog);
    }
    return pending;
}

OSStatus PMTestAnswerPageSetup(PMPrintSession session, bool accept, const PageChoice &choice)
{
    if (!platform::printSheetWaiting(session) || session->dialogKind != PrintDialogKind::pageSetup)
        return kPMInvalidParameter;
    if (accept) {
        const QPageLayout layout(pageSizeOf(choice.paper),
                                 choice.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                 marginsOf(choice), QPageLayout::Point);
        session->printer->setPageLayout(layout);
        session->dialogFormat->layout = session->printer->pageLayout();
        session->dialogFormat->defined = true;
    }
    platform::finishPrintSheet(session, accept);
    return noErr;
}

OSStatus PMTestAnswerPrint(PMPrintSession session, bool accept, const PrintChoice &choice)
{
    if (!platform::printSheetWaiting(session) || session->dialogKind != PrintDialogKind::print)
        return kPMInvalidParameter;
    if (accept) {
        QPrinter *printer = session->printer.get();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(
            QString::fromStdString(choice.outputFile.empty() ? session->proposedFile : choice.outputFile));
        if (choice.firstPage == 0) {
            printer->setPrintRange(QPrinter::AllPages);
        } else {
            printer->setPrintRange(QPrinter::PageRange);
            printer->setFromTo(int(choice.firstPage), int(std::max(choice.firstPage, choice.lastPage)));
        }
        platform::takePrintChoice(session);
    }
    platform::finishPrintSheet(session, accept);
    return noErr;
}

PageChoice PMTestGetPageChoice(PMPageFormat format)
{
    PageChoice choice;
    if (!format)
        return choice;
    choice.paper = format->layout.pageSize().key().toStdString();
    choice.landscape = format->layout.orientation() == QPageLayout::Landscape;
    const QMarginsF margins = format->layout.margins(QPageLayout::Point);
    choice.left = margins.left();
    choice.top = margins.top();
    choice.right = margins.right();
    choice.bottom = margins.bottom();
    return choice;
}

int PMTestCompletedJobs()
{
    return platform::printLog().completedJobs;
}

int PMTestPrintedPages()
{
    return platform::printLog().printedPages;
}

int PMTestLiveSessions()
{
    return int(platform::livePrintSessions().size());
}
