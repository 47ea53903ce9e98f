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

// Every alert shown so far, oldest first; the list is kept until taken. Each
// alert (a message box with one button) is answered with that button as soon
// as it is on screen; message boxes that ask a question are left to the test.
std::vector<ShownAlert> TakeShownAlerts();
