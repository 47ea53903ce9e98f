// Start-up in its fixed order, then the event loop.
#include "app/main.h"

#include "app/mainmenu.h"
#include "app/opendocuments.h"
#include "app/startupwindow.h"
#include "document/document.h"
#include "files/appinfo.h"
#include "platform/application.h"
#include "platform/commandline.h"
#include "platform/instance.h"
#include "platform/process.h"
#include "print/printing.h"

#include <QSplashScreen>
#include <chrono>
#include <cstdio>
#include <cstdlib>

void BInitApplication()
{
    SetQuitHandler(BHandleQuitApplication);
    BSetAuxiliaryWindowTest(BIsAuxiliaryWindow);
    // Documents have a printing record while open; closing unsaved ones asks first.
    BSetDocumentHooks(
        {[](tDocumentPtr document) {
             return BInitPrintingDialogs(document, [document](QPainter &painter, const QRectF &) {
                 BDrawDocsPrintData(painter, document);
             });
         },
         [](tDocumentPtr document) { BDisposePrintInfoForWindow(document); }, BDoCreateConfirmPanel});
    BPrepareMainWindow(); // built while the splash waits, shown after it
    // The splash stays up 170 sixtieths of a second; the menus are built meanwhile, so it shows none.
    const std::chrono::duration<int, std::ratio<1, 60>> splashTime(170);
    const std::unique_ptr<QSplashScreen> splash = BInitStartupWindow();
    ShowSplashFor(*splash, std::chrono::ceil<std::chrono::milliseconds>(splashTime), QRLInitMainMenu);
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
    const InstanceRole role = ClaimSingleInstance(commandLine.files, BOpenHandedOverDocuments);
    if (role != InstanceRole::running)
        return role == InstanceRole::handedOver ? 0 : 1;
    BInitApplication();
    BOpenDocumentsAtLaunch(commandLine.files);
    platform::runEventLoop();
    return 0;
}
