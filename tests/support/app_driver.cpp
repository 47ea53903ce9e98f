#include "app_driver.h"

#include "app/main.h"
#include "app/tablewindow.h"
#include "common.h"
#include "document/document.h"
#include "platform/application.h"
#include "platform/internal.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace qrltest
{

namespace
{

int argc = 1;
char programName[] = "quorlscope-test";
char *argv[] = {programName, nullptr};
std::string systemLocale = "C.UTF-8";

// The application a test started ends with the test program, before its exit
// handlers free what Qt's platform plugin holds for the windows.
class ApplicationEnd : public ::testing::Environment
{
  public:
    void TearDown() override { platform::shutDown(); }
};
const ::testing::Environment *const applicationEnd = ::testing::AddGlobalTestEnvironment(new ApplicationEnd);

} // namespace

std::string TempFolder()
{
    // Directly in the temporary folder, not in FreshFolder's scratch folder
    // (closed to others), so that a test that gives up root can reach it.
    std::string pattern =
        (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/qrl-XXXXXX");
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a temporary folder";
    return pattern;
}

bool UseCommaLocale()
{
    return UseCommaDecimalLocale();
}

void UseSystemLocale(const std::string &name)
{
    systemLocale = name;
}

void StartPlatform()
{
    // The language comes from LANG alone.
    setenv("LANG", systemLocale.c_str(), 1);
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        unsetenv(variable);
    const std::string home = FreshFolder();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    platform::initialize(argc, argv, platform::StartOptions{true});
}

void StartApplication()
{
    StartPlatform();
    BInitApplication();
    platform::runEventLoop(); // headless: marks the loop running and returns
}

QMenu *Menu(const char *objectName)
{
    for (QWidget *widget : QApplication::allWidgets())
        if (auto *menu = qobject_cast<QMenu *>(widget);
            menu && menu->objectName() == QLatin1String(objectName))
            return menu;
    return nullptr;
}

QAction *MenuItem(const std::string &name)
{
    const QString objectName = QString::fromStdString("action" + name);
    for (const char *menu : {"appMenu", "fileMenu", "editMenu", "funcMenu", "helpMenu"})
        if (QMenu *found = Menu(menu))
            for (QAction *action : found->actions())
                if (action->objectName() == objectName)
                    return action;
    return nullptr;
}

std::vector<std::string> ItemTexts(const char *menu)
{
    std::vector<std::string> texts;
    if (QMenu *found = Menu(menu))
        for (QAction *action : found->actions())
            texts.push_back(action->isSeparator() ? std::string() : action->text().toStdString());
    return texts;
}

std::string KeyOf(const std::string &name)
{
    QAction *action = MenuItem(name);
    return action ? action->shortcut().toString(QKeySequence::PortableText).toStdString() : "<no item>";
}

namespace
{

// Opens the menus as the user does, which brings every item up to date.
void OpenMenus()
{
    if (QMenu *menu = Menu("fileMenu"))
        emit menu->aboutToShow();
}

} // namespace

bool Trigger(const std::string &name)
{
    QAction *action = MenuItem(name);
    if (!IsCommandEnabled(name))
        return false;
    // The signal itself, as QAction::trigger() sends it: a command that ends
    // the process unwinds through here (platform::exitProcess throws in tests), which
    // Qt GUI's own frames, built without exception support, would not clean up.
    emit action->triggered(action->isChecked());
    return true;
}

bool IsCommandEnabled(const std::string &name)
{
    OpenMenus();
    QAction *action = MenuItem(name);
    return action && action->isEnabled();
}

std::string Title(QWidget *window)
{
    return window->windowTitle().remove(QStringLiteral("[*]")).toStdString();
}

void ClickCloseBox(QWidget *window)
{
    if (window)
        window->close();
}

bool TypeInto(QLineEdit *field, const std::string &text)
{
    if (!field || !field->isEnabled())
        return false;
    field->selectAll();
    field->insert(QString::fromStdString(text));
    return true;
}

bool ChooseItem(QComboBox *popup, int item)
{
    if (!popup || !popup->isEnabled() || item < 1 || item > popup->count())
        return false;
    popup->setCurrentIndex(item - 1);
    emit popup->activated(item - 1);
    return true;
}

bool Click(QAbstractButton *button)
{
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

QWidget *OpenTableWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog *>(widget) && widget->isVisible() &&
            widget->findChild<QPushButton *>(QStringLiteral("computeButton")))
            return widget;
    return nullptr;
}

void RunTableWindow(const std::function<void(QWidget *)> &script)
{
    Trigger("ComputeTable");
    QWidget *window = OpenTableWindow();
    if (!window)
        return;
    script(window);
    // A window the script left open ends as its Cancel button ends it.
    if (auto *dialog = qobject_cast<QDialog *>(OpenTableWindow()))
        dialog->reject();
}

TableWindowState ComputeTable(const TableEntry &entry)
{
    TableWindowState state;
    RunTableWindow([&](QWidget *window) {
        auto *distance = Find<QLineEdit>(window, "distanceField");
        auto *focal = Find<QLineEdit>(window, "focalField");
        auto *camera = Find<QComboBox>(window, "unsharpField");
        auto *circle = Find<QLineEdit>(window, "unsharpCircleValueField");
        ASSERT_TRUE(distance && focal && camera && circle);
        state.distanceLabel = Find<QLabel>(window, "distanceStringField")->text().toStdString();
        state.distance = distance->text().toStdString();
        state.focalLength = focal->text().toStdString();
        state.circle = circle->text().toStdString();
        state.cameraItem = camera->currentIndex() + 1;
        state.circleEnabled = circle->isEnabled();
        if (entry.distance)
            TypeInto(distance, *entry.distance);
        if (entry.focalLength)
            TypeInto(focal, *entry.focalLength);
        if (entry.cameraItem)
            ChooseItem(camera, *entry.cameraItem);
        if (entry.circle)
            TypeInto(circle, *entry.circle);
        if (entry.compute)
            Click(Find<QPushButton>(window, "computeButton"));
        if (!entry.compute || QRLIsTableWindow())
            Click(Find<QPushButton>(window, "cancelButton"));
    });
    return state;
}

SheetLayout Contents(QWidget *window)
{
    const auto *document = dynamic_cast<DocumentWindow *>(window);
    return document ? document->sheet : SheetLayout();
}

std::optional<std::string> TextAt(QWidget *window, short x, short y)
{
    const QPoint anchor = BSheetBounds(window).topLeft() + QPoint(x, y);
    std::optional<std::string> found;
    for (const SheetItem &item : Contents(window))
        if (item.kind == SheetItem::Kind::text && item.frame.topLeft() == anchor)
            found = item.text.toStdString();
    return found;
}

std::vector<std::string> Texts(QWidget *window)
{
    std::vector<std::string> texts;
    for (const SheetItem &item : Contents(window))
        if (item.kind == SheetItem::Kind::text)
            texts.push_back(item.text.toStdString());
    return texts;
}

DocumentWindow *DocumentAt(int index)
{
    return BGetDocumentWindowByIndex(std::int16_t(index));
}

std::vector<std::string> DocumentTitles()
{
    std::vector<std::string> titles;
    for (int i = 0; i < BGetNumberOfDocuments(); ++i)
        titles.push_back(Title(DocumentAt(i)));
    return titles;
}

std::string CopySavedTable(const std::string &folder, const std::string &name)
{
    const std::string path = folder + "/" + name;
    std::filesystem::copy_file(QRL_SOURCE_DIR "/docs/portrait-50mm.qrtb", path);
    return path;
}

bool EndsProcess(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const ProcessExitRequested &) {
        return true;
    }
    return false;
}

std::vector<std::string> AlertMessages()
{
    std::vector<std::string> messages;
    for (const ShownAlert &alert : TakeShownAlerts())
        messages.push_back(alert.message);
    return messages;
}

std::vector<std::string> Alerts()
{
    std::vector<std::string> texts;
    for (const ShownAlert &alert : TakeShownAlerts())
        texts.insert(texts.end(), {alert.message, alert.explanation});
    return texts;
}

void ChooseDistanceUnit(int item)
{
    Trigger("Preferences");
    QWidget *prefs = platform::frontWindow();
    ASSERT_NE(prefs, nullptr);
    ASSERT_EQ(prefs->objectName(), QStringLiteral("PrefWindow"));
    ASSERT_TRUE(ChooseItem(Find<QComboBox>(prefs, "distanceUnitField"), item));
    ASSERT_TRUE(Click(Find<QAbstractButton>(prefs, "okButton")));
    ASSERT_FALSE(prefs->isVisible());
}

} // namespace qrltest
