// The Open, Save, save-changes and discard-changes dialogs of normal work,
// and the questions the quit asks. A document's dialogs are window-modal
// sheets on its window, at most one at a time; the others are
// application-modal. Each returns at once and finishes in its answer.
#pragma once

#include "document/document.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

// The application's name as the dialogs show it.
extern const char *const kNavClientName;

// The window a document's dialogs are sheets on.
QWidget *BDocumentDialogParent(tDocumentPtr theDocumentPtr);

// A Save dialog's format: its name ("CSV") and extension without the dot.
struct tSaveFormat {
    std::string name;
    std::string extension;
};
// Where the user chose to save, whether a file there is replaced (the user
// confirmed it), and the chosen format.
struct tSaveLocation {
    std::string path;
    bool replacing = false;
    std::size_t format = 0;
};
// The answer of a Save dialog: nullopt when the user cancelled.
using tSaveAnswer = std::function<void(const std::optional<tSaveLocation> &)>;

// A Save dialog on the document's window, proposing name with the chosen
// format's extension (table documents' without formats). Nothing when the
// window shows a sheet already.
void BRunSaveDialog(tDocumentPtr theDocumentPtr, const std::string &name,
                    const std::vector<tSaveFormat> &formats, const tSaveAnswer &answer);

enum class tSaveChangesAnswer { save, dontSave, cancel };
// Whether the document is closing, or the application quitting.
enum class tSaveChangesMoment { closing, quitting };
// The save-changes question as a sheet on the document's window; nothing
// when the window shows a sheet already.
void BRunSaveChangesQuestion(tDocumentPtr theDocumentPtr, tSaveChangesMoment moment,
                             const std::function<void(tSaveChangesAnswer)> &answer);

enum class tReviewAnswer { review, discard, cancel };
// The quit's question about documentCount documents with unsaved changes.
void BRunReviewQuestion(int documentCount, const std::function<void(tReviewAnswer)> &answer);

void BDoCreateOpenPanel();
void BDoCreateSavePanel(tDocumentPtr theDocumentPtr);
void BDoCreateConfirmPanel(tDocumentPtr theDocumentPtr);
void BDoCreateRevertPanel(tDocumentPtr theDocumentPtr);

// The name a Save dialog proposes for a window title: the title without
// trailing blanks, with the table document's extension unless it has it.
std::string BProposedFileName(const std::string &windowTitle);
