#include "app_driver.h"

#include "app/main.h"
#include "app/tablewindow.h"
#include "common.h"
#include "platform/application.h"
#include "platform/internal.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace qrltest
{

namespace
{

int argc = 1;
char programName[] = "quorlscope-test";
char *argv[] = {programName, nullptr};
std::string systemLocale = "C.UTF-8";

// The application ends with the test program, before its exit handlers free
// what Qt's platform plugin holds for the windows.
class ApplicationEnd : public ::testing::Environment
{
  public:
    void TearDown() override { platform::shutDown(); }
};
const ::testing::Environment *const applicationEnd = ::testing::AddGlobalTestEnvironment(new ApplicationEnd);

} // namespace

void UseSystemLocale(const std::string &name)
{
    systemLocale = name;
}

void StartApplication()
{
    setenv("LANG", systemLocale.c_str(), 1); // the language comes from LANG alone
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        unsetenv(variable);
    const std::string home = FreshFolder();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    platform::initialize(argc, argv, platform::StartOptions{true});
    BInitApplication();
    platform::runEventLoop(); // headless: marks the loop running and returns
}

QMenu *Menu(const char *objectName)
{
    for (QWidget *widget : QApplication::allWidgets())
        if (qobject_cast<QMenu *>(widget) && widget->objectName() == QLatin1String(objectName))
            return static_cast<QMenu *>(widget);
    return nullptr;
}

QAction *MenuItem(const std::string &name)
{
    for (const char *menu : {"appMenu", "fileMenu", "editMenu", "funcMenu", "helpMenu"})
        for (QAction *action : Menu(menu) ? Menu(menu)->actions() : QList<QAction *>())
            if (action->objectName() == QString::fromStdString("action" + name))
                return action;
    return nullptr;
}

std::string KeyOf(const std::string &name)
{
    QAction *action = MenuItem(name);
    return action ? action->shortcut().toString(QKeySequence::PortableText).toStdString() : "<no item>";
}

bool Trigger(const std::string &name)
{
    if (!IsCommandEnabled(name))
        return false;
    // The signal itself, as QAction::trigger() sends it: a command that ends the process
    // throws through here, which Qt's frames, built without exceptions, would not unwind.
    emit MenuItem(name)->triggered(MenuItem(name)->isChecked());
    return true;
}

bool IsCommandEnabled(const std::string &name)
{
    if (QMenu *menu = Menu("fileMenu"))
        emit menu->aboutToShow(); // opening the menus brings every item up to date
    return MenuItem(name) && MenuItem(name)->isEnabled();
}

void RunTableWindow(const std::function<void(QWidget *)> &script)
{
    const auto open = [] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && Find<QPushButton>(widget, "computeButton"))
                return qobject_cast<QDialog *>(widget);
        return static_cast<QDialog *>(nullptr);
    };
    Trigger("ComputeTable");
    if (open())
        script(open());
    if (open())
        open()->reject(); // as its Cancel button does
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
        state = {Find<QLabel>(window, "distanceStringField")->text().toStdString(),
                 distance->text().toStdString(),
                 focal->text().toStdString(),
                 circle->text().toStdString(),
                 camera->currentIndex() + 1,
                 circle->isEnabled()};
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
    });
    return state;
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

void ClickCloseBox(QWidget *window)
{
    if (window)
        window->close();
}

std::string Title(QWidget *window)
{
    return window->windowTitle().remove(QStringLiteral("[*]")).toStdString();
}

SheetLayout Contents(QWidget *window)
{
    const auto *document = dynamic_cast<DocumentWindow *>(window);
    return document ? document->sheet : SheetLayout();
}

std::optional<std::string> TextAt(QWidget *window, short x, short y)
{
    std::optional<std::string> found;
    for (const SheetItem &item : Contents(window))
        if (item.kind == SheetItem::Kind::text &&
            item.frame.topLeft() == BSheetBounds(window).topLeft() + QPoint(x, y))
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

std::string TempFolder()
{
    std::string pattern = (getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp") + std::string("/qrl-XXXXXX");
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a temporary folder";
    return pattern;
}

std::string CopySavedTable(const std::string &folder, const std::string &name)
{
    const std::string path = folder + "/" + name;
    std::filesystem::copy_file(QRL_SOURCE_DIR "/docs/portrait-50mm.qrtb", path);
    return path;
}

} // namespace qrltest

std::string expected::Label(const std::string &key)
{
    // clang-format off
    static const std::map<std::string, std::string> labels = {
        {"focal", "Focal length:"}, {"distance", "Distance:"}, {"distancemeter", "Dist. (m):"},
        {"distancefeet", "Dist. (ft):"}, {"unsharpcircle", "Conf. circle (\u00b5m):"}, {"camera", "Camera:"},
        {"aperture", "Aperture"}, {"neardistance", "Near limit"}, {"neardistancemeter", "Near limit (m)"},
        {"neardistancefeet", "Near limit (ft)"}, {"fardistance", "Far limit"}, {"fardistancemeter", "Far limit (m)"},
        {"fardistancefeet", "Far limit (ft)"}, {"apsc", "APS-C digital"}, {"fullframe", "Full-frame digital"},
        {"kleinbild", "35 mm film"}, {"mediumformat", "Medium format"}};
    // clang-format on
    return labels.at(key);
}
