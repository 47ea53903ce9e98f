// The application's one menu bar: menus by ID, items by position, one
// enabled state shared by every window that shows the menus.
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
#ifdef Q_OS_MACOS
    QMenuBar *globalBar = nullptr;
#endif
};

MenuState &state()
{
    static MenuState menus;
    return menus;
}

QMenu *menuOf(MenuRef menu)
{
    return reinterpret_cast<QMenu *>(menu);
}

QAction *itemOf(MenuRef menu, MenuItemIndex item)
{
    QMenu *qmenu = menuOf(menu);
    if (!qmenu || item < 1)
        return nullptr;
    const QList<QAction *> actions = qmenu->actions();
    return item <= actions.size() ? actions.at(item - 1) : nullptr;
}

std::uint32_t commandOf(const QAction *action)
{
    return platform::fourCharCodeFrom(action->property("commandID").toString());
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
                SendMenuPopulateEvent();
        }
        return false;
    }
};

void wireMenu(QMenu *menu)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, []() { SendMenuPopulateEvent(); });
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || action->menu())
            continue;
        action->setShortcutContext(Qt::WindowShortcut);
        const std::uint32_t command = commandOf(action);
        if (!command)
            continue;
        QObject::connect(action, &QAction::triggered, action, [command]() {
            HICommand hiCommand;
            hiCommand.commandID = command;
            ProcessHICommand(hiCommand);
        });
    }
}

} // namespace

namespace platform
{

FourCharCode fourCharCodeFrom(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    if (bytes.size() != 4)
        return 0;
    return (FourCharCode(std::uint8_t(bytes[0])) << 24) | (FourCharCode(std::uint8_t(bytes[1])) << 16) |
           (FourCharCode(std::uint8_t(bytes[2])) << 8) | FourCharCode(std::uint8_t(bytes[3]));
}

QString fourCharCodeText(FourCharCode code)
{
    const char text[4] = {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
    return QString::fromLatin1(text, 4);
}

void installMenuBar(QWidget *root, QMenuBar *menuBar)
{
    MenuState &menus = state();
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
void attachMenuBar(WindowRef window)
{
    attachMenuBarTo(widgetOf(window));
}

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
    MenuRef edit = GetMenuHandle(130);
    if (!layout || !edit || layout->menuBar())
        return;
    auto *bar = new QMenuBar(widget);
    bar->addMenu(reinterpret_cast<QMenu *>(edit));
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

} // namespace platform

MenuRef GetMenuHandle(MenuID menuID)
{
    for (QMenu *menu : state().menus)
        if (menu->property("menuID").toInt() == menuID)
            return reinterpret_cast<MenuRef>(menu);
    return nullptr;
}

void EnableMenuItem(MenuRef menu, MenuItemIndex item)
{
    if (QAction *action = itemOf(menu, item))
        action->setEnabled(true);
}

void DisableMenuItem(MenuRef menu, MenuItemIndex item)
{
    if (QAction *action = itemOf(menu, item))
        action->setEnabled(false);
}

Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item)
{
    QAction *action = itemOf(menu, item);
    return action && action->isEnabled();
}

void EnableMenuCommand(MenuRef menu, std::uint32_t commandID)
{
    for (QMenu *qmenu : state().menus) {
        if (menu && reinterpret_cast<MenuRef>(qmenu) != menu)
            continue;
        for (QAction *action : qmenu->actions())
            if (commandOf(action) == commandID)
                action->setEnabled(true);
    }
}

std::uint32_t GetMenuItemCommandID(MenuRef menu, MenuItemIndex item)
{
    QAction *action = itemOf(menu, item);
    return action ? commandOf(action) : 0;
}

MenuItemIndex CountMenuItems(MenuRef menu)
{
    return menuOf(menu) ? MenuItemIndex(menuOf(menu)->actions().size()) : 0;
}

std::string CopyMenuTitleAsCFString(MenuRef menu)
{
    return menuOf(menu) ? menuOf(menu)->title().toStdString() : std::string();
}

std::string GetMenuItemText(MenuRef menu, MenuItemIndex item)
{
    QAction *action = itemOf(menu, item);
    return action ? action->text().toStdString() : std::string();
}

std::string GetMenuItemKeyEquivalent(MenuRef menu, MenuItemIndex item)
{
    QAction *action = itemOf(menu, item);
    return action ? action->shortcut().toString(QKeySequence::PortableText).toStdString() : std::string();
}

Boolean IsMenuCommandEnabled(std::uint32_t commandID)
{
    bool carried = false;
    for (QMenu *menu : state().menus) {
        for (QAction *action : menu->actions()) {
            if (commandOf(action) != commandID)
                continue;
            if (action->isEnabled())
                return true;
            carried = true;
        }
    }
    return !carried;
}
