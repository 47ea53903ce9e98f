// The application's one menu bar: one set of actions and one enabled state
// shared by every window that shows the menus.
#include "menus.h"

#include "internal.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace
{

struct MenuState {
    QWidget *root = nullptr; // owns the menus; never shown
    std::vector<QMenu *> menus;
    std::function<void()> update;
#ifdef Q_OS_MACOS
    QMenuBar *globalBar = nullptr;
#endif
};

MenuState &state()
{
    static MenuState menus;
    return menus;
}

// Brings the menus up to date before Qt looks up a key equivalent, so that
// the shortcut of an item that is disabled now does nothing.
class ShortcutWatcher : public QObject
{
  public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
                platform::updateMenus();
        }
        return false;
    }
};

void wireMenu(QMenu *menu)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, &platform::updateMenus);
    for (QAction *action : menu->actions())
        if (!action->isSeparator() && !action->menu())
            action->setShortcutContext(Qt::WindowShortcut);
}

} // namespace

namespace platform
{

void installMenuBar(QWidget *root, QMenuBar *menuBar, std::function<void()> update)
{
    MenuState &menus = state();
    menus.update = std::move(update);
    root->hide();
    menus.root = root;
    for (QAction *action : menuBar->actions()) {
        QMenu *menu = action->menu();
        if (!menu)
            continue;
        menus.menus.push_back(menu);
        wireMenu(menu);
    }
    qApp->installEventFilter(new ShortcutWatcher(qApp));
#ifdef Q_OS_MACOS
    menus.globalBar = new QMenuBar(nullptr);
    for (QMenu *menu : menus.menus)
        menus.globalBar->addMenu(menu);
#endif
}

// Document windows show the application's menu bar (on desktops without a
// global one); every other window of ours still answers the key equivalents.
void attachMenuBarTo(QWidget *widget)
{
    MenuState &menus = state();
    if (!widget || menus.menus.empty())
        return;
    auto *mainWindow = qobject_cast<QMainWindow *>(widget);
#ifndef Q_OS_MACOS
    if (mainWindow) {
        QMenuBar *bar = mainWindow->menuBar();
        QList<QAction *> shared;
        for (QMenu *menu : menus.menus)
            shared.append(menu->menuAction());
        if (bar->actions() == shared)
            return; // attached when the window was built ahead
        bar->clear();
        for (QMenu *menu : menus.menus)
            bar->addMenu(menu);
        return;
    }
#else
    if (mainWindow)
        mainWindow->setMenuBar(nullptr);
#endif
    attachSharedActions(widget);
}

void attachEditMenu(QWidget *widget)
{
#ifndef Q_OS_MACOS
    QLayout *layout = widget->layout();
    QMenu *edit = state().root ? state().root->findChild<QMenu *>(QStringLiteral("editMenu")) : nullptr;
    if (!layout || !edit || layout->menuBar())
        return;
    auto *bar = new QMenuBar(widget);
    bar->addMenu(edit);
    layout->setMenuBar(bar);
#else
    Q_UNUSED(widget);
#endif
}

void attachSharedActions(QWidget *widget)
{
    for (QMenu *menu : state().menus)
        for (QAction *action : menu->actions())
            if (!action->isSeparator() && !action->shortcut().isEmpty())
                widget->addAction(action);
}

void updateMenus()
{
    if (state().update)
        state().update();
}

void frontWindowChanged()
{
    updateMenus();
}

} // namespace platform
