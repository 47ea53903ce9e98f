// What the auxiliary windows (preferences, facts, about, splash) share: each
// is built once from its form and hidden rather than closed.
// Which windows are auxiliary is decided with the menus (mainmenu.h).
#pragma once

#include "platform/events.h"
#include "platform/forms.h"
#include "platform/window.h"

#include <QCloseEvent>
#include <QDialog>
#include <string>

// Shows the window, brings it to the front, and leaves the current port as it was.
void BShowAuxiliaryWindow(WindowRef window);
// Hides the window and activates the window that is then in front.
void BHideAndSelectFront(WindowRef window);

// An auxiliary window of a form: its close box hides it rather than closing it.
template <typename Form> class AuxiliaryWindow : public FormWindow<QDialog, Form>
{
  public:
    WindowRef window = nullptr; // the window in the front-window order

  protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        BHideAndSelectFront(window);
    }
};
