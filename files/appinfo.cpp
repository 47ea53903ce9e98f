#include "files/appinfo.h"

static tAppInfo appInfo = {false};

Boolean BGetAppQuittingStatus()
{
    return appInfo.quittingStatus;
}
void BSetAppQuittingStatus(Boolean status)
{
    appInfo.quittingStatus = status;
}
OSStatus BDoQuitApp()
{
    return noErr;
}
void BDoCreateReviewPanel() {}
void BDoCreateTerminateConfirmPanel(tDocumentPtr) {}
void BDoCreateTerminateSavePanel(tDocumentPtr) {}
void BNavTerminateConfirmEventProc(NavEventCallbackMessage, NavCBRecPtr, void *) {}
void BNavTerminateEventProc(NavEventCallbackMessage, NavCBRecPtr, void *) {}
