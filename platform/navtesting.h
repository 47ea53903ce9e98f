// The file dialogs' side of the headless test driver: a test lists the
// dialogs that are up and answers them as a user would. Answering hides the
// dialog and runs its event callback with the user's action and then with
// the dialog's end, exactly as the shown dialog does.
#pragma once

#include "navigation.h"

#include <string>
#include <vector>

enum class NavDialogKind { getFile, putFile, askSaveChanges, askDiscardChanges, askReviewDocuments };

struct PendingNavDialog {
    NavDialogRef dialog;
    NavDialogKind kind;
    WindowRef parentWindow; // the document window of a sheet; null for application-modal dialogs
    WindowModality modality;
    std::string saveFileName; // the proposed name, or the document the question names
    std::string clientName;
    NavDialogOptionFlags optionFlags;
    NavAskSaveChangesAction saveChangesAction; // save-changes dialogs
    std::uint32_t documentCount;               // review dialogs
    std::vector<NavFileFormat> formats;        // the Save dialog's format pop-up
    std::uint32_t fileFormat;                  // the format chosen in it
};

// The dialogs that run and wait for the user, oldest first.
std::vector<PendingNavDialog> GetPendingNavDialogs();

// A Save dialog: the user picks folder and types name. The table document's
// extension is appended when missing, as the dialog does; the reply says
// replacing when a file of that name exists (the user confirmed it).
OSStatus NavTestChooseSaveLocation(NavDialogRef dialog, const std::string &folder, const std::string &name);
// A Save dialog with a format pop-up: the user chooses format (from 0); the
// proposed name takes its extension.
OSStatus NavTestChooseSaveFormat(NavDialogRef dialog, std::uint32_t format);
// An Open dialog: the user chooses these files (whatever the list showed).
OSStatus NavTestChooseFiles(NavDialogRef dialog, const std::vector<std::string> &paths);
// Any dialog: the user answers with a button. Cancel fits every dialog;
// kNavUserActionSaveChanges and kNavUserActionDontSaveChanges the
// save-changes dialogs, kNavUserActionDiscardChanges the discard-changes
// dialog, kNavUserActionReviewDocuments and kNavUserActionDiscardDocuments
// the review dialog. paramErr for an answer the dialog does not offer.
OSStatus NavTestAnswer(NavDialogRef dialog, NavUserAction action);
// What a save-changes, discard-changes or review question says: its text,
// its detail and its buttons' labels, the default first; empty for the
// file dialogs.
std::vector<std::string> NavTestQuestion(NavDialogRef dialog);
// What an Open dialog lists in folder, through its filter: names, sorted.
// hiddenShown: as after the user chose to show hidden files.
std::vector<std::string> NavTestListFolder(NavDialogRef dialog, const std::string &folder,
                                           bool hiddenShown = false);
// How many saves the program has completed with NavCompleteSave.
int NavTestCompletedSaves();
