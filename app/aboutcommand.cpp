// Showing and drawing the about box: the application icon centred near the
// top, the information string centred below it.
#include "app/aboutwindow.h"

void BAboutBoxCommandHandler(WindowRef window)
{
    if (!window)
        return;
    Rect bounds;
    const GrafPtr originalPort = BBeginWindowDrawing(window, &bounds);
    const short h = short(bounds.right / 2);
    const std::string text = BCopyInfoString();

    Rect iconRect;
    SetRect(&iconRect, short(h - 28), short(bounds.top + 30), short(h + 20), short(bounds.top + 78));
    EraseRect(&iconRect);
    platform::drawIcon(platform::applicationIcon(), QRect(h - 28, bounds.top + 30, 48, 48));

    Rect textRect;
    SetRect(&textRect, short(bounds.left + 20), short(bounds.top + 100), short(bounds.right - 20),
            short(bounds.bottom - 20));
    EraseRect(&textRect);
    TXNDrawCFStringTextBox(text, &textRect, TextFlush::center);
    SetPort(originalPort);
}
