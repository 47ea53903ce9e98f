// Translations: ours from the bundle, and Qt's own for the standard dialog
// buttons, both for the locale the system gives.
#include "bundle.h"
#include "internal.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace
{

bool loadProgramTranslation(QTranslator *translator)
{
    return translator->load(QLocale::system(), QString::fromStdString(platform::commandName()),
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
