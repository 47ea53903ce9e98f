// The application bundle: resources built into the program under
// ":/bundle/", or a folder that tests point at.
#include "bundle.h"

#include "coreinternal.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>
#include <cerrno>
#include <optional>

namespace
{

struct BundleState {
    QString root = QStringLiteral(":/bundle");
    std::optional<QHash<QString, QString>> info;
};

BundleState &state()
{
    static BundleState bundle;
    return bundle;
}

QString pathOf(const std::string &relativePath)
{
    return state().root + QLatin1Char('/') + QString::fromStdString(relativePath);
}

// Reads the key/string pairs of a property list, at any depth; of an array
// of strings the first stands for its key (the first document type's
// extension and type code).
QHash<QString, QString> parseInfo(const QByteArray &xml)
{
    QHash<QString, QString> info;
    QXmlStreamReader reader(xml);
    QString key;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("key"))
            key = reader.readElementText();
        else if (reader.name() == QLatin1String("string") && !key.isEmpty())
            info.insert(std::exchange(key, QString()), reader.readElementText());
    }
    return info;
}

// The folder of the user's language ("de.lproj/"), or "" when the bundle
// has none: the texts of the bundle's root are English.
std::string localizationFolder()
{
    for (const QString &language : platform::preferredLanguages()) {
        const std::string folder = language.toStdString() + ".lproj";
        if (QFile::exists(pathOf(folder)))
            return folder + "/";
    }
    return std::string();
}

// The information keys.
const QHash<QString, QString> &info()
{
    BundleState &bundle = state();
    if (!bundle.info) {
        const std::optional<std::string> xml = platform::readBundleFile("Info.plist");
        bundle.info = xml ? parseInfo(QByteArray::fromStdString(*xml)) : QHash<QString, QString>();
    }
    return *bundle.info;
}

std::string valueOr(const char *key, const std::string &fallback)
{
    const auto it = info().constFind(QLatin1String(key));
    return it == info().constEnd() ? fallback : it->toStdString();
}

// A four-character code written as its four characters ("QRTb"); 0 for
// anything else.
std::uint32_t fourCharCodeOf(const std::string &text)
{
    std::uint32_t code = 0;
    for (char c : text)
        code = code << 8 | std::uint8_t(c);
    return text.size() == 4 ? code : 0;
}

} // namespace

namespace platform
{

QStringList preferredLanguages()
{
    // "de-DE" gives "de_DE" and "de", the names of the bundle's folders.
    QStringList names;
    for (const QString &language : QLocale::system().uiLanguages()) {
        QString name = language;
        name.replace(QLatin1Char('-'), QLatin1Char('_'));
        for (QString candidate : {name, name.section(QLatin1Char('_'), 0, 0)})
            if (!candidate.isEmpty() && !names.contains(candidate))
                names.append(candidate);
    }
    return names;
}

QString infoValue(const char *key)
{
    return info().value(QLatin1String(key));
}

QString helpPage()
{
    for (const std::string &folder : {localizationFolder(), std::string()}) {
        const QString page = pathOf(folder + "help/index.html");
        if (QFile::exists(page))
            return page;
    }
    return QString();
}

std::optional<std::string> readBundleFile(const std::string &relativePath)
{
    QFile file(pathOf(relativePath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll().toStdString();
}

void setBundleRoot(const std::string &folder)
{
    BundleState &bundle = state();
    bundle.root = folder.empty() ? QStringLiteral(":/bundle") : QString::fromStdString(folder);
    bundle.info.reset();
}

std::string bundleRoot()
{
    return state().root.toStdString();
}

std::string bundleName()
{
    return valueOr("CFBundleName", program_invocation_short_name);
}

std::string commandName()
{
    const std::string executable = valueOr("CFBundleExecutable", program_invocation_short_name);
    return QString::fromStdString(executable).toLower().toStdString();
}

std::string preferencesDomain()
{
    return valueOr("CFBundleIdentifier", commandName());
}

std::uint32_t documentCreator()
{
    return fourCharCodeOf(valueOr("CFBundleSignature", ""));
}

std::uint32_t documentType()
{
    return fourCharCodeOf(valueOr("CFBundleTypeOSTypes", ""));
}

std::string documentExtension()
{
    return valueOr("CFBundleTypeExtensions", "");
}

} // namespace platform
