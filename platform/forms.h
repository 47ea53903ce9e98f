// Windows made from the forms uic compiles, and the glue that puts each into
// the platform's window list (z-order, the shared menu bar, the front
// window) for as long as that list keeps the windows.
#pragma once

#include "window.h"

#include <functional>
#include <string>

class QMenuBar;
class QWidget;

// A window of a form: the Qt base class with the form set up on it; the
// program reads and sets the form's widgets through ui.
template <typename Base, typename Form> class FormWindow : public Base
{
  public:
    FormWindow() { ui.setupUi(this); }
    Form ui;
};

namespace platform
{

// Puts the hidden window into the window list under name, with the shared menu bar.
WindowRef adoptWindow(QWidget *widget, const std::string &name);
// The widget of one of the program's windows; null for none.
QWidget *widgetOf(WindowRef window);
// Has build run ahead, while start-up waits anyway (buildPreparedWindows);
// takePreparedWindow then hands out its window once, null when none is ready.
void prepareWindow(std::function<QWidget *()> build);
QWidget *takePreparedWindow();

} // namespace platform
