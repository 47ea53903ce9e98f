// The preferences window: built on first request, shown by the
// show-preferences request, and its OK and Cancel commands.
#include "app/prefwindow.h"

#include "app/windowmodule.h"
#include "document/document.h"
#include "model/data.h"
#include "platform/alerts.h"
#include "platform/forms.h"
#include "platform/prefs.h"
#include "ui_prefwindow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPushButton>

namespace
{

using PrefForm = FormWindow<QDialog, Ui::PrefWindow>;
PrefForm *prefForm = nullptr;
std::int32_t distUnit = 1;

void storeDistanceUnit()
{
    // The pop-up's items are the units in their stored order, from 1.
    const std::int32_t distanceUnitValue = prefForm->ui.distanceUnitField->currentIndex() + 1;
    if (distanceUnitValue == 1 || distanceUnitValue == 2)
        distUnit = distanceUnitValue;
    QSettings &preferences = platform::preferences();
    preferences.setValue(QLatin1String(kDistanceUnitKey), QString::number(distUnit));
    preferences.sync();
    if (preferences.status() != QSettings::NoError) {
        // The choice holds for this session; say that it will not last.
        const std::string explanation =
            QCoreApplication::translate("Program",
                                        "The preferences file \u201c%1\u201d could not be written: %2.\nThe "
                                        "choice holds until the application quits.")
                .arg(QString::fromStdString(preferences.fileName().toStdString()),
                     QString::fromStdString(platform::preferencesWriteFailure().toStdString()))
                .toStdString();
        showAlert("Your choice could not be saved", explanation);
    }
}

// OK stores the unit; both buttons put the window away.
void closeWindow(bool store)
{
    if (store)
        storeDistanceUnit();
    BHideAndSelectFront(prefForm);
}

} // namespace

void BInitPrefWindow()
{
    distUnit = QRLReadDistanceUnit();
    prefForm = new PrefForm;
    BLoadWindow(prefForm, "PrefWindow");
    QObject::connect(prefForm->ui.okButton, &QPushButton::clicked, prefForm, []() { closeWindow(true); });
    QObject::connect(prefForm->ui.cancelButton, &QPushButton::clicked, prefForm,
                     []() { closeWindow(false); });
    prefForm->ui.distanceUnitField->setCurrentIndex(distUnit == 2 ? 1 : 0);
}

QWidget *BGetPrefWindowRef()
{
    if (!prefForm)
        BInitPrefWindow();
    return prefForm;
}

bool BIsPrefWindow(QWidget *window)
{
    return window && window == prefForm;
}

void BPreferencesCommandHandler(QWidget *window)
{
    if (window)
        BShowAuxiliaryWindow(window);
}
