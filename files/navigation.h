// The Open, Save, save-changes and discard-changes dialogs of normal work.
#pragma once

#include "document/document.h"
#include "platform/navigation.h"

#include <string>

// The application's name as the dialogs show it.
extern const char *const kNavClientName;

void BInitNavigation();

// The options of a sheet on the document's window, for this application
// and naming saveFileName.
NavDialogCreationOptions BGetDocumentDialogOptions(tDocumentPtr theDocumentPtr,
                                                   const std::string &saveFileName);
// Runs a dialog just created into *dialog; one that cannot run is disposed
// of and forgotten.
void BRunNavDialog(OSStatus createStatus, NavDialogRef *dialog);
// A document's Save dialog, proposing its title as the file name, and its
// save-changes dialog; the normal and the quit-time ones differ only in
// their callback and the field that keeps them.
void BCreateDocumentSaveDialog(tDocumentPtr theDocumentPtr, NavEventUPP eventProc, NavDialogRef *dialog);
void BCreateSaveChangesDialog(tDocumentPtr theDocumentPtr, NavAskSaveChangesAction action,
                              NavEventUPP eventProc, NavDialogRef *dialog);

void BDoCreateOpenPanel();
void BDoCreateSavePanel(tDocumentPtr theDocumentPtr);
void BDoCreateConfirmPanel(tDocumentPtr theDocumentPtr);
void BDoCreateRevertPanel(tDocumentPtr theDocumentPtr);

void BNavEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms, void *callBackUD);
Boolean BNavFilterProc(const AEDesc *theItem, const NavFileOrFolderInfo *info, void *callBackUD);
void BNavConfirmEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                          void *callBackUD);
void BNavRevertEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                         void *callBackUD);

// The name a Save dialog proposes for a window title: the title without
// trailing blanks, with the table document's extension unless it has it.
std::string BProposedFileName(const std::string &windowTitle);
