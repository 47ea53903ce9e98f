// The application object: the GUI one, or a headless one on Qt's offscreen
// platform for the tests.
#include "application.h"

#include "bundle.h"
#include "internal.h"
#include "sessionend.h"
#include "testing.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

bool headless = false;
bool loopRunning = false;

// The offscreen platform says so each time a window asks for something only
// a window system does; headless runs have no use for the notes.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// A command that only draws has no use for a runtime folder; its absence is
// no news on a terminal.
void quietDrawingNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    quietOffscreenNotes(type, context, message);
}

} // namespace

std::vector<std::string> platform::initialize(int &argc, char **argv, const platform::StartOptions &options)
{
    headless = options.headless;
    platform::setStartupProbe(options.startupProbe);
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietOffscreenNotes);
    }
    // Ended by platform::shutDown, never by a static destructor, which would
    // run after the platform plugin's own statics are gone.
    if (!QApplication::instance())
        new QApplication(argc, argv);
    platform::nameApplication();
    // Lets the desktop match the windows to the installed .desktop file.
    if (const QString id = platform::infoValue("CFBundleIdentifier"); !id.isEmpty())
        QGuiApplication::setDesktopFileName(id);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installTranslators();
    platform::installSessionEndHandling();
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-')
            files.emplace_back(argv[i]);
    return files;
}

void platform::initializeForDrawing(const char *programName)
{
    // A drawing needs no window system: a platform the user chose for windows
    // (xcb without a display) would only make Qt abort.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietDrawingNotes);
    if (!QCoreApplication::instance())
        // Opens no window: the process ends with it, as the command line's
        // core application does.
        new QGuiApplication(platform::commandArgc(programName), platform::commandArgv());
    platform::nameApplication();
    platform::installTranslators();
}

void platform::shutDown()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    // Closed windows wait for Qt to delete them (deleteLater); those that
    // are still open go now, each guarded, since deleting a window deletes
    // the windows it owns.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::forgetWindowOrder();
    if (qobject_cast<QApplication *>(application)) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        std::vector<QPointer<QWidget>> guarded(windows.begin(), windows.end());
        for (const QPointer<QWidget> &window : guarded)
            delete window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    delete application;
}

bool platform::isHeadless()
{
    return headless;
}

bool platform::hasDisplay()
{
    if (std::getenv("QT_QPA_PLATFORM"))
        return true;
#ifdef Q_OS_LINUX
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

namespace platform
{

bool eventLoopRunning()
{
    return loopRunning;
}

} // namespace platform

void platform::runEventLoop()
{
    loopRunning = true;
    if (platform::isHeadless())
        return; // the test driver dispatches from here on
    QApplication::exec();
}

void ProcessPendingEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
