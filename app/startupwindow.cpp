// The splash window: built and shown at start-up only, hidden afterwards.
#include "app/startupwindow.h"

#include "app/windowmodule.h"
#include "document/mainwindow.h"
#include "platform/forms.h"
#include "ui_startupwindow.h"

namespace
{

WindowRef startupWindow = nullptr;
std::int32_t existStartupWindow = 0;

} // namespace

void BInitStartupWindow()
{
    static const EventTypeSpec startupSpec[] = {{kEventClassWindow, kEventWindowClose},
                                                {kEventClassWindow, kEventWindowShown}};
    auto *form = new FormWindow<QWidget, Ui::startupWindow>;
    form->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    startupWindow = BLoadWindowWithHandler(form, "startupWindow", BStartupWindowEventHandler, 2, startupSpec);
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
