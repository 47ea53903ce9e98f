// Windows made from the forms uic compiles, made the program's windows.
#pragma once

#include "frontwindow.h"

#include <functional>
#include <string>

// A window of a form: the Qt base class with the form set up on it.
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
// Has build run while start-up waits anyway; takePreparedWindow then hands
// out its window once, null when none is ready.
void prepareWindow(std::function<QWidget *()> build);
QWidget *takePreparedWindow();

} // namespace platform
