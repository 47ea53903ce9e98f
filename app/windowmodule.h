// What the auxiliary windows (preferences, facts, about, splash) share: each
// is built once from its form and hidden rather than closed.
// Which windows are auxiliary is decided with the menus (mainmenu.h).
#pragma once

#include "platform/forms.h"
#include "platform/frontwindow.h"

#include <QCloseEvent>
#include <QDialog>
#include <string>

// Shows the window and brings it to the front.
inline void BShowAuxiliaryWindow(QWidget *window)
{
    window->show();
    platform::selectWindow(window);
}

// Hides the window and activates the window that is then in front.
inline void BHideAndSelectFront(QWidget *window)
{
    window->hide();
    platform::selectWindow(platform::frontWindow());
}

// An auxiliary window of a form: its close box hides it rather than closing it.
template <typename Form> class AuxiliaryWindow : public FormWindow<QDialog, Form>
{
  protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        BHideAndSelectFront(this);
    }
};
