// The splash window: built and shown at start-up only, hidden afterwards.
#include "app/startupwindow.h"

#include "app/windowmodule.h"
#include "document/mainwindow.h"

namespace
{

WindowRef startupWindow = nullptr;
std::int32_t existStartupWindow = 0;

} // namespace

void BInitStartupWindow()
{
    static const EventTypeSpec startupSpec[] = {{kEventClassWindow, kEventWindowClose},
                                                {kEventClassWindow, kEventWindowShown}};
    startupWindow =
        BLoadWindowWithHandler("startupwindow", "startupWindow", BStartupWindowEventHandler, 2, startupSpec);
    existStartupWindow = startupWindow ? 1 : 0;
}

OSStatus BStartupWindowEventHandler(EventHandlerCallRef, EventRef event, void *userData)
{
    auto window = static_cast<WindowRef>(userData);
    switch (GetEventKind(event)) {
    case kEventWindowClose:
        ShowHide(window, false);
        return noErr;
    case kEventWindowShown:
        BStartupBoxHandler(window);
        return noErr;
    default:
        return eventNotHandledErr;
    }
}

WindowRef BGetStartupWindowRef()
{
    if (!existStartupWindow)
        BInitStartupWindow();
    return startupWindow;
}
