#include "prefs.h"

#include "bundle.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform
{

QSettings &preferences()
{
    static const QString name = QString::fromStdString(preferencesDomain()).section(QLatin1Char('.'), -1);
    static QSettings settings(
        QStringLiteral("%1/%2/%2.conf")
            .arg(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), name),
        QSettings::IniFormat);
    return settings;
}

QString preferencesWriteFailure()
{
    const QString file = preferences().fileName();
    // The file's folder, or the nearest one above it that exists.
    QFileInfo folder(QFileInfo(file).absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder = QFileInfo(folder.absolutePath());
    const std::pair<QString, int> checks[] = {{file, W_OK}, {folder.absoluteFilePath(), W_OK | X_OK}};
    for (const auto &[path, mode] : checks)
        if (QFileInfo::exists(path) && access(QFile::encodeName(path).constData(), mode) != 0)
            return QString::fromLocal8Bit(std::strerror(errno));
    return QStringLiteral("the file could not be written");
}

} // namespace platform

std::int32_t QRLReadDistanceUnit()
{
    // Anything but exactly 2 is computed and shown as metres.
    bool isNumber = false;
    const int unit =
        platform::preferences().value(QLatin1String(kDistanceUnitKey)).toString().trimmed().toInt(&isNumber);
    return isNumber && unit == 2 ? 2 : 1;
}
