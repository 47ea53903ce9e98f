// Showing and drawing the about box: the application icon centred near the
// top, the information string centred below it.
#include "app/aboutwindow.h"
#include "platform/bundle.h"
#include "platform/files.h"

namespace
{

void registerDocumentIcon()
{
    IconFamilyHandle icon;
    if (std::optional<std::string> path = CFBundleCopyResourceURL("Table", "icns"))
        if (ReadIconFromFile(*path, &icon) == noErr)
            RegisterIconRefFromIconFamily(FOUR_CHAR_CODE("QRLF"), FOUR_CHAR_CODE("QRTb"), icon);
}

} // namespace

void BAboutBoxCommandHandler(WindowRef window)
{
    if (!window)
        return;
    GrafPtr originalPort;
    GetPort(&originalPort);
    ShowWindow(window);
    SelectWindow(window);
    SetPortWindowPort(window);
    Rect bounds;
    GetWindowPortBounds(window, &bounds);
    const short h = short(bounds.right / 2);
    const std::string text = BCopyInfoString();

    Rect iconRect;
    SetRect(&iconRect, short(h - 28), short(bounds.top + 30), short(h + 20), short(bounds.top + 78));
    EraseRect(&iconRect);
    if (IconFamilyHandle icon = BReadApplicationIcon())
        PlotIconFamily(&iconRect, icon);
    registerDocumentIcon();

    GetWindowPortBounds(window, &bounds);
    Rect textRect;
    SetRect(&textRect, short(bounds.left + 20), short(bounds.top + 100), short(bounds.right - 20),
            short(bounds.bottom - 20));
    EraseRect(&textRect);
    TXNDrawCFStringTextBox(text, &textRect, TextFlush::center);
    SetPort(originalPort);
}
