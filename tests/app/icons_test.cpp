// The application icon as the splash and the about box show it: the
// picture of the icon file that fills the box, at its place, pixel for pixel.
#include "tests/support/app_driver.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

// The icon file's own picture of that size, as the image format plugin reads it.
QImage iconFilePicture(const QSize &size)
{
    QImageReader reader(QStringLiteral(QRL_SOURCE_DIR "/resources/Quorl.icns"));
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        if (image.size() == size)
            return image;
    }
    return QImage();
}

// What the window whose title shows title shows (a title's "[*]" shows only
// when modified); the splash is gone once start-up is over, so it is what
// the splash showed while it was up.
QImage shownBy(const QString &title)
{
    if (title == QStringLiteral("Quorlscope"))
        return GetSplashPicture();
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle().remove(QStringLiteral("[*]")) == title)
            return widget->grab().toImage();
    return QImage();
}

} // namespace

// Each window draws the 48-pixel picture into its icon box, which starts 30
// pixels from the top at a fixed distance left of the window's centre.
TEST(Icons, WindowsShowTheIconFilesPicture)
{
    struct Case {
        const char *title;
        int leftOfCentre;
        QSize box;
        int drawings; // the splash draws itself when shown, and start-up draws it again
    };
    const Case cases[] = {{"Quorlscope", 23, QSize(47, 48), 2}, {"About Quorlscope", 28, QSize(48, 48), 1}};
    StartApplication();
    Trigger("About");
    const QImage picture = iconFilePicture(QSize(48, 48));
    ASSERT_FALSE(picture.isNull());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        const QImage shown = shownBy(QString::fromUtf8(c.title));
        ASSERT_FALSE(shown.isNull());
        const QRect box(QPoint(shown.width() / 2 - c.leftOfCentre, 30), c.box);
        // What the window would show with that picture over the ground beside the box.
        QImage expected = shown.copy();
        QPainter painter(&expected);
        painter.fillRect(box, shown.pixel(box.left() - 1, box.top()));
        for (int i = 0; i < c.drawings; ++i)
            painter.drawImage(box, picture);
        painter.end();
        EXPECT_TRUE(shown.copy(box).convertToFormat(QImage::Format_RGB32) ==
                    expected.copy(box).convertToFormat(QImage::Format_RGB32));
    }
}
