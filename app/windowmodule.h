// What the auxiliary windows (preferences, facts, about, splash) share: each
// is built once from its form and hidden rather than closed.
// Which windows are auxiliary is decided with the menus (mainmenu.h).
#pragma once

#include "platform/forms.h"

#include <QCloseEvent>
#include <QDialog>
#include <string>

// Shows the window and brings it to the front.
void BShowAuxiliaryWindow(QWidget *window);
// Hides the window and activates the window that is then in front.
void BHideAndSelectFront(QWidget *window);

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
