// Translations: ours from the bundle, and Qt's own for the standard dialog
// buttons, both for the locale the system gives.
#include "localization.h"

#include "internal.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace
{

// The translation context of the program's own texts.
const char *const kProgramContext = "Program";

std::string &currentLocalization()
{
    static std::string language = "en";
    return language;
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

void installTranslators()
{
    const QLocale locale = QLocale::system();
    auto *ours = new QTranslator(QCoreApplication::instance());
    if (ours->load(locale, QStringLiteral("quorlscope"), QStringLiteral("_"),
                   QStringLiteral(":/bundle/translations"))) {
        QCoreApplication::installTranslator(ours);
        currentLocalization() = ours->language().section(QLatin1Char('_'), 0, 0).toStdString();
    } else {
        delete ours;
        return; // the program is in English: Qt's own texts stay English too
    }
    auto *qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}

} // namespace platform

std::string CopyLocalizedText(const std::string &text)
{
    if (text.empty())
        return text;
    return QCoreApplication::translate(kProgramContext, text.c_str()).toStdString();
}

std::string CopyLocalizedTextWithParam(const std::string &text, const std::string &value)
{
    std::string localized = CopyLocalizedText(text);
    const std::size_t at = localized.find("^0");
    if (at != std::string::npos)
        localized.replace(at, 2, value);
    return localized;
}

std::string GetCurrentLocalization()
{
    return currentLocalization();
}
