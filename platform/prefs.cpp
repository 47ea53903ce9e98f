#include "prefs.h"

#include "bundle.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace
{

QString preferencesFilePath()
{
    const QString name = QString::fromStdString(platform::preferencesDomain()).section(QLatin1Char('.'), -1);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".conf");
}

// The folder of file, or the nearest folder above it that exists.
QString nearestFolder(const QString &file)
{
    QFileInfo folder(QFileInfo(file).absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder = QFileInfo(folder.absolutePath());
    return folder.absoluteFilePath();
}

} // namespace

namespace platform
{

QSettings &preferences()
{
    static QSettings settings(preferencesFilePath(), QSettings::IniFormat);
    return settings;
}

QString preferencesWriteFailure()
{
    const QString file = preferences().fileName();
    const std::pair<QString, int> checks[] = {{file, W_OK}, {nearestFolder(file), W_OK | X_OK}};
    for (const auto &[path, mode] : checks)
        if (QFileInfo::exists(path) && access(QFile::encodeName(path).constData(), mode) != 0)
            return QString::fromLocal8Bit(std::strerror(errno));
    return QStringLiteral("the file could not be written");
}

} // namespace platform

std::int32_t QRLReadDistanceUnit()
{
    // Any other stored value, or one that is not exactly an integer, would
    // be computed and shown as metres but recorded as itself in the file.
    bool isNumber = false;
    const int unit =
        platform::preferences().value(QLatin1String(kDistanceUnitKey)).toString().trimmed().toInt(&isNumber);
    return isNumber && unit == 2 ? 2 : 1;
}
