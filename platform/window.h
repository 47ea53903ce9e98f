// Windows: the platform's own z-order, titles,
// modified marks, proxies and window properties.
#pragma once

#include "types.h"

#include <string>

struct OpaqueWindowPtr;
using WindowRef = OpaqueWindowPtr *;

// Window classes as the program tells windows apart.
using WindowClass = std::uint32_t;
enum : WindowClass {
    kMovableModalWindowClass = 4,
    kDocumentWindowClass = 6,
    kSheetWindowClass = 11,
};

void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
void ShowHide(WindowRef window, Boolean show);
void SelectWindow(WindowRef window);
void DisposeWindow(WindowRef window);
Boolean IsWindowVisible(WindowRef window);
// The frontmost visible window of ours, in the platform's own z-order; null
// when none is visible.
WindowRef FrontWindow();
// The visible windows of ours, front to back, up to maxCount; returns how many.
int GetVisibleWindowsFrontToBack(WindowRef *out, int maxCount);

OSStatus GetWindowClass(WindowRef window, WindowClass *outClass);

std::string GetWTitle(WindowRef window);
void SetWTitle(WindowRef window, const std::string &title);
OSStatus SetWindowModified(WindowRef window, Boolean modified);
Boolean IsWindowModified(WindowRef window);
// The window represents a file (title bar icon and path); empty path clears.
OSStatus SetWindowProxyFilePath(WindowRef window, const std::string &path);
std::string GetWindowProxyFilePath(WindowRef window);

Boolean IsWindowCollapsed(WindowRef window);
OSStatus CollapseWindow(WindowRef window, Boolean collapse);

// Window properties: a pointer-sized value under creator and tag.
OSStatus SetWindowProperty(WindowRef window, OSType creator, OSType tag, void *value);
OSStatus GetWindowProperty(WindowRef window, OSType creator, OSType tag, void **value);
OSStatus RemoveWindowProperty(WindowRef window, OSType creator, OSType tag);

// The name the program gave the window ("MainWindow", "Window" ...).
std::string GetWindowNibName(WindowRef window);
