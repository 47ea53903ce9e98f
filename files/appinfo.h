// The quitting flag and the quit-time review of unsaved documents.
#pragma once

#include "document/document.h"
#include "platform/navigation.h"

struct tAppInfo {
    Boolean quittingStatus;
};

Boolean BGetAppQuittingStatus();
void BSetAppQuittingStatus(Boolean status);
OSStatus BDoQuitApp();
void BDoCreateReviewPanel();
void BDoCreateTerminateConfirmPanel(tDocumentPtr theDocumentPtr);
void BDoCreateTerminateSavePanel(tDocumentPtr theDocumentPtr);
void BNavTerminateConfirmEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                                   void *callBackUD);
void BNavTerminateEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                            void *callBackUD);
