// The command line through QCommandLineParser. The name and version come
// from the bundle's information keys, like the about box's.
#include "commandline.h"

#include "bundle.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace
{

QString infoValue(const char *key, const char *fallback)
{
    return QString::fromStdString(CFBundleGetValueForInfoDictionaryKey(key).value_or(fallback));
}

QString programName(int argc, char **argv)
{
    return argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName() : QStringLiteral("quorlscope");
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};

    Parser()
    {
        // "-reverse" is one unknown option, not -r -e -v ...
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            infoValue("CFBundleGetInfoString", "Quorlscope") +
            QStringLiteral("\n\nA file given while Quorlscope is already running "
                           "opens in the running program.\n\n"
                           "Without a display, 'quorlscope table' prints a depth-of-field table and "
                           "'quorlscope export FILE.qrtb... --to OUT' exports saved documents; "
                           "either, given no arguments, shows its usage."));
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument(QStringLiteral("files"),
                                     QStringLiteral("Depth-of-field tables (.qrtb) to open."),
                                     QStringLiteral("[files...]"));
    }
};

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

std::vector<std::string> absoluteFiles(const QStringList &names)
{
    std::vector<std::string> files;
    for (const QString &name : names)
        files.push_back(QDir::cleanPath(QFileInfo(name).absoluteFilePath()).toLocal8Bit().toStdString());
    return files;
}

} // namespace

CommandLine ParseCommandLine(int argc, char **argv)
{
    Parser p;
    // Unknown options are judged later: they may be the window system's.
    p.parser.parse(argumentsOf(argc, argv));
    CommandLine result;
    if (p.parser.isSet(p.help)) {
        QString text = p.parser.helpText();
        text.replace(QLatin1String("<executable_name>"), programName(argc, argv));
        print(stdout, text);
        result.finished = true;
    } else if (p.parser.isSet(p.version)) {
        print(stdout, infoValue("CFBundleName", "Quorlscope") + QLatin1Char(' ') +
                          infoValue("CFBundleShortVersionString", "") + QLatin1Char('\n'));
        result.finished = true;
    }
    return result;
}

CommandLine CheckCommandLineOptions(int argc, char **argv)
{
    Parser p;
    CommandLine result;
    if (!p.parser.parse(argumentsOf(argc, argv))) {
        const QString name = programName(argc, argv);
        print(stderr, name + QStringLiteral(": ") + p.parser.errorText() + QStringLiteral("\nTry '") + name +
                          QStringLiteral(" --help' for more information.\n"));
        result.finished = true;
        result.exitCode = 2;
        return result;
    }
    result.files = absoluteFiles(p.parser.positionalArguments());
    return result;
}
