// Translations for the system's locale: ours, and Qt's own for the buttons.
#include "bundle.h"
#include "internal.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace
{

// The program's translation for the system's locale, or null (English).
QTranslator *loadProgramTranslation(QObject *parent)
{
    auto *translator = new QTranslator(parent);
    if (translator->load(QLocale::system(), QString::fromStdString(platform::commandName()),
                         QStringLiteral("_"), QStringLiteral(":/bundle/translations")))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

void platform::installTranslators()
{
    QTranslator *ours = loadProgramTranslation(QCoreApplication::instance());
    if (!ours)
        return; // the program is in English: Qt's own texts stay English too
    QCoreApplication::installTranslator(ours);
    auto *qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}

QString platform::translatedEarly(const char *context, const char *text)
{
    static QTranslator *const translator = loadProgramTranslation(nullptr); // kept for the process's life
    const QString translated = translator ? translator->translate(context, text) : QString();
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}
