// Resources built into the program under ":/bundle/", or a folder that tests point at.
#include "bundle.h"

#include "coreinternal.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>
#include <algorithm>
#include <cerrno>
#include <optional>

namespace
{

QString root = QStringLiteral(":/bundle");
std::optional<QHash<QString, QString>> infoKeys;

QString pathOf(const QString &relativePath)
{
    return root + QLatin1Char('/') + relativePath;
}

// The key/string pairs of Info.plist at any depth; of an array of strings
// the first stands for its key (the first document type's codes).
const QHash<QString, QString> &info()
{
    if (infoKeys)
        return *infoKeys;
    infoKeys.emplace();
    QFile file(pathOf(QStringLiteral("Info.plist")));
    QXmlStreamReader reader(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    QString key;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("key"))
            key = reader.readElementText();
        else if (reader.name() == QLatin1String("string") && !key.isEmpty())
            infoKeys->insert(std::exchange(key, QString()), reader.readElementText());
    }
    return *infoKeys;
}

std::string valueOr(const char *key, const std::string &fallback)
{
    return info().value(QLatin1String(key), QString::fromStdString(fallback)).toStdString();
}

// A code written as its four characters ("QRTb"); 0 for anything else.
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
    for (QString language : QLocale::system().uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        for (const QString &candidate : {language, language.section(QLatin1Char('_'), 0, 0)})
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
    // The first language the bundle has a folder for; the root is English.
    const QStringList languages = preferredLanguages();
    const auto language = std::find_if(languages.begin(), languages.end(), [](const QString &name) {
        return QFile::exists(pathOf(name + QStringLiteral(".lproj")));
    });
    const QString folder = language == languages.end() ? QString() : *language + QStringLiteral(".lproj/");
    for (const QString &page :
         {pathOf(folder + QStringLiteral("help/index.html")), pathOf(QStringLiteral("help/index.html"))})
        if (QFile::exists(page))
            return page;
    return QString();
}

void setBundleRoot(const std::string &folder)
{
    root = folder.empty() ? QStringLiteral(":/bundle") : QString::fromStdString(folder);
    infoKeys.reset();
}

std::string bundleRoot()
{
    return root.toStdString();
}

std::string bundleName()
{
    return valueOr("CFBundleName", program_invocation_short_name);
}

std::string commandName()
{
    return QString::fromStdString(valueOr("CFBundleExecutable", program_invocation_short_name))
        .toLower()
        .toStdString();
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
