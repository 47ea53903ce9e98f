// The preferences window: the distance unit, stored by OK.
#include "app/windowmodule.h"
#include "model/data.h"
#include "platform/alerts.h"
#include "platform/prefs.h"
#include "ui_prefwindow.h"

#include <QCoreApplication>
#include <QPushButton>

namespace
{

std::int32_t distUnit = 1;

class PrefForm : public FormWindow<QDialog, Ui::PrefWindow>
{
  public:
    PrefForm()
    {
        distUnit = QRLReadDistanceUnit();
        // OK stores the unit; both buttons put the window away.
        connect(ui.okButton, &QPushButton::clicked, this, [this]() {
            storeDistanceUnit();
            BHideAndSelectFront(this);
        });
        connect(ui.cancelButton, &QPushButton::clicked, this, [this]() { BHideAndSelectFront(this); });
        ui.distanceUnitField->setCurrentIndex(distUnit == 2 ? 1 : 0);
    }

  private:
    void storeDistanceUnit()
    {
        // The pop-up's items are the units in their stored order, from 1.
        const std::int32_t distanceUnitValue = ui.distanceUnitField->currentIndex() + 1;
        if (distanceUnitValue == 1 || distanceUnitValue == 2)
            distUnit = distanceUnitValue;
        QSettings &preferences = platform::preferences();
        preferences.setValue(QLatin1String(kDistanceUnitKey), QString::number(distUnit));
        preferences.sync();
        if (preferences.status() == QSettings::NoError)
            return;
        // The choice holds for this session; say that it will not last.
        const std::string explanation =
            QCoreApplication::translate("Program",
                                        "The preferences file \u201c%1\u201d could not be written: %2.\nThe "
                                        "choice holds until the application quits.")
                .arg(preferences.fileName(), platform::preferencesWriteFailure())
                .toStdString();
        showAlert("Your choice could not be saved", explanation);
    }
};

} // namespace

QWidget *BGetPrefWindowRef()
{
    return Auxiliary<PrefForm>::ref("PrefWindow");
}

void BPreferencesCommandHandler()
{
    BShowAuxiliaryWindow(BGetPrefWindowRef());
}
