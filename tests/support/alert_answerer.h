// The alerts the program shows, answered as a user would and read back.
#pragma once

#include <QMessageBox>
#include <string>
#include <vector>

struct ShownAlert {
    QMessageBox::Icon icon;
    std::string message;
    std::string explanation;
    Qt::WindowModality modality;
};

// Every alert (a message box with one button) shown so far, oldest first,
// answered with its button once on screen; questions are left to the test.
std::vector<ShownAlert> TakeShownAlerts();
