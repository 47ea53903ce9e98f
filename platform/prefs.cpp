// The preferences store: an INI file in the user's configuration folder,
// read and written through QSettings.
#include "prefs.h"

#include "bundle.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::unique_ptr<QSettings> &store()
{
    static std::unique_ptr<QSettings> settings;
    if (!settings)
        settings = std::make_unique<QSettings>(QString::fromStdString(GetPreferencesFilePath()),
                                               QSettings::IniFormat);
    return settings;
}

QString keyOf(const std::string &key)
{
    return QString::fromStdString(key);
}

std::string parentOf(const std::string &path)
{
    const std::size_t slash = path.find_last_not_of('/') == std::string::npos
                                  ? std::string::npos
                                  : path.rfind('/', path.find_last_not_of('/'));
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Why the file cannot be written: the store says only that it could not,
// so ask the file system about the file, or the nearest folder that exists.
std::string writeRefusal(const std::string &file)
{
    struct stat st;
    if (stat(file.c_str(), &st) == 0 && access(file.c_str(), W_OK) != 0)
        return std::strerror(errno);
    std::string folder = parentOf(file);
    while (stat(folder.c_str(), &st) != 0 && folder != "/" && folder != ".")
        folder = parentOf(folder);
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        return std::strerror(errno);
    return std::string();
}

} // namespace

std::string GetPreferencesFilePath()
{
    // The last part of the reverse-DNS domain names the program; its file
    // is <configuration folder>/<name>/<name>.conf.
    const QString domain = QString::fromStdString(GetBundlePreferencesDomain());
    const QString name = domain.section(QLatin1Char('.'), -1);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".conf"))
        .toStdString();
}

std::optional<CFPropertyList> CFPreferencesCopyAppValue(const std::string &key)
{
    const QVariant value = store()->value(keyOf(key));
    if (!value.isValid())
        return std::nullopt;
    return CFPropertyList{value.toString().toStdString()};
}

Boolean CFNumberGetValue(const CFPropertyList &value, std::int32_t *outValue)
{
    bool ok = false;
    const int number = QString::fromStdString(value.text).trimmed().toInt(&ok, 10);
    if (!ok)
        return false;
    *outValue = number;
    return true;
}

CFPropertyList CFNumberCreate(std::int32_t value)
{
    return CFPropertyList{std::to_string(value)};
}

void CFPreferencesSetAppValue(const std::string &key, const std::optional<CFPropertyList> &value)
{
    if (value)
        store()->setValue(keyOf(key), QString::fromStdString(value->text));
    else
        store()->remove(keyOf(key));
}

Boolean CFPreferencesAppSynchronize()
{
    store()->sync();
    return store()->status() == QSettings::NoError;
}

std::string CFPreferencesCopyWriteFailureReason()
{
    const std::string reason = writeRefusal(GetPreferencesFilePath());
    return reason.empty() ? std::string("the file could not be written") : reason;
}
