// What the platform's own files share. Program modules never include it.
#pragma once

#include "coreinternal.h"
#include "forms.h"
#include "frontwindow.h"
#include "icon.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QPainter;
class QMenuBar;

namespace platform
{

void attachMenuBarTo(QWidget *widget);

bool eventLoopRunning();
// The application takes its windows down: their order is forgotten and
// no change of the front window is told until a window is tracked again.
void forgetWindowOrder();
// The number of visible windows dropped to zero.
void lastWindowClosed();
// Installs the translations for the system's locale; English needs none.
void installTranslators();
// text in the user's language, from the program's translation for the
// system's locale; works before the application object exists (the command
// line's help), when no translator can be installed yet.
QString translatedEarly(const char *context, const char *text);

// Builds the window asked for with prepareWindow (start-up's wait);
// readied too (readyHiddenWindow) when the wait leaves time for it.
void buildPreparedWindows(bool ready);
// Does for a hidden window what showing it first would: the shared menu bar,
// style, layout, the native window, and the fonts and glyphs of its first
// painting, port text included.
void readyHiddenWindow(QWidget *widget);

// Start-up measurement (platform::StartOptions::startupProbe), see probe.cpp.
void setStartupProbe(const char *value);
bool startupProbeOn();
bool startupProbeSkipsWait();
// Called as the widget paints: the first painting while exposed puts the
// window on screen. A window's content paints what the program lays out in
// it (a document window's sheet is laid out as the window is shown).
void probeWidgetPainted(QWidget *widget, const std::string &name);
void probeSplashWait(double start, double end);
void probeWindowOnScreen(const std::string &name);
double probeClock();

} // namespace platform
