// Saving, the save-changes questions, and quitting.
#pragma once

#include "document/document.h"

// Auxiliary windows (preferences, facts, about, help) the quit hides.
using tAuxiliaryWindowTest = bool (*)(QWidget *window);
void BSetAuxiliaryWindowTest(tAuxiliaryWindowTest test);

bool BGetAppQuittingStatus();
void BDoQuitApp();
void BDoCreateReviewPanel();
// Saves in place, or asks where when there is no file yet; false when the save failed (alerted).
bool BDoSaveDocument(tDocumentPtr theDocumentPtr);
// Save As…; while quitting, a saved document closes and the quit goes on.
void BDoCreateSavePanel(tDocumentPtr theDocumentPtr, bool quitting = false);
void BDoCreateConfirmPanel(tDocumentPtr theDocumentPtr);
