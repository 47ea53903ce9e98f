// The Apple event handlers through which the system asks the application
// to quit, to show its preferences and to open documents.
#include "app/applevent.h"

#include "app/prefwindow.h"
#include "document/document.h"
#include "files/appinfo.h"
#include "files/file.h"
#include "platform/alerts.h"
#include "platform/files.h"
#include "platform/process.h"

namespace
{

AEEventHandlerUPP myODOCEventHandler = nullptr;
AEEventHandlerUPP myPREFEventHandler = nullptr;
AEEventHandlerUPP myQAPPEventHandler = nullptr;

[[noreturn]] void failInstalling()
{
    showAlert("OS Err", "AE");
    ExitToShell();
}

} // namespace

void BInstallEventHandlers()
{
    myODOCEventHandler = BHandleOpenDocument;
    myPREFEventHandler = BHandlePreferences;
    myQAPPEventHandler = BHandleQuitApplication;
    if (!myODOCEventHandler || !myPREFEventHandler || !myQAPPEventHandler)
        failInstalling();
    if (AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, myQAPPEventHandler, 0) != noErr ||
        AEInstallEventHandler(kCoreEventClass, kAEShowPreferences, myPREFEventHandler, 0) != noErr ||
        AEInstallEventHandler(kCoreEventClass, kAEOpenDocuments, myODOCEventHandler, 0) != noErr)
        failInstalling();
}

OSErr BHandleQuitApplication(const AppleEvent *, AppleEvent *, long)
{
    if (BGetNumberOfDirtyDocuments() <= 0)
        ExitToShell();
    if (BGetNumberOfDirtyDocuments() <= 1)
        BDoQuitApp();
    else
        BDoCreateReviewPanel();
    return noErr;
}

OSErr BHandlePreferences(const AppleEvent *, AppleEvent *, long)
{
    if (WindowRef window = BGetPrefWindowRef())
        BPreferencesCommandHandler(window);
    return noErr;
}

OSErr BHandleOpenDocument(const AppleEvent *theAppleEvent, AppleEvent *, long)
{
    if (BGetNumberOfDocuments() == kMaxNumberOfDocuments)
        return noErr;
    AEDescList documents;
    OSErr result = AEGetParamDesc(theAppleEvent, keyDirectObject, typeAEList, &documents);
    if (result != noErr)
        return result;
    long itemCount = 0;
    result = AECountItems(&documents, &itemCount);
    if (result != noErr)
        return result;
    for (std::int16_t index = 1; index <= itemCount; ++index) {
        FSSpec fileSpec;
        result = AEGetNthFSSpec(&documents, index, &fileSpec);
        if (result != noErr)
            return result;
        FInfo fileInfo;
        result = FSpGetFInfo(&fileSpec, &fileInfo);
        if (result == noErr && fileInfo.fdType == kDocumentFileType)
            result = BDoOpenFile(&fileSpec);
    }
    return result;
}
