// Start-up in its fixed order, then the event loop.
#include "app/main.h"

#include "app/aboutwindow.h"
#include "app/applevent.h"
#include "app/mainmenu.h"
#include "app/opendocuments.h"
#include "app/startupwindow.h"
#include "document/document.h"
#include "files/appinfo.h"
#include "platform/application.h"
#include "platform/bundle.h"
#include "platform/commandline.h"
#include "platform/forms.h"
#include "platform/instance.h"
#include "platform/process.h"
#include "platform/quickdraw.h"
#include "print/printing.h"

#include <QSplashScreen>
#include <cstdio>
#include <cstdlib>

namespace
{

// The menus are built once the splash is on screen, within its wait: the
// splash shows none, and building them first would only hold it up.
void showSplash()
{
    const std::unique_ptr<QSplashScreen> splash = BInitStartupWindow();
    ShowSplashFor(*splash, std::chrono::ceil<std::chrono::milliseconds>(kSplashTime), QRLInitMainMenu);
}

bool givePrintingRecord(tDocumentPtr document)
{
    return BInitPrintingDialogs(document,
                                [document](QPainter &painter) { BDrawDocsPrintData(painter, document); });
}

void releasePrintingRecord(tDocumentPtr document)
{
    BDisposePrintInfoForWindow(document);
}

// Documents get their printing record as they are made and lose it as they
// close; a window closed with unsaved changes asks about them first.
void connectDocuments()
{
    BSetDocumentHooks({givePrintingRecord, releasePrintingRecord, BDoCreateConfirmPanel});
}

} // namespace

bool BInitHelp()
{
    return !platform::helpPage().isEmpty();
}

void BInitApplication()
{
    SetQuitHandler(BHandleQuitApplication);
    BInitHelp();
    BSetAuxiliaryWindowTest(BIsAuxiliaryWindow);
    connectDocuments();
    BPrepareMainWindow(); // built while the splash waits, shown after it
    showSplash();
    if (tDocumentPtr document = BInitDocument())
        BGetDocumentsWindowPtr(document)->show();
}

int BRunApplication(int argc, char **argv)
{
    const CommandLine help = ParseCommandLine(argc, argv);
    if (help.finished)
        return help.exitCode;
    if (!platform::hasDisplay()) {
        std::fputs("quorlscope: no display (DISPLAY is not set); run it under Xvfb: xvfb-run -a quorlscope\n",
                   stderr);
        return 1;
    }
    platform::StartOptions options;
    // The start-up benchmark's measurement, see bench/startup.
    options.startupProbe = std::getenv("QRL_STARTUP_PROBE");
    const platform::ApplicationGuard run; // the application ends with this function, whichever way it returns
    platform::initialize(argc, argv, options);
    const CommandLine commandLine = CheckCommandLineOptions(argc, argv);
    if (commandLine.finished)
        return commandLine.exitCode;
    switch (ClaimSingleInstance(commandLine.files, BOpenHandedOverDocuments)) {
    case InstanceRole::handedOver:
        return 0;
    case InstanceRole::failed:
        return 1;
    case InstanceRole::running:
        break;
    }
    BInitApplication();
    BOpenDocumentsAtLaunch(commandLine.files);
    platform::runEventLoop();
    return 0;
}
