// The preferences store: an INI file in the user's configuration folder,
// read and written through QSettings.
#include "prefs.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <memory>

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

} // namespace

std::string GetPreferencesFilePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (folder + QStringLiteral("/Quorlscope/Quorlscope.conf")).toStdString();
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
