// The focus bracketing window: its inputs, and the plan they give as a list
// of shots and a diagram, made again at every change.
#pragma once

#include "model/bracketing.h"

class QWidget;

// Shows the window, prefilled from the front document's table when it has one.
void QRLBracketingCommandHandler();
bool QRLIsBracketingWindow(QWidget *window);
// The window's arguments and plan; false when window is not the bracketing
// window or its inputs give no plan.
bool QRLBracketingPlanOf(QWidget *window, tBracketingArguments *arguments, tBracketingPlan *plan);
