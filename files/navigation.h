// The Open, Save, save-changes and discard-changes dialogs of normal work.
#pragma once

#include "document/document.h"
#include "platform/navigation.h"

// The application's name as the dialogs show it.
extern const char *const kNavClientName;

void BInitNavigation();
// The callback of the quit-time save dialog, made by BInitNavigation.
NavEventUPP BGetTerminateEventProc();

void BDoCreateOpenPanel();
void BDoCreateSavePanel(tDocumentPtr theDocumentPtr);
void BDoCreateConfirmPanel(tDocumentPtr theDocumentPtr);
void BDoCreateRevertPanel(tDocumentPtr theDocumentPtr);

void BNavEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms, void *callBackUD);
Boolean BNavFilterProc(const AEDesc *theItem, const NavFileOrFolderInfo *info, void *callBackUD,
                       NavFilterModes filterMode);
void BNavConfirmEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                          void *callBackUD);
void BNavRevertEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                         void *callBackUD);

// The name a Save dialog proposes for a window title: the title without
// trailing blanks, with the table document's extension unless it has it.
std::string BProposedFileName(const std::string &windowTitle);
