// The application bundle: resources built into the program under
// ":/bundle/", or a folder that tests point at.
#include "bundle.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <optional>

namespace
{

struct BundleState {
    QString root = QStringLiteral(":/bundle");
    std::optional<QHash<QString, QString>> strings;
    std::optional<QHash<QString, QString>> info;
    std::string helpBook;
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

// Reads "key" = "value"; lines, with \" and \n escapes and /* */ comments.
QHash<QString, QString> parseStrings(const QString &text)
{
    QHash<QString, QString> table;
    static const QRegularExpression entry(
        QStringLiteral(R"re("((?:[^"\\]|\\.)*)"\s*=\s*"((?:[^"\\]|\\.)*)"\s*;)re"));
    QString uncommented = text;
    uncommented.remove(
        QRegularExpression(QStringLiteral(R"(/\*.*?\*/)"), QRegularExpression::DotMatchesEverythingOption));
    auto unescape = [](QString value) {
        value.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        value.replace(QStringLiteral("\\\""), QStringLiteral("\""));
        value.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        return value;
    };
    for (auto it = entry.globalMatch(uncommented); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        table.insert(unescape(match.captured(1)), unescape(match.captured(2)));
    }
    return table;
}

// Reads the key/string pairs of a property list's top-level dictionary.
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

const QHash<QString, QString> &strings()
{
    BundleState &bundle = state();
    if (!bundle.strings) {
        const std::optional<std::string> text = ReadBundleFile("Localizable.strings");
        bundle.strings = text ? parseStrings(QString::fromStdString(*text)) : QHash<QString, QString>();
    }
    return *bundle.strings;
}

const QHash<QString, QString> &info()
{
    BundleState &bundle = state();
    if (!bundle.info) {
        const std::optional<std::string> xml = ReadBundleFile("Info.plist");
        bundle.info = xml ? parseInfo(QByteArray::fromStdString(*xml)) : QHash<QString, QString>();
    }
    return *bundle.info;
}

} // namespace

std::string CFBundleCopyLocalizedString(const std::string &key, const std::string &fallback)
{
    const auto it = strings().constFind(QString::fromStdString(key));
    return it == strings().constEnd() ? fallback : it->toStdString();
}

std::optional<std::string> CFBundleGetValueForInfoDictionaryKey(const std::string &key)
{
    const auto it = info().constFind(QString::fromStdString(key));
    if (it == info().constEnd())
        return std::nullopt;
    return it->toStdString();
}

std::optional<std::string> CFBundleCopyResourceURL(const std::string &name, const std::string &extension)
{
    const QString path = pathOf(name + "." + extension);
    if (!QFile::exists(path))
        return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> ReadBundleFile(const std::string &relativePath)
{
    QFile file(pathOf(relativePath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll().toStdString();
}

OSStatus AHRegisterHelpBook(const std::string &bundlePath)
{
    if (!QFile::exists(QString::fromStdString(bundlePath) + QStringLiteral("/help/index.html")))
        return fnfErr;
    state().helpBook = bundlePath + "/help/index.html";
    return noErr;
}

std::string GetRegisteredHelpBook()
{
    return state().helpBook;
}

void SetBundleRoot(const std::string &folder)
{
    BundleState &bundle = state();
    bundle.root = folder.empty() ? QStringLiteral(":/bundle") : QString::fromStdString(folder);
    bundle.strings.reset();
    bundle.info.reset();
}

std::string GetBundleRoot()
{
    return state().root.toStdString();
}
