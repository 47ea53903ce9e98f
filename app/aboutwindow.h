// The about box: the application icon and information string.
#pragma once

#include "platform/window.h"

#include <string>

void BInitAboutWindow();
// Builds the about box's window, hidden; it paints itself.
WindowRef BLoadAboutBox();
WindowRef BGetAboutWindowRef();
short BIsAboutWindow(WindowRef theWindow);
void BAboutBoxCommandHandler(WindowRef window);

// The information string of the bundle, or the fallback when it has none.
std::string BCopyInfoString();
// Shows the window in front.
void BShowWindowInFront(WindowRef window);
