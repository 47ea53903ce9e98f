// The quitting flag and the quit-time review of unsaved documents.
#pragma once

#include "document/document.h"
#include "platform/navigation.h"

struct tAppInfo {
    Boolean quittingStatus;
};

// The application's test for its auxiliary windows (preferences, facts,
// about, help): the quit walk hides them instead of asking about them.
using tAuxiliaryWindowTest = bool (*)(WindowRef window);
void BSetAuxiliaryWindowTest(tAuxiliaryWindowTest test);

// Has saves ask for a location with the quit-time dialog while quitting,
// and go on with the quit once done.
void BInitQuitting();
Boolean BGetAppQuittingStatus();
OSStatus BDoQuitApp();
void BDoCreateReviewPanel();
void BDoCreateTerminateConfirmPanel(tDocumentPtr theDocumentPtr);
void BDoCreateTerminateSavePanel(tDocumentPtr theDocumentPtr);
void BNavTerminateConfirmEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                                   void *callBackUD);
void BNavTerminateEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                            void *callBackUD);
