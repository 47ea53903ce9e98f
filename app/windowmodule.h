// The auxiliary windows (preferences, facts, about, help): each is built
// once, on first request, and hidden rather than closed.
#pragma once

#include "document/document.h"
#include "platform/forms.h"

#include <QCloseEvent>
#include <QDialog>
#include <string>
#include <vector>

QWidget *BGetAboutWindowRef();
void BAboutBoxCommandHandler();
// The information string of the bundle, or the fallback when it has none.
std::string BCopyInfoString();

QWidget *BGetHelpWindowRef();
bool BIsHelpWindow(QWidget *theWindow);
// Shows the help window at the book's front page, or brings it to the front as it is.
void BHelpCommandHandler();

// The preferences window: the distance unit.
QWidget *BGetPrefWindowRef();
void BPreferencesCommandHandler();

// The window of facts about depth of field.
QWidget *QRLGetFactsWindowRef();
void QRLDepthFactsCommandHandler();

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

// The auxiliary windows built so far.
inline std::vector<QWidget *> auxiliaryWindows;

// The one window of class Window, made one of the program's windows under
// name when first asked for.
template <typename Window> struct Auxiliary {
    static inline Window *window = nullptr;

    static Window *ref(const char *name = "Window")
    {
        if (!window) {
            window = new Window;
            auxiliaryWindows.push_back(window);
            platform::adoptWindow(window, name);
        }
        return window;
    }
};

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
