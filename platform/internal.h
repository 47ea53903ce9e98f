// What the platform's own files share. Program modules never include it.
#pragma once

#include "coreinternal.h"

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

namespace platform
{

void attachMenuBarTo(QWidget *widget);

bool isHeadless();
bool eventLoopRunning();
// The windows' order is forgotten until a window is tracked again.
void forgetWindowOrder();
// The number of visible windows dropped to zero.
void lastWindowClosed();
// Installs the translations for the system's locale; English needs none.
void installTranslators();
// text in the user's language, also before the application object exists.
QString translatedEarly(const char *context, const char *text);

// Does for a hidden window what showing it first would: menu bar, style,
// layout, native window, and the fonts and glyphs of its first painting.
void readyHiddenWindow(QWidget *widget);
// Builds the window asked for with prepareWindow, and readies it if asked.
void buildPreparedWindows(bool ready);

// Connects the session manager, and catches SIGTERM, SIGHUP and SIGINT.
void installSessionEndHandling();
// While it lives the termination signals (and one pending) end the process:
// a later start waiting outside the event loop stops on Ctrl+C.
class SignalsEndProcess
{
  public:
    SignalsEndProcess();
    ~SignalsEndProcess();
    SignalsEndProcess(const SignalsEndProcess &) = delete;
    SignalsEndProcess &operator=(const SignalsEndProcess &) = delete;
};

// Start-up measurement, see probe.cpp.
void setStartupProbe(const char *value);
bool startupProbeSkipsWait();
void probeWidgetPainted(QWidget *widget, const std::string &name);
void probeSplashWait(double start, double end);
double probeClock();

} // namespace platform
