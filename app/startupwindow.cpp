// The splash, shown at start-up only while the program gets ready: the icon,
// the name in 14-pixel bold and the information string in 10-pixel text, all
// centred on white, in the fixed-pitch face of the table sheet.
#include "app/startupwindow.h"

#include "app/windowmodule.h"
#include "document/sheet.h"
#include "platform/bundle.h"
#include "platform/icon.h"

#include <QPainter>
#include <QSplashScreen>

namespace
{

QPixmap BStartupBoxHandler(const QString &name)
{
    QPixmap picture(300, 200);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QImage icon = platform::applicationIconImage(QSize(47, 48));
    const QString info = QString::fromStdString(BCopyInfoString());
    const QRect textBox = picture.rect().adjusted(20, 100, -20, -20);
    const int flags = Qt::TextWordWrap | Qt::AlignTop | Qt::AlignHCenter;
    QFont nameFont = sheetFont();
    nameFont.setPixelSize(14);
    nameFont.setBold(true);
    QFont infoFont = sheetFont();
    infoFont.setPixelSize(10);
    infoFont.setBold(false);
    // Drawn twice over, as the splash always was: the second pass darkens
    // the soft edges of the icon and the letters.
    for (int pass = 0; pass < 2; ++pass) {
        painter.drawImage(QRect(picture.width() / 2 - 23, 30, 47, 48), icon);
        painter.setFont(nameFont);
        painter.drawText(textBox, flags, name);
        painter.setFont(infoFont);
        painter.drawText(textBox.adjusted(0, 40, 0, 0), flags, info);
    }
    return picture;
}

} // namespace

std::unique_ptr<QSplashScreen> BInitStartupWindow()
{
    const QString name = platform::infoValue("CFBundleName");
    auto splash = std::make_unique<QSplashScreen>(BStartupBoxHandler(name));
    splash->setObjectName(QStringLiteral("startupWindow"));
    splash->setWindowTitle(name);
    return splash;
}
