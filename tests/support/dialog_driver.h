// The program's file dialogs and questions, found on screen, answered as a
// user would and read back.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

namespace qrltest
{

// A file dialog or a question (a message box with more than one button) that is up.
struct ShownDialog {
    QDialog *dialog = nullptr;
    QWidget *parent = nullptr; // the window it is a sheet on; null when application-modal
    Qt::WindowModality modality = Qt::NonModal;
    bool saves = false; // a Save dialog: the name in its field, its formats, the one chosen
    std::string name, format;
    std::vector<std::string> formats;
    std::string text, detail; // a question: its texts and buttons, the default first
    std::vector<std::string> buttons;
};

// The dialogs up now, oldest first.
std::vector<ShownDialog> ShownDialogs();
// Waits (a few seconds at most) for a dialog; a test failure, and an empty record, unless exactly one is up.
ShownDialog OnlyDialog();
// Waits until no dialog is up; false when one stays.
bool NoDialogShown();
// A Save dialog: goes to folder, types name and presses Save, replacing a file; false when not taken.
bool ChooseSaveLocation(const ShownDialog &shown, const std::string &folder, const std::string &name);
// A Save dialog: chooses the format (from 0); false when none has that number.
bool ChooseFormat(const ShownDialog &shown, int format);
// An Open dialog: chooses these files of one folder and presses Open; false when not taken.
bool ChooseFiles(const ShownDialog &shown, const std::vector<std::string> &paths);
// Presses the button with this text ("Cancel" in every dialog); false when there is none.
bool Press(const ShownDialog &shown, const std::string &button);

} // namespace qrltest
