// Runs Quorlscope headless inside a test process, as a user works it: menu
// commands, the table parameters window, alerts read back, and the sheet
// each document window shows.
#pragma once

#include "alert_answerer.h"
#include "document/document.h"
#include "document/sheet.h"
#include "platform/frontwindow.h"
#include "platform/testing.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qrltest
{

// Own empty preferences and home folder, the headless platform and the
// program (without the splash's wait), in the locale LANG names
// (UseSystemLocale: "de_DE.UTF-8"; "C.UTF-8" unless chosen).
void StartApplication();
void UseSystemLocale(const std::string &name);

// The menu item "action" + name in the windows' menus, or null; the menu
// of that object name ("fileMenu"); the item's key as portable text.
QAction *MenuItem(const std::string &name);
QMenu *Menu(const char *objectName);
std::string KeyOf(const std::string &name);
// Chooses the item from the opened menus, where it runs only when enabled.
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
// Opens the window with the compute command and runs the script on it; a
// window left open is then cancelled. ComputeTable fills it in.
void RunTableWindow(const std::function<void(QWidget *)> &script);
TableWindowState ComputeTable(const TableEntry &entry);

template <typename Widget> Widget *Find(QWidget *window, const char *objectName)
{
    return window ? window->findChild<Widget *>(QLatin1String(objectName)) : nullptr;
}
// What a user does to a widget; false when it is missing or disabled.
// ChooseItem picks the pop-up's item (from 1) as the mouse would.
bool TypeInto(QLineEdit *field, const std::string &text);
bool ChooseItem(QComboBox *popup, int item);
bool Click(QAbstractButton *button);
void ClickCloseBox(QWidget *window);
// The window's title without the modified mark's place.
std::string Title(QWidget *window);

// The sheet a document window paints; the text whose frame starts at
// (L + x, T + y), nullopt when none; all its texts.
SheetLayout Contents(QWidget *window);
std::optional<std::string> TextAt(QWidget *window, short x, short y);
std::vector<std::string> Texts(QWidget *window);

DocumentWindow *DocumentAt(int index);
std::vector<std::string> DocumentTitles();
// A table the application saved (docs/portrait-50mm.qrtb), copied into
// folder under name; returns its path.
std::string CopySavedTable(const std::string &folder, const std::string &name);
bool EndsProcess(const std::function<void()> &fn);
// The messages, or message and explanation in turn, of the alerts shown since last taken.
std::vector<std::string> AlertMessages();
std::vector<std::string> Alerts();
// A new folder outside FreshFolder's (closed to others), so that it may be opened to them.
std::string TempFolder();

} // namespace qrltest

namespace expected
{

// The sheet's English labels: "focal", "distance", "unsharpcircle",
// "camera", "aperture", "neardistance", "fardistance", with a unit
// ("distancemeter", "neardistancefeet"), and the cameras ("apsc",
// "fullframe", "kleinbild", "mediumformat").
std::string Label(const std::string &key);

} // namespace expected
