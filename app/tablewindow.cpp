// The table parameters window: built afresh at every compute command,
// filled with the arguments of the last successful calculation, run
// application-modally, and destroyed at its end.
#include "app/tablewindow.h"

#include "document/document.h"
#include "document/mainwindow.h"
#include "platform/alerts.h"
#include "platform/controls.h"
#include "platform/localization.h"
#include "platform/strings.h"

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

double readNumber(const ControlID &id)
{
    return CFStringGetDoubleValue(GetControlText(control(id)));
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
            CopyLocalizedText(distUnit == kDistanceUnitFeet ? "distance in ft: " : "distance in m: "));
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
                  "and the distance from two times of focal length to 1000 m.",
                  &params);
}

void computeTable()
{
    const tDistance distance = readNumber(distanceFieldID);
    const tFocalLength focal = readNumber(focalFieldID);
    const double unsharpValue = readNumber(unsharpCircleValueFieldID);
    const std::int32_t item = GetControl32BitValue(control(unsharpFieldID));
    tCameraType cameraType = mediumFormat;
    tUnsharpCircleDiameter circle = 0.0001;
    if (item == 1 || item == 2) {
        cameraType = item == 1 ? APSC : fullFrameDigital;
        circle = unsharpValue / 1000000.0;
    } else if (item == 3) {
        cameraType = thirtyFive;
        circle = 0.000033;
    }
    // The unit cannot change while the window is modal: the range check and
    // the calculation see the same one.
    if (QRLArgumentsInRange(distance, focal, QRLReadDistanceUnit()) != kInRange) {
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
    BSetDocumentDirty(BGetDocumentWindowsDocPtr(BGetCurrentDocsWindowRef()), 1);
    SetWindowModified(BGetCurrentDocsWindowRef(), true);
}

void failLoading(IBNibRef nibRef)
{
    if (nibRef)
        DisposeNibReference(nibRef);
    if (tableWindow)
        DisposeWindow(tableWindow);
    StandardAlert(kAlertNoteAlert, "Could not load Resource", "Please reinstall Your Application");
    tableWindow = nullptr;
    tableWindowExist = 0;
}

} // namespace

void QRLInitTableWindow()
{
    static const EventTypeSpec commandEvents[] = {{kEventClassCommand, kEventCommandProcess}};
    const std::int32_t distUnit = QRLReadDistanceUnit();
    IBNibRef nibRef = nullptr;
    if (CreateNibReference("tablewindow", &nibRef) != noErr ||
        CreateWindowFromNib(nibRef, "Window", &tableWindow) != noErr)
        return failLoading(nibRef);
    DisposeNibReference(nibRef);
    if (InstallEventHandler(GetWindowEventTarget(tableWindow), NewEventHandlerUPP(QRLTableWindowEventHandler),
                            1, commandEvents, tableWindow, &tableWindowHandler) != noErr)
        return failLoading(nullptr);
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
