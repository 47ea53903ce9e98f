// The application object: the GUI one, or a headless one on Qt's offscreen
// platform for the tests.
#include "application.h"

#include "internal.h"
#include "process.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>

namespace
{

bool headless = false;

} // namespace

std::vector<std::string> PlatformInitialize(int &argc, char **argv, const PlatformOptions &options)
{
    headless = options.headless;
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: the process ends without tearing the application
    // down, and destroying it from a static destructor would outlive the
    // platform plugin's own statics.
    if (!QApplication::instance())
        new QApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlscope"));
    QApplication::setOrganizationName(QStringLiteral("Quorlscope"));
    QApplication::setQuitOnLastWindowClosed(false);
    TickCount(); // the tick counter starts with the application
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-')
            files.emplace_back(argv[i]);
    return files;
}

Boolean PlatformIsHeadless()
{
    return headless;
}

Boolean PlatformHasDisplay()
{
    if (std::getenv("QT_QPA_PLATFORM"))
        return true;
#ifdef Q_OS_LINUX
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
#else
    return true;
#endif
}
