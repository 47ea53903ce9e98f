// The real Qt dialogs, not the test driver's stand-ins: Page Setup and Print
// open QPageSetupDialog and QPrintDialog as window-modal sheets on the
// document window, and confirming them (as their OK and Print buttons do)
// finishes through the sheet procedures into a PDF file.
#include "app/main.h"
#include "document/document.h"
#include "platform/application.h"
#include "print/printing.h"
#include "print_helpers.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

using namespace qrltest;
using namespace printtest;

namespace
{

int argc = 1;
char programName[] = "quorlscope-test";
char *argv[] = {programName, nullptr};

// The application with its real dialogs, on Qt's offscreen platform.
void StartWithRealDialogs()
{
    const std::string home = TempFolder();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    PlatformInitialize(argc, argv, PlatformOptions{false});
    SetSplashWaitSkipped(true);
    BInitApplication();
}

template <typename Dialog> Dialog *OpenDialog()
{
    Dialog *found = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<Dialog *>(widget); dialog && dialog->isVisible())
            found = dialog;
    return found;
}

} // namespace

TEST(RealDialogs, PageSetupAndPrintIntoAPdfFile)
{
    StartWithRealDialogs();
    WindowRef window = DocumentAt(0);
    ASSERT_NE(window, nullptr);

    Trigger("PageSetup");
    auto *pageSetup = OpenDialog<QPageSetupDialog>();
    ASSERT_NE(pageSetup, nullptr);
    EXPECT_EQ(pageSetup->windowModality(), Qt::WindowModal);
    EXPECT_FALSE(IsCommandEnabled("Print")); // the sheet is in front
    pageSetup->printer()->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                                    QMarginsF(40, 40, 40, 40), QPageLayout::Point));
    pageSetup->accept();
    EXPECT_EQ(PMTestLiveSessions(), 0);
    const PageChoice kept = PMTestGetPageChoice(BGetPrintInfoOfWindow(window)->pageFormat);
    EXPECT_EQ(kept.paper, "Letter");
    EXPECT_TRUE(kept.landscape);

    Trigger("Print");
    auto *print = OpenDialog<QPrintDialog>();
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->windowModality(), Qt::WindowModal);
    EXPECT_EQ(print->minPage(), 1);
    EXPECT_EQ(print->maxPage(), 1);
    const std::string pdf = std::string(getenv("HOME")) + "/Untitled.pdf";
    EXPECT_EQ(print->printer()->outputFileName().toStdString(), pdf);
    EXPECT_EQ(print->printer()->docName().toStdString(), "Untitled ");
    print->accept();
    EXPECT_EQ(PMTestLiveSessions(), 0);
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
    EXPECT_EQ(PdfInfo(pdf, "Page size"), "792 x 612 pts (letter)");
    EXPECT_TRUE(TakeShownAlerts().empty());

    // Cancelled: nothing more is printed.
    Trigger("Print");
    print = OpenDialog<QPrintDialog>();
    ASSERT_NE(print, nullptr);
    print->reject();
    EXPECT_EQ(PMTestCompletedJobs(), 1);
    EXPECT_EQ(PMTestLiveSessions(), 0);
}
