// The table parameters window: built afresh at every compute command,
// filled with the arguments of the last successful calculation, run
// application-modally, and destroyed at its end.
#include "app/tablewindow.h"

#include "document/document.h"
#include "document/mainwindow.h"
#include "platform/alerts.h"
#include "platform/controls.h"
#include "platform/strings.h"

#include <QCoreApplication>
#include <string>

namespace
{

WindowRef tableWindow = nullptr;
std::int32_t tableWindowExist = 0;
EventHandlerRef tableWindowHandler = nullptr;

// The arguments shown when the window opens: those of the last successful
// calculation, in any document, for the rest of the run.
tFocalLength focalDef = 35.0;
tDistance distanceDef = 5.0;
tUnsharpCircleDiameter unsharpDef = 0.00001;
std::int32_t cameraTypeDef = fullFrameDigital;

const ControlID distanceStringFieldID = {FOUR_CHAR_CODE("DIST"), kTableControlID};
const ControlID distanceFieldID = {FOUR_CHAR_CODE("dist"), kTableControlID};
const ControlID focalFieldID = {FOUR_CHAR_CODE("focl"), kTableControlID};
const ControlID unsharpFieldID = {FOUR_CHAR_CODE("unsp"), kTableControlID};
const ControlID unsharpCircleValueFieldID = {FOUR_CHAR_CODE("uscd"), kTableControlID};

constexpr double kMinCircleMicrometres = 1.0;
constexpr double kMaxCircleMicrometres = 1000.0;

constexpr std::uint32_t kSelectCommand = FOUR_CHAR_CODE("slct");
constexpr std::uint32_t kComputeCommand = FOUR_CHAR_CODE("tabl");

ControlRef control(const ControlID &id)
{
    ControlRef ref = nullptr;
    GetControlByID(tableWindow, &id, &ref);
    return ref;
}

void setText(const ControlID &id, const std::string &text)
{
    ControlRef ref = control(id);
    SetControlText(ref, text);
    Draw1Control(ref);
}

// False when the field holds anything but one plain decimal number.
bool readNumber(const ControlID &id, double *value)
{
    return CFStringGetDecimalValue(GetControlText(control(id)), value);
}

// The circle typed for the digital formats, in micrometres: finite and
// within the range a real sensor's circle of confusion can take.
bool circleInRange(double micrometres)
{
    return micrometres >= kMinCircleMicrometres && micrometres <= kMaxCircleMicrometres;
}

// The circle field is used only for the two digital formats (items 1 and 2).
void enableCircleFieldFor(std::int32_t popupItem)
{
    if (popupItem == 3 || popupItem == 4)
        DisableControl(control(unsharpCircleValueFieldID));
    else
        EnableControl(control(unsharpCircleValueFieldID));
}

void fillWindow(std::int32_t distUnit)
{
    setText(distanceStringFieldID,
            QCoreApplication::translate("Program", distUnit == kDistanceUnitFeet
                                                       ? QT_TRANSLATE_NOOP("Program", "distance in ft: ")
                                                       : QT_TRANSLATE_NOOP("Program", "distance in m: "))
                .toStdString());
    setText(distanceFieldID, CFStringCreateWithFormat("%.3f", distanceDef));
    setText(focalFieldID, CFStringCreateWithFormat("%.0f", focalDef));
    setText(unsharpCircleValueFieldID, CFStringCreateWithFormat("%.1f", unsharpDef * 1000000.0));
    SetControl32BitValue(control(unsharpFieldID), cameraTypeDef + 1);
    Draw1Control(control(unsharpFieldID));
    enableCircleFieldFor(cameraTypeDef + 1);
}

void showArgumentsAlert()
{
    AlertStdAlertParamRec params;
    params.movable = true;
    StandardAlert(kAlertNoteAlert, "Please Check Your Arguments!",
                  "The focal length should be in the range of 4..1000 mm,\n"
                  "the distance from two times of focal length to 1000 m,\n"
                  "and the circle of confusion in the range of 1..1000 \u00b5m.",
                  &params);
}

void computeTable()
{
    tDistance distance = 0.0;
    tFocalLength focal = 0.0;
    const bool numbersRead = readNumber(distanceFieldID, &distance) && readNumber(focalFieldID, &focal);
    const std::int32_t item = GetControl32BitValue(control(unsharpFieldID));
    tCameraType cameraType = mediumFormat;
    tUnsharpCircleDiameter circle = 0.0001;
    bool circleValid = true;
    if (item == 1 || item == 2) {
        // Only the digital formats take the typed circle; the film formats'
        // circles are fixed and the field's text is not used.
        double unsharpValue = 0.0;
        cameraType = item == 1 ? APSC : fullFrameDigital;
        circleValid = readNumber(unsharpCircleValueFieldID, &unsharpValue) && circleInRange(unsharpValue);
        circle = unsharpValue / 1000000.0;
    } else if (item == 3) {
        cameraType = thirtyFive;
        circle = 0.000033;
    }
    // The unit cannot change while the window is modal: the range check and
    // the calculation see the same one.
    if (!numbersRead || !circleValid ||
        QRLArgumentsInRange(distance, focal, QRLReadDistanceUnit()) != kInRange) {
        showArgumentsAlert();
        return;
    }
    QRLCalculateTable(BGetCurrentDocsDataPtr(), distance, focal, circle, cameraType);
    cameraTypeDef = cameraType;
    distanceDef = distance;
    unsharpDef = circle;
    focalDef = focal;
    QuitAppModalLoopForWindow(tableWindow);
    BDrawDocsWindowData(1);
    BSetDocumentDirtyShown(BGetDocumentWindowsDocPtr(BGetCurrentDocsWindowRef()), 1);
}

} // namespace

void QRLInitTableWindow()
{
    static const EventTypeSpec commandEvents[] = {{kEventClassCommand, kEventCommandProcess}};
    const std::int32_t distUnit = QRLReadDistanceUnit();
    tableWindow = BLoadWindowWithHandler("tablewindow", "Window", QRLTableWindowEventHandler, 1,
                                         commandEvents, &tableWindowHandler);
    if (!tableWindow) {
        tableWindowExist = 0;
        return;
    }
    tableWindowExist = 1;
    fillWindow(distUnit);
    SetKeyboardFocus(tableWindow, control(distanceFieldID));
    RunAppModalLoopForWindow(tableWindow);
    HideWindow(tableWindow);
    tableWindowExist = 0;
    RemoveEventHandler(tableWindowHandler);
    tableWindowHandler = nullptr;
    DisposeWindow(tableWindow);
    tableWindow = nullptr;
}

OSStatus QRLTableWindowEventHandler(EventHandlerCallRef, EventRef event, void *)
{
    HICommand command;
    if (GetEventCommand(event, &command) != noErr)
        return eventNotHandledErr;
    switch (command.commandID) {
    case kSelectCommand:
        enableCircleFieldFor(GetControl32BitValue(control(unsharpFieldID)));
        return noErr;
    case kHICommandCancel:
        QuitAppModalLoopForWindow(tableWindow);
        return noErr;
    case kComputeCommand:
        computeTable();
        return noErr;
    default:
        return eventNotHandledErr;
    }
}

int QRLIsTableWindow()
{
    return tableWindowExist;
}
