#include "alerts.h"

#include "localization.h"

#include <QApplication>
#include <QMessageBox>

void showAlert(const std::string &message, const std::string &explanation)
{
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(),
                    QString::fromStdString(CopyLocalizedText(message)), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setInformativeText(QString::fromStdString(CopyLocalizedText(explanation)));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec(); // the caller goes on once the alert is answered
}
