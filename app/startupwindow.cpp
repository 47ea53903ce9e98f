// The splash, shown while the program gets ready: the icon, the name and the
// information string centred on white, in the sheet's fixed-pitch face.
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
    // Drawn twice over, as the splash always was: the second pass darkens
    // the soft edges of the icon and the letters.
    for (int pass = 0; pass < 2; ++pass) {
        painter.drawImage(QRect(picture.width() / 2 - 23, 30, 47, 48), icon);
        painter.setFont(sheetFont(14, true));
        painter.drawText(textBox, flags, name);
        painter.setFont(sheetFont(10));
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
