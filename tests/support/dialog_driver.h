// The program's file dialogs and questions, found on screen and answered as
// a user would: a save location typed in, a format or files chosen, a button
// pressed; and read back: what a question says, what the Open list shows.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QFileDialog;
class QMessageBox;

namespace qrltest
{

// A dialog that is up, as the user sees it.
struct ShownDialog {
    QDialog *dialog = nullptr;
    QWidget *parent = nullptr; // the window it is a sheet on; null when application-modal
    Qt::WindowModality modality = Qt::NonModal;
    std::string title;
    bool fileDialog = false;
    bool saves = false;               // a file dialog: Save (otherwise Open)
    bool multipleFiles = false;       // an Open dialog: several files may be chosen
    std::string name;                 // a Save dialog: the name in its field
    std::vector<std::string> formats; // a Save dialog's format list
    std::string format;               // the format chosen in it
    // A question: its text, its detail and its buttons, the default first.
    std::string text, detail;
    std::vector<std::string> buttons;
};

// The file dialogs and questions up now, oldest first.
std::vector<ShownDialog> ShownDialogs();
// Waits (processing events, a few seconds at most) until a dialog is up and
// returns it; a test failure, and an empty record, unless exactly one is.
ShownDialog OnlyDialog();
// Waits until no dialog is up; false when one stays.
bool NoDialogShown();

// A Save dialog: the user goes to folder, types name and presses Save,
// confirming the replace question should one come. False when the dialog
// did not take the answer.
bool ChooseSaveLocation(const ShownDialog &shown, const std::string &folder, const std::string &name);
// A Save dialog's format list: the user chooses the format (from 0); false
// when there is none of that number.
bool ChooseFormat(const ShownDialog &shown, int format);
// An Open dialog: the user chooses these files of one folder and presses
// Open; false when the dialog does not take that many.
bool ChooseFiles(const ShownDialog &shown, const std::vector<std::string> &paths);
// Any dialog: the user presses the button with this text ("Cancel" in every
// dialog); false when it has none.
bool Press(const ShownDialog &shown, const std::string &button);
// What an Open dialog lists in folder, sorted by name; hiddenShown: after
// the user chose to show hidden files.
std::vector<std::string> ListFolder(const ShownDialog &shown, const std::string &folder,
                                    bool hiddenShown = false);

} // namespace qrltest
