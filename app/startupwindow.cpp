// The splash: shown at start-up only, while the program gets ready.
#include "app/startupwindow.h"

#include "platform/bundle.h"

#include <QSplashScreen>

std::unique_ptr<QSplashScreen> BInitStartupWindow()
{
    const QString name = platform::infoValue("CFBundleName");
    auto splash = std::make_unique<QSplashScreen>(BStartupBoxHandler(name));
    splash->setObjectName(QStringLiteral("startupWindow"));
    splash->setWindowTitle(name);
    return splash;
}
