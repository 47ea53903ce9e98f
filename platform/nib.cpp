// Interface files: Designer files of the bundle, built at run time with
// QUiLoader. Control and command IDs are dynamic properties of the widgets.
#include "bundle.h"
#include "internal.h"

#include <QBuffer>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QPushButton>
#include <QUiLoader>
#include <QtDebug>

struct OpaqueIBNibRef {
    std::string name;
    QByteArray contents;
};

namespace
{

// Builds the whole interface file; null (with the loader's reason logged)
// when it does not load.
QWidget *loadInterface(IBNibRef nibRef)
{
    QUiLoader loader;
    loader.clearPluginPaths(); // Designer plugins have no place in our windows
    QBuffer buffer(&nibRef->contents);
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
    QWidget *root = loadInterface(nibRef);
    if (!root)
        return resNotFound;
    const QString name = QString::fromStdString(windowName);
    QWidget *widget = root->objectName() == name ? root : root->findChild<QWidget *>(name);
    if (!widget) {
        delete root;
        return resNotFound;
    }
    if (widget != root) {
        widget->setParent(nullptr, widget->windowFlags() | Qt::Window);
        delete root;
    }
    applyWindowFlags(widget);
    widget->hide();
    WindowRef window = platform::wrapWidget(widget, kDocumentWindowClass, windowName);
    connectCommands(window, widget);
    platform::attachMenuBar(window);
    *outWindow = window;
    return noErr;
}

OSStatus SetMenuBarFromNib(IBNibRef nibRef, const std::string &menuBarName)
{
    if (!nibRef)
        return paramErr;
    QWidget *root = loadInterface(nibRef);
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
