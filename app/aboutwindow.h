// The about box: the application icon and information string.
#pragma once

#include "platform/frontwindow.h"

#include <string>

void BInitAboutWindow();
// Builds the about box's window, hidden; it paints itself.
QWidget *BLoadAboutBox();
QWidget *BGetAboutWindowRef();
bool BIsAboutWindow(QWidget *window);
void BAboutBoxCommandHandler(QWidget *window);

// The information string of the bundle, or the fallback when it has none.
std::string BCopyInfoString();
