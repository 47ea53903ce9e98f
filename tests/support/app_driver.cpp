#include "app_driver.h"

#include "app/main.h"
#include "document/document.h"
#include "platform/application.h"
#include "platform/events.h"
#include "platform/menus.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace qrltest
{

namespace
{

int argc = 1;
char programName[] = "quorlscope-test";
char *argv[] = {programName, nullptr};
std::string systemLocale = "C.UTF-8";

std::uint32_t code(const char (&text)[5])
{
    return FOUR_CHAR_CODE(text);
}

// The application a test started ends with the test program, before its exit
// handlers free what Qt's platform plugin holds for the windows.
class ApplicationEnd : public ::testing::Environment
{
  public:
    void TearDown() override { PlatformTerminate(); }
};
const ::testing::Environment *const applicationEnd = ::testing::AddGlobalTestEnvironment(new ApplicationEnd);

} // namespace

std::string TempFolder()
{
    std::string pattern =
        (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/qrl-XXXXXX");
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a temporary folder";
    return pattern;
}

void UseSystemLocale(const std::string &name)
{
    systemLocale = name;
}

bool UseCommaLocale()
{
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name))
            return true;
    if (!std::filesystem::exists("/usr/share/i18n/locales/de_DE"))
        return false;
    const std::string folder = TempFolder();
    const std::string command = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return false;
    setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

void StartPlatform()
{
    // The language comes from LANG alone.
    setenv("LANG", systemLocale.c_str(), 1);
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        unsetenv(variable);
    const std::string home = TempFolder();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    PlatformInitialize(argc, argv, PlatformOptions{true});
}

void StartApplication()
{
    StartPlatform();
    BInitApplication();
    EnableMenuCommand(nullptr, FOUR_CHAR_CODE("pref"));
    RunApplicationEventLoop(); // headless: marks the loop running and returns
}

OSStatus SendCommand(const char (&commandID)[5])
{
    HICommand command;
    command.commandID = code(commandID);
    return ProcessHICommand(command);
}

bool IsCommandEnabled(const char (&commandID)[5])
{
    SendMenuPopulateEvent();
    return IsMenuCommandEnabled(code(commandID));
}

ControlRef Control(WindowRef window, const char (&signature)[5], std::int32_t id)
{
    ControlRef control = nullptr;
    const ControlID controlID{code(signature), id};
    GetControlByID(window, &controlID, &control);
    return control;
}

void RunTableWindow(const std::function<void(WindowRef)> &script)
{
    SetModalScript(script);
    SendCommand("qorl");
    SetModalScript(nullptr);
}

TableWindowState ComputeTable(const TableEntry &entry)
{
    TableWindowState state;
    RunTableWindow([&](WindowRef window) {
        state.distanceLabel = GetControlText(Control(window, "DIST"));
        state.distance = GetControlText(Control(window, "dist"));
        state.focalLength = GetControlText(Control(window, "focl"));
        state.circle = GetControlText(Control(window, "uscd"));
        state.cameraItem = GetControl32BitValue(Control(window, "unsp"));
        state.circleEnabled = IsControlEnabled(Control(window, "uscd"));
        if (entry.distance)
            TypeIntoField(Control(window, "dist"), *entry.distance);
        if (entry.focalLength)
            TypeIntoField(Control(window, "focl"), *entry.focalLength);
        if (entry.cameraItem)
            ChoosePopupItem(Control(window, "unsp"), *entry.cameraItem);
        if (entry.circle)
            TypeIntoField(Control(window, "uscd"), *entry.circle);
        if (entry.compute)
            ClickCommandButton(window, FOUR_CHAR_CODE("tabl"));
        if (!entry.compute || !LastModalLoopQuit())
            ClickCommandButton(window, FOUR_CHAR_CODE("not!"));
    });
    return state;
}

std::vector<PortItem> Contents(WindowRef window)
{
    return GetPortContents(GetWindowPort(window));
}

std::optional<std::string> TextAt(WindowRef window, short x, short y)
{
    Rect bounds;
    GetWindowPortBounds(window, &bounds);
    std::optional<std::string> found;
    for (const PortItem &item : Contents(window))
        if (item.kind == PortItem::Kind::text && item.frame.left == bounds.left + x &&
            item.frame.top == bounds.top + y)
            found = item.text;
    return found;
}

std::vector<std::string> Texts(WindowRef window)
{
    std::vector<std::string> texts;
    for (const PortItem &item : Contents(window))
        if (item.kind == PortItem::Kind::text)
            texts.push_back(item.text);
    return texts;
}

WindowRef DocumentWindow(int index)
{
    return BGetDocumentWindowByIndex(std::int16_t(index));
}

std::vector<std::string> DocumentTitles()
{
    std::vector<std::string> titles;
    for (int i = 0; i < BGetNumberOfDocuments(); ++i)
        titles.push_back(GetWTitle(DocumentWindow(i)));
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

} // namespace qrltest
