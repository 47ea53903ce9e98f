// The application object: the GUI one, or a headless one on Qt's offscreen
// platform for the tests.
#include "application.h"

#include "bundle.h"
#include "internal.h"
#include "testing.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace
{

bool headless = false;
bool loopRunning = false;
bool drawing = false; // a command that only draws

// Drops the offscreen platform's notes on what only a window system does,
// and, for a command that only draws, the one on a missing runtime folder.
void quietNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg &&
        (message.startsWith(QLatin1String("This plugin does not support")) ||
         (drawing && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

void platform::initialize(int &argc, char **argv, const platform::StartOptions &options)
{
    headless = options.headless;
    platform::setStartupProbe(options.startupProbe);
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietNotes);
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
}

void platform::initializeForDrawing(const char *programName)
{
    // A platform the user chose for windows (xcb without a display) would
    // only make Qt abort.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    drawing = true;
    qInstallMessageHandler(quietNotes);
    platform::CommandArguments &arguments = platform::commandArguments(programName);
    if (!QCoreApplication::instance())
        new QGuiApplication(arguments.argc, arguments.argv); // ends with the process
    platform::nameApplication();
    platform::installTranslators();
}

void platform::shutDown()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    // Windows still open go now, each guarded: a window deletes those it owns.
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
    return std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

bool platform::eventLoopRunning()
{
    return loopRunning;
}

void platform::runEventLoop()
{
    loopRunning = true;
    if (!platform::isHeadless())
        QApplication::exec();
}

void ProcessPendingEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
