// Interface files: Designer files of the bundle, built at run time with
// QUiLoader. Control and command IDs are dynamic properties of the widgets.
#include "bundle.h"
#include "internal.h"

#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QPointer>
#include <QPushButton>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtDebug>

struct OpaqueIBNibRef {
    std::string name;
    QByteArray contents;
};

namespace
{

// The interface file without its menu bar and actions. A window shows the
// application's one shared menu bar instead of its own copy, so building the
// copy would only be thrown away (and costs as much as the window itself).
QByteArray withoutMenus(const QByteArray &contents)
{
    QByteArray stripped;
    QXmlStreamReader reader(contents);
    QXmlStreamWriter writer(&stripped);
    int skipDepth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (skipDepth > 0) {
            if (reader.isStartElement())
                ++skipDepth;
            else if (reader.isEndElement())
                --skipDepth;
            continue;
        }
        if (reader.isStartElement() &&
            ((reader.name() == QLatin1String("widget") &&
              reader.attributes().value(QLatin1String("class")) == QLatin1String("QMenuBar")) ||
             reader.name() == QLatin1String("action") || reader.name() == QLatin1String("addaction"))) {
            skipDepth = 1;
            continue;
        }
        writer.writeCurrentToken(reader);
    }
    return reader.hasError() ? contents : stripped;
}

// Builds the interface file; null (with the loader's reason logged) when it
// does not load.
// One loader for the whole run. Designer plugins have no place in our
// windows: the loader would load every plugin on the library path as it is
// made (some pull in whole other toolkits), so it is made while the library
// path is empty.
QUiLoader &loader()
{
    static QUiLoader *instance = []() {
        const QStringList libraryPaths = QCoreApplication::libraryPaths();
        QCoreApplication::setLibraryPaths({});
        auto *made = new QUiLoader(qApp);
        QCoreApplication::setLibraryPaths(libraryPaths);
        made->clearPluginPaths();
        return made;
    }();
    return *instance;
}

QWidget *loadInterface(IBNibRef nibRef, const QByteArray &contents)
{
    QUiLoader &loader = ::loader();
    QByteArray bytes = contents;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return nullptr;
    QWidget *root = loader.load(&buffer);
    if (!root)
        qWarning("interface file %s: %s", nibRef->name.c_str(), qPrintable(loader.errorString()));
    return root;
}

// Controls that carry a command send it to their window when used.
void connectCommands(WindowRef window, QWidget *widget)
{
    for (QPushButton *button : widget->findChildren<QPushButton *>()) {
        const QString command = button->property("commandID").toString();
        if (command.size() != 4)
            continue;
        QObject::connect(button, &QPushButton::clicked, button, [window, command]() {
            HICommand hiCommand;
            hiCommand.commandID = platform::fourCharCodeFrom(command);
            ProcessHICommand(hiCommand, window);
        });
    }
    for (QComboBox *popup : widget->findChildren<QComboBox *>()) {
        const QString command = popup->property("commandID").toString();
        if (command.size() != 4)
            continue;
        QObject::connect(popup, qOverload<int>(&QComboBox::activated), popup, [window, command](int) {
            HICommand hiCommand;
            hiCommand.commandID = platform::fourCharCodeFrom(command);
            ProcessHICommand(hiCommand, window);
        });
    }
}

// Designer cannot store window flags; an interface file names them in a
// "windowFlags" string property ("Qt::SplashScreen|Qt::FramelessWindowHint").
void applyWindowFlags(QWidget *widget)
{
    const QString names = widget->property("windowFlags").toString();
    if (names.isEmpty())
        return;
    bool ok = false;
    const int flags = QMetaEnum::fromType<Qt::WindowType>().keysToValue(names.toLatin1().constData(), &ok);
    if (ok)
        widget->setWindowFlags(Qt::WindowFlags(flags));
}

// The widget named windowName of the interface file, on its own as a hidden
// top-level window; null when the file does not load or has no such widget.
QWidget *buildWindowWidget(IBNibRef nibRef, const std::string &windowName)
{
    QWidget *root = loadInterface(nibRef, withoutMenus(nibRef->contents));
    if (!root)
        return nullptr;
    const QString name = QString::fromStdString(windowName);
    QWidget *widget = root->objectName() == name ? root : root->findChild<QWidget *>(name);
    if (!widget) {
        delete root;
        return nullptr;
    }
    if (widget != root) {
        widget->setParent(nullptr, widget->windowFlags() | Qt::Window);
        delete root;
    }
    applyWindowFlags(widget);
    widget->hide();
    return widget;
}

// Windows built ahead of need (PrepareWindowFromNib), each handed out once.
struct PreparedWindow {
    std::string nibName;
    std::string windowName;
    QPointer<QWidget> widget;
    bool built;
};

std::vector<PreparedWindow> &preparedWindows()
{
    static std::vector<PreparedWindow> windows;
    return windows;
}

QWidget *takePreparedWindow(const std::string &nibName, const std::string &windowName)
{
    auto &windows = preparedWindows();
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        if (it->built && it->widget && it->nibName == nibName && it->windowName == windowName) {
            QWidget *widget = it->widget;
            windows.erase(it);
            return widget;
        }
    }
    return nullptr;
}

} // namespace

OSStatus CreateNibReference(const std::string &nibName, IBNibRef *outNibRef)
{
    *outNibRef = nullptr;
    std::optional<std::string> contents = ReadBundleFile(nibName + ".ui");
    if (!contents)
        return resNotFound;
    *outNibRef = new OpaqueIBNibRef{nibName, QByteArray::fromStdString(*contents)};
    return noErr;
}

void DisposeNibReference(IBNibRef nibRef)
{
    delete nibRef;
}

OSStatus CreateWindowFromNib(IBNibRef nibRef, const std::string &windowName, WindowRef *outWindow)
{
    *outWindow = nullptr;
    if (!nibRef)
        return paramErr;
    QWidget *widget = takePreparedWindow(nibRef->name, windowName);
    if (!widget)
        widget = buildWindowWidget(nibRef, windowName);
    if (!widget)
        return resNotFound;
    WindowRef window = platform::wrapWidget(widget, kDocumentWindowClass, windowName);
    connectCommands(window, widget);
    platform::attachMenuBar(window);
    *outWindow = window;
    return noErr;
}

void PrepareWindowFromNib(const std::string &nibName, const std::string &windowName)
{
    preparedWindows().push_back(PreparedWindow{nibName, windowName, nullptr, false});
}

namespace platform
{

void buildPreparedWindows(bool ready)
{
    for (PreparedWindow &prepared : preparedWindows()) {
        if (prepared.built)
            continue;
        prepared.built = true;
        IBNibRef nibRef = nullptr;
        if (CreateNibReference(prepared.nibName, &nibRef) != noErr)
            continue;
        prepared.widget = buildWindowWidget(nibRef, prepared.windowName);
        DisposeNibReference(nibRef);
        if (prepared.widget && ready)
            readyHiddenWindow(prepared.widget);
    }
}

} // namespace platform

OSStatus SetMenuBarFromNib(IBNibRef nibRef, const std::string &menuBarName)
{
    if (!nibRef)
        return paramErr;
    QWidget *root = loadInterface(nibRef, nibRef->contents);
    if (!root)
        return resNotFound;
    auto *menuBar = root->findChild<QMenuBar *>(QString::fromStdString(menuBarName));
    if (!menuBar) {
        delete root;
        return resNotFound;
    }
    platform::installMenuBar(root, menuBar);
    return noErr;
}
