// The alerts the program shows, answered as a user would and read back; the
// tests and the open fuzzer share it.
#pragma once

#include <QMessageBox>
#include <string>
#include <vector>

// An alert (a message box with one button), answered with its button once on screen.
struct ShownAlert {
    QMessageBox::Icon icon;
    std::string message, explanation;
    Qt::WindowModality modality;
};
std::vector<ShownAlert> TakeShownAlerts(); // those shown since last taken, oldest first
