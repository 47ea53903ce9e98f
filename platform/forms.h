// Windows made from the forms uic compiles, and the glue that makes each one
// of the program's windows (the front-window order, the shared menu bar).
#pragma once

#include "frontwindow.h"

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

// Makes the hidden window one of the program's windows under name, with the
// shared menu bar.
void adoptWindow(QWidget *widget, const std::string &name);
// Has build run ahead, while start-up waits anyway (buildPreparedWindows);
// takePreparedWindow then hands out its window once, null when none is ready.
void prepareWindow(std::function<QWidget *()> build);
QWidget *takePreparedWindow();

} // namespace platform
