// Menus by ID and their items by position (from 1, separators count).
#pragma once

#include "types.h"
#include "window.h"

#include <string>

using MenuID = std::int16_t;
using MenuItemIndex = std::uint16_t;

MenuRef GetMenuHandle(MenuID menuID);
void EnableMenuItem(MenuRef menu, MenuItemIndex item);
void DisableMenuItem(MenuRef menu, MenuItemIndex item);
Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item);
// Enables every item carrying the command, in the given menu or, with null, in all.
void EnableMenuCommand(MenuRef menu, std::uint32_t commandID);
std::uint32_t GetMenuItemCommandID(MenuRef menu, MenuItemIndex item);
MenuItemIndex CountMenuItems(MenuRef menu);
// The menu's title as the menu bar shows it, empty for no menu.
std::string CopyMenuTitleAsCFString(MenuRef menu);
std::string GetMenuItemText(MenuRef menu, MenuItemIndex item);
// The key equivalent as Qt's portable text ("Ctrl+N"), empty when none.
std::string GetMenuItemKeyEquivalent(MenuRef menu, MenuItemIndex item);
// Whether an enabled item carries the command; commands no item carries count as enabled.
Boolean IsMenuCommandEnabled(std::uint32_t commandID);
