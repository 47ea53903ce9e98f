// The preferences window: built on first request, shown by the
// show-preferences request, and its OK and Cancel commands.
#include "app/prefwindow.h"

#include "app/windowmodule.h"
#include "document/mainwindow.h"
#include "model/data.h"
#include "platform/alerts.h"
#include "platform/controls.h"
#include "platform/prefs.h"

#include <QCoreApplication>

namespace
{

WindowRef prefWindow = nullptr;
std::int32_t existPrefWindow = 0;
std::int32_t distUnit = 1;

const ControlID distanceUnitControlID = {FOUR_CHAR_CODE("DIUN"), 128};

ControlRef distanceUnitControl()
{
    ControlRef control = nullptr;
    GetControlByID(prefWindow, &distanceUnitControlID, &control);
    return control;
}

void storeDistanceUnit()
{
    const std::int32_t distanceUnitValue = GetControl32BitValue(distanceUnitControl());
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
        StandardAlert(kAlertNoteAlert, "Your choice could not be saved", explanation);
    }
}

} // namespace

void BInitPrefWindow()
{
    static const EventTypeSpec prefSpec[] = {{kEventClassCommand, kEventCommandProcess}};
    distUnit = QRLReadDistanceUnit();
    prefWindow = BLoadWindowWithHandler("prefwindow", "PrefWindow", BPrefWindowEventHandler, 1, prefSpec);
    if (!prefWindow) {
        existPrefWindow = 0;
        return;
    }
    SetControl32BitValue(distanceUnitControl(), distUnit == 2 ? 2 : 1);
    existPrefWindow = 1;
}

OSStatus BPrefWindowEventHandler(EventHandlerCallRef, EventRef event, void *userData)
{
    auto window = static_cast<WindowRef>(userData);
    HICommand command;
    OSStatus result = eventNotHandledErr;
    if (GetEventCommand(event, &command) == noErr) {
        if (command.commandID == kHICommandCancel) {
            ShowHide(window, false);
            result = noErr;
        } else if (command.commandID == kHICommandOK) {
            storeDistanceUnit();
            ShowHide(window, false);
            result = noErr;
        }
    }
    SelectWindow(FrontWindow());
    return result;
}

WindowRef BGetPrefWindowRef()
{
    if (!existPrefWindow)
        BInitPrefWindow();
    return prefWindow;
}

short BIsPrefWindow(WindowRef theWindow)
{
    return theWindow && theWindow == prefWindow ? 1 : 0;
}
