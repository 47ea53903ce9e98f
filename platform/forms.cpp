// The forms' windows among the program's windows, and the window built ahead.
#include "forms.h"

#include "internal.h"

#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace
{

// The window start-up builds while it waits, and that window once built.
std::function<QWidget *()> buildAhead;
QPointer<QWidget> builtAhead;

// Draws every character of a sheet off screen once, loading its font and glyphs.
void warmSheetFace()
{
    static bool warmed = false;
    if (std::exchange(warmed, true))
        return;
    QString characters;
    for (char c = ' '; c <= '~'; ++c)
        characters += QLatin1Char(c);
    characters += QChar(0xB5); // the micro sign of the circle's unit
    QImage scratch(32, 32, QImage::Format_RGB32);
    QPainter painter(&scratch);
    // The sheet's face: fixed-pitch, 12 pixels.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    painter.setFont(font);
    // Glyphs are kept per quarter-pixel position: each character at each.
    for (const QChar c : characters)
        for (int quarter = 0; quarter < 4; ++quarter)
            painter.drawText(QPointF(4 + quarter / 4.0, 20), QString(c));
}

} // namespace

namespace platform
{

void adoptWindow(QWidget *widget, const std::string &name)
{
    widget->hide();
    trackWindow(widget, name);
    attachMenuBarTo(widget);
}

void readyHiddenWindow(QWidget *widget)
{
    attachMenuBarTo(widget);
    widget->ensurePolished();
    if (QLayout *layout = widget->layout())
        layout->activate();
    widget->winId(); // the native window, not mapped yet
    // Painting it once off screen loads the fonts and glyphs it shows.
    QImage scratch(widget->size(), QImage::Format_RGB32);
    widget->render(&scratch);
    warmSheetFace();
}

void prepareWindow(std::function<QWidget *()> build)
{
    buildAhead = std::move(build);
    builtAhead = nullptr;
}

QWidget *takePreparedWindow()
{
    return std::exchange(builtAhead, nullptr);
}

void buildPreparedWindows(bool ready)
{
    if (!buildAhead)
        return;
    builtAhead = std::exchange(buildAhead, nullptr)();
    if (ready)
        readyHiddenWindow(builtAhead);
}

} // namespace platform
