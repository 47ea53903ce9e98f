// Note alerts as message boxes over the active window.
#include "alerts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

void showAlert(const std::string &message, const std::string &explanation)
{
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(),
                    QCoreApplication::translate("Program", message.c_str()), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setInformativeText(QCoreApplication::translate("Program", explanation.c_str()));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec(); // the caller goes on once the alert is answered
}
