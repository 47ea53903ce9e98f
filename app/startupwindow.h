// The start-up splash: the application icon, name and information string.
#pragma once

#include <memory>

class QSplashScreen;

// The splash, not yet shown, titled with the application's name and named
// "startupWindow".
std::unique_ptr<QSplashScreen> BInitStartupWindow();
