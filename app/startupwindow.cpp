// The splash, shown at start-up only while the program gets ready: the icon,
// the name in 14-pixel bold and the information string in 10-pixel text, all
// centred on white, in the fixed-pitch face of the table sheet.
#include "app/startupwindow.h"

#include "app/aboutwindow.h"
#include "document/sheet.h"
#include "platform/bundle.h"
#include "platform/quickdraw.h"

#include <QPainter>
#include <QSplashScreen>

namespace
{

QFont splashFont(int pixelSize, bool bold)
{
    QFont font = sheetFont();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void drawBox(QPainter &painter, const QImage &icon, const QString &name, const QString &info)
{
    const QRect bounds = painter.window();
    painter.drawImage(QRect(bounds.width() / 2 - 23, 30, 47, 48), icon);
    const QRect textBox = bounds.adjusted(20, 100, -20, -20);
    const int flags = Qt::TextWordWrap | Qt::AlignTop | Qt::AlignHCenter;
    painter.setFont(splashFont(14, true));
    painter.drawText(textBox, flags, name);
    painter.setFont(splashFont(10, false));
    painter.drawText(textBox.adjusted(0, 40, 0, 0), flags, info);
}

} // namespace

QPixmap BStartupBoxHandler(const QString &name)
{
    QPixmap picture(300, 200);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QImage icon = platform::applicationIconImage(QSize(47, 48));
    const QString info = QString::fromStdString(BCopyInfoString());
    // Drawn twice over, as the splash always was: the second pass darkens
    // the soft edges of the icon and the letters.
    drawBox(painter, icon, name, info);
    drawBox(painter, icon, name, info);
    return picture;
}

std::unique_ptr<QSplashScreen> BInitStartupWindow()
{
    const QString name = platform::infoValue("CFBundleName");
    auto splash = std::make_unique<QSplashScreen>(BStartupBoxHandler(name));
    splash->setObjectName(QStringLiteral("startupWindow"));
    splash->setWindowTitle(name);
    return splash;
}
