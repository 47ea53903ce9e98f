// Note alerts: a message, an explanation and OK. Headless runs record the
// alert and answer it at once.
#include "alerts.h"

#include "application.h"
#include "internal.h"
#include "testing.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

namespace
{

std::vector<ShownAlert> &shownAlerts()
{
    static std::vector<ShownAlert> alerts;
    return alerts;
}

} // namespace

OSStatus StandardAlert(AlertType type, const std::string &message, const std::string &explanation,
                       const AlertStdAlertParamRec *params)
{
    // The program passes its texts in English; the user reads them in their language.
    auto translated = [](const std::string &text) {
        return QCoreApplication::translate("Program", text.c_str()).toStdString();
    };
    const ShownAlert alert{type, translated(message), translated(explanation), params && params->movable};
    shownAlerts().push_back(alert);
    if (!PlatformIsHeadless()) {
        QMessageBox box(QMessageBox::Information, QApplication::applicationName(),
                        QString::fromStdString(alert.message), QMessageBox::Ok, QApplication::activeWindow());
        box.setInformativeText(QString::fromStdString(alert.explanation));
        box.setWindowModality(Qt::ApplicationModal);
        box.exec(); // an alert is modal: the caller goes on once it is answered
    }
    return noErr;
}

std::vector<ShownAlert> TakeShownAlerts()
{
    std::vector<ShownAlert> taken;
    taken.swap(shownAlerts());
    return taken;
}
