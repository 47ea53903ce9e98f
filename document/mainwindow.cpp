// Document windows: building them from their form, their window
// events, and the table sheet they show.
#include "document/mainwindow.h"

#include "document/document.h"
#include "platform/bundle.h"
#include "platform/forms.h"
#include "platform/placement.h"
#include "platform/quickdraw.h"
#include "platform/strings.h"
#include "ui_main.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <iterator>
#include <string>

namespace
{

// On paper the sixth aperture has one trailing blank less.
const char *const kPrintedRow6ApertureText = "11  ";

std::int32_t count = 1; // document windows built so far, plus one

const char *const kWindowName = "MainWindow";

// A document window: its form is the sheet it draws on.
using DocumentForm = FormWindow<QMainWindow, Ui::MainWindow>;

const char *const kApertureTexts[kNumberOfApertures] = {" 1.4", " 2  ",  " 2.8", " 4  ", " 5.6",
                                                        " 8  ", "11   ", "16  ", "22  ", "32  "};

// A label of the sheet in the user's language. The sheet draws in a
// fixed-pitch font of about 7 px per character, so each text must end before
// the next item: the focal length's label 15, the distance's 12, the
// circle's 20, the camera's 13, the aperture's 12, the near and far headings
// 18 and the camera formats 24 characters at most, in every language.
std::string localized(const char *text)
{
    return QCoreApplication::translate("Sheet", text).toStdString();
}

const char *cameraName(std::int16_t cameraType)
{
    switch (cameraType) {
    case APSC:
        return QT_TRANSLATE_NOOP("Sheet", "APS-C digital");
    case fullFrameDigital:
        return QT_TRANSLATE_NOOP("Sheet", "Full-frame digital");
    case thirtyFive:
        return QT_TRANSLATE_NOOP("Sheet", "35 mm film");
    case mediumFormat:
        return QT_TRANSLATE_NOOP("Sheet", "Medium format");
    default:
        return QT_TRANSLATE_NOOP("Sheet", "Digital camera");
    }
}

// Draws text in the box from (L + x, T + y) to the port's right and bottom edges.
void drawAt(const Rect &bounds, short x, short y, const std::string &text)
{
    Rect frame;
    SetRect(&frame, short(bounds.left + x), short(bounds.top + y), bounds.right, bounds.bottom);
    TXNDrawCFStringTextBox(text, &frame);
}

void drawInFrame(const Rect &frame, const std::string &text, bool eraseFirst)
{
    if (eraseFirst)
        EraseRect(&frame);
    TXNDrawCFStringTextBox(text, &frame);
}

// The document window nearest the front, if one is visible.
WindowRef frontDocumentWindow()
{
    WindowRef visible[64];
    const int count = GetVisibleWindowsFrontToBack(visible, int(std::size(visible)));
    for (int i = 0; i < count; ++i)
        if (BIsDocumentWindow(visible[i]))
            return visible[i];
    return nullptr;
}

short rowTop(int row)
{
    return short(150 + 30 * row);
}

void drawUnitLabels(const Rect &bounds, bool feet)
{
    Rect frame;
    SetRect(&frame, short(bounds.left + 210), short(bounds.top + 20), bounds.right, short(bounds.top + 40));
    drawInFrame(frame,
                localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Dist. (ft):")
                               : QT_TRANSLATE_NOOP("Sheet", "Dist. (m):")),
                true);
    SetRect(&frame, short(bounds.left + 120), short(bounds.top + 110), short(bounds.right + 100),
            bounds.bottom);
    drawInFrame(frame,
                localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Near limit (ft)")
                               : QT_TRANSLATE_NOOP("Sheet", "Near limit (m)")),
                true);
    SetRect(&frame, short(bounds.left + 260), short(bounds.top + 110), bounds.right, bounds.bottom);
    drawInFrame(frame,
                localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Far limit (ft)")
                               : QT_TRANSLATE_NOOP("Sheet", "Far limit (m)")),
                true);
}

void drawValues(const Rect &bounds, tDataPtr data)
{
    drawUnitLabels(bounds, QRLGetDistanceUnit(data) == kDistanceUnitFeet);
    drawAt(bounds, 140, 20, CFStringCreateWithFormat("%6.0f", QRLGetFocalLength(data)));
    drawAt(bounds, 308, 20, CFStringCreateWithFormat("%6.3f", QRLGetDistance(data)));
    drawAt(bounds, 175, 45, CFStringCreateWithFormat("%6.1f", QRLGetUnsharpCircleinMicroMeter(data)));
    drawAt(bounds, 125, 70, localized(cameraName(QRLGetCameraType(data))));
    for (int i = 0; i < kNumberOfApertures; ++i)
        drawAt(bounds, 140, rowTop(i),
               CFStringCreateWithFormat("%6.3f", QRLGetTableElementNearDistance(data, i)));
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const tDistance aDistance = QRLGetTableElementFarDistance(data, i);
        drawAt(bounds, 280, rowTop(i),
               aDistance == -1.0 ? std::string("inf") : CFStringCreateWithFormat("%6.3f", aDistance));
    }
}

void drawPlaceholders(const Rect &bounds)
{
    for (int i = 0; i < kNumberOfApertures; ++i) {
        drawAt(bounds, 140, rowTop(i), "-");
        drawAt(bounds, 280, rowTop(i), "-");
    }
    drawAt(bounds, 150, 20, "-");
    drawAt(bounds, 320, 20, "-");
    drawAt(bounds, 180, 45, "-");
    drawAt(bounds, 125, 70, "-");
}

} // namespace

// The sheet without its erasure, into the current port: shared by the
// window and the printed page, which differ only in the sixth aperture text.
void BDrawSheet(const Rect &bounds, tDataPtr data, bool valid, const char *row6ApertureText)
{
    MoveTo(10, 90);
    LineTo(short(bounds.right - 10), 90);
    Rect pictRect;
    SetRect(&pictRect, 312, 62, 344, 94);
    if (PicHandle picture = GetPicture(128))
        DrawPicture(picture, &pictRect);

    drawAt(bounds, 20, 20, localized(QT_TRANSLATE_NOOP("Sheet", "Focal length:")));
    drawAt(bounds, 210, 20, localized(QT_TRANSLATE_NOOP("Sheet", "Distance:")));
    drawAt(bounds, 20, 45, localized(QT_TRANSLATE_NOOP("Sheet", "Conf. circle (µm):")));
    drawAt(bounds, 20, 70, localized(QT_TRANSLATE_NOOP("Sheet", "Camera:")));
    drawAt(bounds, 20, 110, localized(QT_TRANSLATE_NOOP("Sheet", "Aperture")));
    Rect nearHeading;
    SetRect(&nearHeading, short(bounds.left + 120), short(bounds.top + 110), short(bounds.right + 100),
            bounds.bottom);
    drawInFrame(nearHeading, localized(QT_TRANSLATE_NOOP("Sheet", "Near limit")), false);
    drawAt(bounds, 260, 110, localized(QT_TRANSLATE_NOOP("Sheet", "Far limit")));
    for (int i = 0; i < kNumberOfApertures; ++i)
        drawAt(bounds, 30, rowTop(i), i == 6 ? row6ApertureText : kApertureTexts[i]);

    if (valid)
        drawValues(bounds, data);
    else
        drawPlaceholders(bounds);
}

namespace
{

void drawSheetInWindow(WindowRef window, tDataPtr data, bool valid)
{
    if (!window)
        return;
    GrafPtr savedPort;
    GetPort(&savedPort);
    SetPortWindowPort(window);
    Rect bounds;
    GetWindowPortBounds(window, &bounds);
    EraseRect(&bounds);
    BDrawSheet(bounds, data, valid, kApertureTexts[6]);
    SetPort(savedPort);
}

} // namespace

WindowRef BLoadWindowWithHandler(QWidget *form, const std::string &windowName, EventHandlerUPP handler,
                                 int numTypes, const EventTypeSpec *eventTypes, EventHandlerRef *outHandler)
{
    WindowRef window = platform::adoptWindow(form, windowName);
    if (handler)
        InstallEventHandler(GetWindowEventTarget(window), handler, numTypes, eventTypes, window, outHandler);
    return window;
}

void BPrepareMainWindow()
{
    platform::prepareWindow([]() -> QWidget * { return new DocumentForm; });
}

WindowRef BInitMainWindow(EventHandlerUPP *eventHandlerUPP)
{
    static const EventTypeSpec windowEvents[] = {{kEventClassWindow, kEventWindowClose},
                                                 {kEventClassWindow, kEventWindowShown}};
    *eventHandlerUPP = BMainWindowEventHandler;
    QWidget *form = platform::takePreparedWindow();
    WindowRef window = BLoadWindowWithHandler(form ? form : new DocumentForm, kWindowName, *eventHandlerUPP,
                                              2, windowEvents);
    if (count > 1)
        SetWTitle(window, GetWTitle(window) + std::to_string(count));
    count += 1;
    // New windows cascade from the front one and never open off screen.
    RepositionWindow(window, frontDocumentWindow(), kWindowCascadeOnParentWindow);
    return window;
}

OSStatus BMainWindowEventHandler(EventHandlerCallRef, EventRef event, void *userData)
{
    auto window = static_cast<WindowRef>(userData);
    switch (GetEventKind(event)) {
    case kEventWindowClose:
        if (BIsDocumentDirty(window)) {
            if (BGetDocumentHooks().closeDirty)
                BGetDocumentHooks().closeDirty(BGetDocumentWindowsDocPtr(window));
        } else
            BCloseDocument(window);
        return noErr;
    case kEventWindowShown:
        BDrawDocsWindowDataUpdate(window);
        return noErr;
    default:
        return eventNotHandledErr;
    }
}

void BDrawDocsWindowData(std::int32_t valid)
{
    drawSheetInWindow(BGetCurrentDocsWindowRef(), BGetCurrentDocsDataPtr(), valid == 1);
}

void BDrawDocsWindowDataUpdate(WindowRef window)
{
    tDocumentPtr document = BGetDocumentWindowsDocPtr(window);
    if (!document)
        return;
    // Exactly 1 draws the values: a flag byte read from a file may hold anything.
    drawSheetInWindow(window, document->dataPtr, document->dataPtr && document->dataPtr->valid == 1);
}

void BDrawDocsPrintData(const WindowRef docsWindow)
{
    // The geometry is the document window's; the port is the page's, which
    // the print loop made current; nothing on the page is erased first.
    Rect bounds;
    GetWindowPortBounds(docsWindow, &bounds);
    BSetCurrentDocListIndexFromWindowRef(docsWindow);
    BDrawPrintedSheet(bounds, BGetCurrentDocsDataPtr());
}

void BDrawPrintedSheet(const Rect &bounds, tDataPtr data)
{
    BDrawSheet(bounds, data, data && data->valid == 1, kPrintedRow6ApertureText);
}
