// The quitting flag and the quit-time review of unsaved documents.
#pragma once

#include "document/document.h"

// The application's test for its auxiliary windows (preferences, facts,
// about, help): the quit walk hides them instead of asking about them.
using tAuxiliaryWindowTest = bool (*)(QWidget *window);
void BSetAuxiliaryWindowTest(tAuxiliaryWindowTest test);

// Has saves ask for a location with the quit-time dialog while quitting,
// and go on with the quit once done.
void BInitQuitting();
bool BGetAppQuittingStatus();
void BDoQuitApp();
void BDoCreateReviewPanel();
void BDoCreateTerminateConfirmPanel(tDocumentPtr theDocumentPtr);
void BDoCreateTerminateSavePanel(tDocumentPtr theDocumentPtr);
