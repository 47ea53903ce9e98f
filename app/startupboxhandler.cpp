// Showing and drawing the splash: icon, the name in 14-pixel bold, and the
// information string in 10-pixel text, all centred.
#include "app/aboutwindow.h"
#include "app/startupwindow.h"
#include "platform/bundle.h"

void BStartupBoxHandler(WindowRef window)
{
    if (!window)
        return;
    Rect bounds;
    const GrafPtr originalPort = BBeginWindowDrawing(window, &bounds);
    const short h = short(bounds.right / 2);
    const std::string text = BCopyInfoString();
    const std::string nameText = platform::infoValue("CFBundleName").toStdString();

    platform::drawIcon(platform::applicationIcon(), QRect(h - 23, bounds.top + 30, 47, 48));

    GetWindowPortBounds(window, &bounds);
    Rect textRect;
    SetRect(&textRect, short(bounds.left + 20), short(bounds.top + 100), short(bounds.right - 20),
            short(bounds.bottom - 20));
    const Rect nameBounds = textRect;
    GrafPtr currentPort;
    GetPort(&currentPort);
    const std::int16_t face = GetPortTextFace(currentPort);
    TextSize(14);
    TextFace(bold);
    TXNDrawCFStringTextBox(nameText, &nameBounds, TextFlush::center);
    TextSize(10);
    TextFace(face);
    textRect.top = short(textRect.top + 40);
    TXNDrawCFStringTextBox(text, &textRect, TextFlush::center);
    SetPort(originalPort);
}
