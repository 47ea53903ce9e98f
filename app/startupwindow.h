// The start-up splash: the application icon, name and information string.
#pragma once

#include <QPixmap>
#include <QString>
#include <memory>

class QSplashScreen;

// The splash, not yet shown, titled with the application's name and named
// "startupWindow".
std::unique_ptr<QSplashScreen> BInitStartupWindow();
// The splash's picture.
QPixmap BStartupBoxHandler(const QString &name);
