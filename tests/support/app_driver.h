// Runs Quorlscope headless inside a test process as a user works it: menu commands, the table
// parameters window, alerts, dialogs and printing answered and read back, the sheets the windows show.
#pragma once

#include "document/document.h"
#include "document/sheet.h"
#include "platform/frontwindow.h"
#include "platform/testing.h"
#include "tests/support/alert_answerer.h"
#include "tests/support/common.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qrltest
{

// Own empty preferences and home folder, the headless platform and the program (without the
// splash's wait), in the locale LANG names.
void StartApplication(const std::string &locale = "C.UTF-8");

// The menu item "action" + name, or null; chosen from the opened menus, where it runs only when enabled.
QAction *MenuItem(const std::string &name);
bool Trigger(const std::string &name);
bool IsCommandEnabled(const std::string &name);

// What the user does in the table parameters window.
struct TableEntry {
    std::optional<std::string> distance, focalLength;
    std::optional<int> cameraItem; // pop-up item, 1 to 4
    std::optional<std::string> circle;
    bool compute = true; // false: press Cancel
};
// What the window showed when it opened.
struct TableWindowState {
    std::string distanceLabel, distance, focalLength, circle;
    int cameraItem = 0;
    bool circleEnabled = false;
};
// Opens the window with the compute command, fills it in, and cancels it when it stays open.
TableWindowState ComputeTable(const TableEntry &entry);

template <typename Widget> Widget *Find(QWidget *window, const char *objectName)
{
    return window ? window->findChild<Widget *>(QLatin1String(objectName)) : nullptr;
}
// What a user does to a widget; false when it is missing or disabled. Items count from 1.
bool TypeInto(QLineEdit *field, const std::string &text);
bool ChooseItem(QComboBox *popup, int item);

// The sheet a document window paints; the text whose frame starts at (L + x, T + y).
SheetLayout Contents(QWidget *window);
std::optional<std::string> TextAt(QWidget *window, short x, short y);

DocumentWindow *DocumentAt(int index);
std::vector<std::string> DocumentTitles();
// docs/portrait-50mm.qrtb, a table the application saved, copied into folder under name; its path.
std::string CopySavedTable(const std::string &folder, const std::string &name);
// The message and explanation in turn of each alert shown since last taken.
std::vector<std::string> Alerts();

// A file dialog or a question (a message box with more than one button) that is up.
struct ShownDialog {
    QDialog *dialog = nullptr;
    QWidget *parent = nullptr; // the window it is a sheet on; null when application-modal
    bool saves = false;        // a Save dialog, with the name in its field
    std::string name;
    std::string text, detail; // a question: its texts and buttons, the default first
    std::vector<std::string> buttons;
};
std::vector<ShownDialog> ShownDialogs(); // oldest first
// Waits a few seconds for a dialog; a failure and an empty record unless exactly one is up.
ShownDialog OnlyDialog();
bool NoDialogShown(); // waits until none is up
// A Save dialog: goes to folder, types name and presses Save, replacing a file; false when not taken.
bool ChooseSaveLocation(const ShownDialog &shown, const std::string &folder, const std::string &name);
bool ChooseFormat(const ShownDialog &shown, int format); // from 0
// Presses the button with this text ("Cancel" in every dialog); false when there is none.
bool Press(const ShownDialog &shown, const std::string &button);

// Page Setup on the front window: paper (Qt's key: "A4", "Letter"), orientation, margins in points.
struct PageChoice {
    std::string paper = "A4";
    bool landscape = false;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};
void SetUpPage(const PageChoice &choice);
void PrintTo(const std::string &pdf); // Print on the front window, into this PDF file

} // namespace qrltest
