// Runs Quorlscope headless inside a test process, the way a user would use
// it: commands from the menus, the table parameters window filled in and
// answered, alerts read back, and the sheet each document window shows.
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

// Gives the process its own empty preferences and home folder, starts the
// headless platform and, unless told otherwise, the application (start-up
// without the splash's wait).
void StartPlatform();
void StartApplication();

// The system locale the application starts with, as LANG names it
// ("de_DE.UTF-8" for German). Tests start in English ("C.UTF-8"), whatever
// the machine's locale, unless they choose another before starting.
void UseSystemLocale(const std::string &name);

// The menu item named "action" + name ("Save" is actionSave) in the menus
// the windows show; null when there is none.
QAction *MenuItem(const std::string &name);
// The menu with the object name its form gives it ("fileMenu").
QMenu *Menu(const char *objectName);
// The texts of the menu's items, "" for a separator.
std::vector<std::string> ItemTexts(const char *menu);
// The item's key equivalent as Qt's portable text ("Ctrl+S"), "" for none.
std::string KeyOf(const std::string &name);
// Chooses the item from the opened menus: it runs only when enabled there.
// Returns whether it ran.
bool Trigger(const std::string &name);
// Whether the item is enabled once the menus are opened.
bool IsCommandEnabled(const std::string &name);

// What the user does in the table parameters window.
struct TableEntry {
    std::optional<std::string> distance;
    std::optional<std::string> focalLength;
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
// Opens the table parameters window with the compute command and fills it
// in; when the compute is refused (an alert), presses Cancel afterwards so
// the window always ends. Returns what the window showed on opening.
TableWindowState ComputeTable(const TableEntry &entry);
// The table parameters window while it is open; null when none is.
QWidget *OpenTableWindow();
// Opens the window with the compute command and runs a script of one's own
// on it; a window the script leaves open is then cancelled.
void RunTableWindow(const std::function<void(QWidget *)> &script);

// The window's title as the user reads it (without the modified mark's place).
std::string Title(QWidget *window);
// Clicks the window's close box.
void ClickCloseBox(QWidget *window);
// The widget of the window with the object name its form gives it; null
// when the window has none of that type.
template <typename Widget> Widget *Find(QWidget *window, const char *objectName)
{
    return window ? window->findChild<Widget *>(QLatin1String(objectName)) : nullptr;
}
// What a user does to a window's widgets; false when the widget is missing
// or disabled. TypeInto replaces the field's text; ChooseItem picks the
// pop-up's item (from 1), which then reports the choice as the mouse would.
bool TypeInto(QLineEdit *field, const std::string &text);
bool ChooseItem(QComboBox *popup, int item);
bool Click(QAbstractButton *button);

// The sheet a document window shows: its texts with their frames, the rule
// and the picture, as the window paints them.
SheetLayout Contents(QWidget *window);
// The text with its frame's top-left corner at (L + x, T + y); nullopt when
// none is there.
std::optional<std::string> TextAt(QWidget *window, short x, short y);
std::vector<std::string> Texts(QWidget *window);

DocumentWindow *DocumentAt(int index);
// The titles of the document windows, in the document list's order.
std::vector<std::string> DocumentTitles();
// A table the application saved (docs/portrait-50mm.qrtb), copied into
// folder under name; returns its path.
std::string CopySavedTable(const std::string &folder, const std::string &name);
// Runs fn and reports whether it ended the process.
bool EndsProcess(const std::function<void()> &fn);

std::vector<std::string> AlertMessages();
// The message and the explanation of each alert shown since last taken, in turn.
std::vector<std::string> Alerts();

// Chooses the distance unit as a user does, in the preferences window (item
// 1 metres, 2 feet).
void ChooseDistanceUnit(int item);

// A new folder that others may enter once it is opened to them (unlike
// FreshFolder's in tests/support/common.h).
std::string TempFolder();
// UseCommaDecimalLocale of tests/support/common.h, by the name the
// program-level tests know it.
bool UseCommaLocale();

} // namespace qrltest
