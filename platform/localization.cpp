// Translations: ours from the bundle, and Qt's own for the standard dialog
// buttons, both for the locale the system gives.
#include "localization.h"

#include "bundle.h"
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

bool loadProgramTranslation(QTranslator *translator)
{
    return translator->load(QLocale::system(), QString::fromStdString(GetBundleCommandName()),
                            QStringLiteral("_"), QStringLiteral(":/bundle/translations"));
}

} // namespace

namespace platform
{

void installTranslators()
{
    const QLocale locale = QLocale::system();
    auto *ours = new QTranslator(QCoreApplication::instance());
    if (loadProgramTranslation(ours)) {
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

QString translatedEarly(const char *context, const char *text)
{
    static QTranslator *const translator = [] {
        auto *loaded = new QTranslator; // kept for the process's life, as the installed ones
        if (!loadProgramTranslation(loaded)) {
            delete loaded;
            return static_cast<QTranslator *>(nullptr);
        }
        return loaded;
    }();
    const QString translated = translator ? translator->translate(context, text) : QString();
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
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
    return CopyLocalizedTextWithParams(text, {value});
}

std::string CopyLocalizedTextWithParams(const std::string &text, const std::vector<std::string> &values)
{
    std::string localized = CopyLocalizedText(text);
    // One pass from the left, so that a value holding "^1" is not replaced again.
    std::string result;
    for (std::size_t i = 0; i < localized.size(); ++i) {
        const char next = i + 1 < localized.size() ? localized[i + 1] : '\0';
        if (localized[i] == '^' && next >= '0' && next <= '9' && std::size_t(next - '0') < values.size()) {
            result += values[std::size_t(next - '0')];
            ++i;
        } else {
            result += localized[i];
        }
    }
    return result;
}

std::string GetCurrentLocalization()
{
    return currentLocalization();
}
