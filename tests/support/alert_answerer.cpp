#include "alert_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>

namespace
{

std::vector<ShownAlert> shownAlerts;

// Reads each alert as it is shown and answers it once its own event loop runs.
class AlertAnswerer : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (event->type() != QEvent::Show || !box || box->buttons().size() != 1)
            return false;
        shownAlerts.push_back({box->icon(), box->text().toStdString(), box->informativeText().toStdString(),
                               box->windowModality()});
        QMetaObject::invokeMethod(box->buttons().front(), &QAbstractButton::click, Qt::QueuedConnection);
        return false;
    }
};

void installAlertAnswerer()
{
    qApp->installEventFilter(new AlertAnswerer(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAlertAnswerer)

std::vector<ShownAlert> TakeShownAlerts()
{
    std::vector<ShownAlert> taken;
    taken.swap(shownAlerts);
    return taken;
}
