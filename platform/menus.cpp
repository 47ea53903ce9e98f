// The application's one menu bar, shared by every window that shows the menus.
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

QWidget *menusRoot = nullptr; // owns the menus; never shown
std::vector<QMenu *> sharedMenus;
std::function<void()> updateItems;

// Updates the menus before Qt looks up a key equivalent: a disabled item's does nothing.
class ShortcutWatcher : public QObject
{
  public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride &&
            (static_cast<QKeyEvent *>(event)->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
            platform::updateMenus();
        return false;
    }
};

} // namespace

namespace platform
{

void installMenuBar(QWidget *root, QMenuBar *menuBar, std::function<void()> update)
{
    updateItems = std::move(update);
    root->hide();
    menusRoot = root;
    for (QAction *action : menuBar->actions()) {
        QMenu *menu = action->menu();
        if (!menu)
            continue;
        sharedMenus.push_back(menu);
        QObject::connect(menu, &QMenu::aboutToShow, menu, &updateMenus);
        for (QAction *item : menu->actions())
            if (!item->isSeparator() && !item->menu())
                item->setShortcutContext(Qt::WindowShortcut);
    }
    qApp->installEventFilter(new ShortcutWatcher(qApp));
}

// Document windows show the menu bar; other windows answer its key equivalents.
void attachMenuBarTo(QWidget *widget)
{
    if (!widget || sharedMenus.empty())
        return;
    auto *mainWindow = qobject_cast<QMainWindow *>(widget);
    if (!mainWindow) {
        // The shared items with a key equivalent, answered in a window without the menu bar.
        for (QMenu *menu : sharedMenus)
            for (QAction *action : menu->actions())
                if (!action->isSeparator() && !action->shortcut().isEmpty())
                    widget->addAction(action);
        return;
    }
    QMenuBar *bar = mainWindow->menuBar();
    QList<QAction *> shared;
    for (QMenu *menu : sharedMenus)
        shared.append(menu->menuAction());
    if (bar->actions() == shared)
        return; // attached when the window was built ahead
    bar->clear();
    for (QMenu *menu : sharedMenus)
        bar->addMenu(menu);
}

void attachEditMenu(QWidget *widget)
{
    QLayout *layout = widget->layout();
    QMenu *edit = menusRoot ? menusRoot->findChild<QMenu *>(QStringLiteral("editMenu")) : nullptr;
    if (!layout || !edit || layout->menuBar())
        return;
    auto *bar = new QMenuBar(widget);
    bar->addMenu(edit);
    layout->setMenuBar(bar);
}

void updateMenus()
{
    if (updateItems)
        updateItems();
}

} // namespace platform
