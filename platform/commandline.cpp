// The command line through QCommandLineParser. The name and version come
// from the bundle's information keys, like the about box's.
#include "commandline.h"

#include "bundle.h"
#include "internal.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace
{

QString infoValue(const char *key, const std::string &fallback)
{
    const QString value = platform::infoValue(key);
    return value.isEmpty() ? QString::fromStdString(fallback) : value;
}

QString programName(int argc, char **argv)
{
    return argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName()
                    : QString::fromStdString(platform::commandName());
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The command line's own texts in the user's language. They are printed
// before the application object exists, so they are translated directly.
QString localized(const char *text)
{
    return platform::translatedEarly("CommandLine", text);
}

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};

    Parser()
    {
        // "-reverse" is one unknown option, not -r -e -v ...
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(version);
    }
};

using Rows = QList<QPair<QString, QString>>;

// The options and the arguments, each under its heading, their texts lined
// up in one column.
QString optionsAndArguments(const Rows &options, const Rows &arguments)
{
    qsizetype width = 0;
    for (const auto &row : options + arguments)
        width = std::max(width, row.first.size());
    const auto lines = [width](const Rows &rows) {
        QStringList lines;
        for (const auto &row : rows)
            lines << QStringLiteral("  ") + row.first.leftJustified(width + 2) + row.second;
        return lines.join(QLatin1Char('\n'));
    };
    return localized(QT_TRANSLATE_NOOP("CommandLine", "Options:")) + QLatin1Char('\n') + lines(options) +
           QStringLiteral("\n\n") + localized(QT_TRANSLATE_NOOP("CommandLine", "Arguments:")) +
           QLatin1Char('\n') + lines(arguments);
}

// Laid out as Qt's parser lays out its help, but with every text, the
// headings too, in the user's language.
QString helpText(const QString &program)
{
    const QString name = QString::fromStdString(platform::bundleName());
    const QString command = QString::fromStdString(platform::commandName());
    const QString extension = QString::fromStdString(platform::documentExtension());
    const QStringList paragraphs = {
        localized(QT_TRANSLATE_NOOP("CommandLine", "Usage: %1 [options] [files...]")).arg(program) +
            QLatin1Char('\n') +
            platform::translatedEarly(
                "Info", infoValue("CFBundleGetInfoString", name.toStdString()).toUtf8().constData()),
        localized(QT_TRANSLATE_NOOP("CommandLine",
                                    "A file given while %1 is already running opens in the running program."))
            .arg(name),
        localized(QT_TRANSLATE_NOOP("CommandLine",
                                    "Without a display, '%1 table' prints a depth-of-field table and "
                                    "'%1 export FILE.%2... --to OUT' exports saved documents; "
                                    "either, given no arguments, shows its usage."))
            .arg(command, extension),
        optionsAndArguments(
            {{QStringLiteral("-h, --help"),
              localized(QT_TRANSLATE_NOOP("CommandLine", "Show this help and exit."))},
             {QStringLiteral("-v, --version"),
              localized(QT_TRANSLATE_NOOP("CommandLine", "Show the version and exit."))}},
            {{localized(QT_TRANSLATE_NOOP("CommandLine", "files")),
              localized(QT_TRANSLATE_NOOP("CommandLine", "Depth-of-field tables (.%1) to open."))
                  .arg(extension)}}),
    };
    return paragraphs.join(QStringLiteral("\n\n")) + QLatin1Char('\n');
}

// The version, the copyright and the licence, as free programs state them.
QString versionText()
{
    const QString name = QString::fromStdString(platform::bundleName());
    const QStringList lines = {
        name + QLatin1Char(' ') + infoValue("CFBundleShortVersionString", ""),
        localized(QT_TRANSLATE_NOOP("CommandLine", "Copyright (C) 2026 The %1 developers")).arg(name),
        localized(QT_TRANSLATE_NOOP("CommandLine", "License GPL-3.0-or-later: GNU GPL version 3 or later "
                                                   "<https://www.gnu.org/licenses/gpl-3.0.html>")),
        localized(QT_TRANSLATE_NOOP("CommandLine",
                                    "This is free software: you are free to change and redistribute it.")),
        localized(QT_TRANSLATE_NOOP("CommandLine", "There is NO WARRANTY, to the extent permitted by law.")),
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// The operands with the bytes the user gave: a file name need not be UTF-8,
// and through a QString its other bytes would be replaced.
std::vector<std::string> operandBytes(int argc, char **argv)
{
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (optionsEnded || argument.size() < 2 || argument[0] != '-')
            operands.push_back(argument);
    }
    return operands;
}

// The same file names made absolute and clean ("." and ".." resolved, no
// doubled or trailing slash), byte for byte.
std::vector<std::string> absoluteFiles(const std::vector<std::string> &names)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    std::vector<std::string> files;
    for (const std::string &name : names) {
        std::string path = (folder / name).lexically_normal().string();
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        files.push_back(path);
    }
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
        print(stdout, helpText(programName(argc, argv)));
        result.finished = true;
    } else if (p.parser.isSet(p.version)) {
        print(stdout, versionText());
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
    result.files = absoluteFiles(operandBytes(argc, argv));
    return result;
}
