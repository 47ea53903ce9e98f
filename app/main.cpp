// Start-up in its fixed order, then the event loop.
#include "app/main.h"

#include "app/aboutwindow.h"
#include "app/applevent.h"
#include "app/mainmenu.h"
#include "app/startupwindow.h"
#include "document/document.h"
#include "document/mainwindow.h"
#include "files/navigation.h"
#include "platform/appleevents.h"
#include "platform/application.h"
#include "platform/bundle.h"
#include "platform/menus.h"
#include "platform/process.h"
#include "platform/quickdraw.h"

#include <cstdio>

namespace
{

void showSplash()
{
    QDDisplayWaitCursor(true);
    WindowRef splash = BGetStartupWindowRef();
    BStartupBoxHandler(splash);
    const std::uint32_t start = TickCount();
    WaitUntilTick(start + kSplashTicks);
    if (splash)
        ShowHide(splash, false);
    QDDisplayWaitCursor(false);
}

} // namespace

OSStatus BInitHelp()
{
    const std::string bundle = GetBundleRoot();
    if (bundle.empty())
        return 1;
    return AHRegisterHelpBook(bundle);
}

void BInitApplication()
{
    BInstallEventHandlers();
    BInitHelp();
    QRLInitMainMenu();
    BInitNavigation();
    BRegisterDocumentIcon();
    BPrepareMainWindow(); // built while the splash waits, shown after it
    showSplash();
    if (tDocumentPtr document = BInitDocument())
        ShowWindow(BGetDocumentsWindowPtr(document));
}

int BRunApplication(int argc, char **argv)
{
    if (!PlatformHasDisplay()) {
        std::fputs("quorlscope: no display (DISPLAY is not set); run it under Xvfb: xvfb-run -a quorlscope\n",
                   stderr);
        return 1;
    }
    const std::vector<std::string> files = PlatformInitialize(argc, argv, PlatformOptions{});
    BInitApplication();
    EnableMenuCommand(nullptr, FOUR_CHAR_CODE("pref"));
    if (!files.empty()) {
        AppleEvent openDocuments{kCoreEventClass, kAEOpenDocuments, {}};
        for (const std::string &file : files)
            openDocuments.directObject.push_back(AEDesc{file, true});
        AEPostAppleEvent(openDocuments);
    }
    RunApplicationEventLoop();
    return 0;
}
