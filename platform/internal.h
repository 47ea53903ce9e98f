// What the platform's own files share: the records behind the opaque
// references and the Qt widgets they wrap. Program modules never include it.
#pragma once

#include "coreinternal.h"
#include "events.h"
#include "forms.h"
#include "quickdraw.h"
#include "window.h"

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

struct OpaqueWindowPtr {
    QPointer<QWidget> widget;       // the top-level widget
    QPointer<QWidget> content;      // the central widget, or the window itself
    std::function<void()> closeBox; // what the close box does in place of closing (a dialog's cancel)
    std::string nibName;
    WindowClass windowClass = kDocumentWindowClass;
    std::map<std::pair<OSType, OSType>, void *> properties;
    bool visible = false;
    bool collapsed = false;
    std::string filePath;
    QObject *watcher = nullptr; // filters the widget's events; goes with the record
};

namespace platform
{

// Wraps a widget built by the platform itself (a file dialog, a message box)
// as a window of ours, so that it takes part in the z-order.
WindowRef wrapWidget(QWidget *widget, WindowClass windowClass, const std::string &name);
// Forgets a wrapped window without deleting its widget.
void unwrapWidget(WindowRef window);

// A dialog (a file dialog, a question, a print sheet) shown as a window of
// ours: its close box and Escape call cancel once the event that asked
// is over. remove() takes it off the screen and out of the window
// list; the widget goes once its own events are over.
struct DialogWindow {
    QPointer<QWidget> widget;
    WindowRef window = nullptr;
    std::function<void()> cancel;
    void wrap(QWidget *dialog, WindowClass windowClass, const std::string &name);
    void remove();
};
bool hasCancelButton(WindowRef window);
// Presses the window's enabled cancel button; false when it has none.
bool clickCancelButton(WindowRef window);
void attachMenuBar(WindowRef window);
void attachMenuBarTo(QWidget *widget);
void attachSharedActions(QWidget *widget);

bool eventLoopRunning();
void setEventLoopRunning(bool running);
// The front window changed: the menus are brought up to date.
void frontWindowChanged();
// The number of visible windows dropped to zero.
void lastWindowClosed();
// Installs the translations for the system's locale; English needs none.
void installTranslators();
// text in the user's language, from the program's translation for the
// system's locale; works before the application object exists (the command
// line's help), when no translator can be installed yet.
QString translatedEarly(const char *context, const char *text);

// Draws every printable character once in the sheet's fixed-pitch face, off
// screen, so that the first painting of a sheet finds the font loaded and
// its glyphs ready.
void warmPortText();
// Builds the window asked for with prepareWindow (start-up's wait);
// readied too (readyHiddenWindow) when the wait leaves time for it.
void buildPreparedWindows(bool ready);
// Does for a hidden window what showing it first would: the shared menu bar,
// style, layout, the native window, and the fonts and glyphs of its first
// painting, port text included.
void readyHiddenWindow(QWidget *widget);

// Start-up measurement (PlatformOptions::startupProbe), see probe.cpp.
void setStartupProbe(const char *value);
bool startupProbeOn();
bool startupProbeSkipsWait();
// Called as the widget paints: the first painting while exposed puts the
// window on screen. A window's content paints what the program lays out in
// it (a document window's sheet is laid out as the window is shown).
void probeWidgetPainted(QWidget *widget, const std::string &name);
void probeWindowPainted(WindowRef window);
void probeSplashWait(double start, double end);
void probeWindowOnScreen(const std::string &name);
double probeClock();

} // namespace platform
