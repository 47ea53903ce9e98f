// Standard file dialogs: open, save, save changes, discard changes and the
// review of unsaved documents. Document dialogs run as sheets on their
// window and report through their event callback.
#pragma once

#include "files.h"
#include "types.h"
#include "window.h"

#include <string>
#include <vector>

struct OpaqueNavDialogRef;
using NavDialogRef = OpaqueNavDialogRef *;

using NavEventCallbackMessage = std::int32_t;
enum : NavEventCallbackMessage { kNavCBTerminate = 3, kNavCBUserAction = 12 };

using NavUserAction = std::uint32_t;
enum : NavUserAction {
    kNavUserActionNone = 0,
    kNavUserActionCancel = 1,
    kNavUserActionOpen = 2,
    kNavUserActionSaveAs = 3,
    kNavUserActionNewFolder = 5,
    kNavUserActionSaveChanges = 6,
    kNavUserActionDontSaveChanges = 7,
    kNavUserActionDiscardChanges = 8,
    kNavUserActionReviewDocuments = 9,
    kNavUserActionDiscardDocuments = 10,
};

struct NavCBRec {
    NavDialogRef context = nullptr;
    NavUserAction userAction = kNavUserActionNone;
};
using NavCBRecPtr = NavCBRec *;

using NavEventProcPtr = void (*)(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                                 void *callBackUD);
using NavEventUPP = NavEventProcPtr;

// What the Open dialog's filter learns about one item.
struct NavFileOrFolderInfo {
    Boolean isFolder = false;
    FInfo finderInfo; // files only
};
// Returns true to show the item.
using NavObjectFilterProcPtr = Boolean (*)(const AEDesc *theItem, const NavFileOrFolderInfo *info,
                                           void *callBackUD);
using NavObjectFilterUPP = NavObjectFilterProcPtr;

using NavDialogOptionFlags = std::uint32_t;
enum : NavDialogOptionFlags {
    kNavAllowMultipleFiles = 0x00000080,
};
constexpr NavDialogOptionFlags kNavDefaultNavDlogOptions = kNavAllowMultipleFiles;

using WindowModality = std::uint32_t;
enum : WindowModality {
    kWindowModalityAppModal = 2,
    kWindowModalityWindowModal = 3,
};

// One format of the Save dialog's format pop-up: its name ("CSV") and the
// name extension of its files, without the dot ("csv").
struct NavFileFormat {
    std::string name;
    std::string extension;
};

struct NavDialogCreationOptions {
    NavDialogOptionFlags optionFlags = kNavDefaultNavDlogOptions;
    std::string clientName;
    std::string windowTitle;
    std::string saveFileName; // proposed file name, or the document the question names
    std::string message;
    WindowModality modality = kWindowModalityAppModal;
    WindowRef parentWindow = nullptr;
    // The Save dialog's format pop-up, the first format chosen at the start;
    // empty for none. Choosing a format gives the proposed or typed name
    // that format's extension, in place of another format's.
    std::vector<NavFileFormat> popupExtension;
};

using NavAskSaveChangesAction = std::uint32_t;
enum : NavAskSaveChangesAction { kNavSaveChangesClosingDocument = 1, kNavSaveChangesQuittingApplication = 2 };

// The reply of a finished file dialog. For the Save dialog the selection
// holds the chosen folder and saveFileName the name typed (UTF-8, any length
// the user gives); for the Open dialog the selection holds the chosen files.
struct NavReplyRecord {
    Boolean validRecord = false;
    Boolean replacing = false; // the user confirmed replacing the existing file
    AEDescList selection;
    std::string saveFileName;
    std::uint32_t fileFormat = 0; // the format chosen in the pop-up, from 0
};

OSStatus NavCreateGetFileDialog(const NavDialogCreationOptions *inOptions, NavEventUPP inEventProc,
                                NavObjectFilterUPP inFilterProc, void *inClientData, NavDialogRef *outDialog);
// The dialog keeps the document identity of this type: a name without the
// type's extension gets it appended (with a format pop-up, the chosen
// format's extension).
OSStatus NavCreatePutFileDialog(const NavDialogCreationOptions *inOptions, OSType inFileType,
                                NavEventUPP inEventProc, void *inClientData, NavDialogRef *outDialog);
OSStatus NavCreateAskSaveChangesDialog(const NavDialogCreationOptions *inOptions,
                                       NavAskSaveChangesAction inAction, NavEventUPP inEventProc,
                                       void *inClientData, NavDialogRef *outDialog);
OSStatus NavCreateAskDiscardChangesDialog(const NavDialogCreationOptions *inOptions, NavEventUPP inEventProc,
                                          void *inClientData, NavDialogRef *outDialog);
OSStatus NavCreateAskReviewDocumentsDialog(const NavDialogCreationOptions *inOptions,
                                           std::uint32_t inDocumentCount, NavEventUPP inEventProc,
                                           void *inClientData, NavDialogRef *outDialog);
// Shows the dialog and returns at once; the event proc hears of the user's
// action (kNavCBUserAction) and of the dialog's end (kNavCBTerminate).
OSStatus NavDialogRun(NavDialogRef inDialog);
void NavDialogDispose(NavDialogRef inDialog);
OSStatus NavDialogGetReply(NavDialogRef inDialog, NavReplyRecord *outReply);
NavUserAction NavDialogGetUserAction(NavDialogRef inDialog);
OSStatus NavCompleteSave(NavReplyRecord *inReply);

namespace platform
{

// What the session end needs of the file dialogs: a dialog run count to
// mark a moment, how many dialogs run since that mark still wait for the
// user, and word when a dialog has ended (its callbacks have returned),
// given to the one listener set.
std::uint64_t navDialogRunCount();
int navDialogsWaitingSince(std::uint64_t mark);
void setNavDialogEndedListener(void (*listener)());

} // namespace platform
