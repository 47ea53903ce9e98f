// Where windows open: cascading a new window from another.
#pragma once

class QWidget;

namespace platform
{

// Places window down and to the right of parent by its title bar height, or
// at the top-left of the available screen area when it would not fit there.
void cascadeWindow(QWidget *window, QWidget *parent);

} // namespace platform
