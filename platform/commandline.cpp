// The name and version come from the bundle's information keys, like the about box's.
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

// Printed before the application object exists, so translated directly.
QString localized(const char *text)
{
    return platform::translatedEarly("CommandLine", text);
}

// False on an option nobody knows.
bool parse(QCommandLineParser &parser, int argc, char **argv)
{
    // "-reverse" is one unknown option, not -r -e -v ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("v"), QStringLiteral("version")}));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parser.parse(arguments);
}

QString programName(int argc, char **argv)
{
    return argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName()
                    : QString::fromStdString(platform::commandName());
}

using Rows = QList<QPair<QString, QString>>;

// Both headings with their rows, the texts lined up in one column.
QString optionsAndArguments(const Rows &options, const Rows &arguments)
{
    qsizetype width = 0;
    for (const auto &row : options + arguments)
        width = std::max(width, row.first.size());
    const auto lines = [width](const char *heading, const Rows &rows) {
        QString text = localized(heading);
        for (const auto &row : rows)
            text += QStringLiteral("\n  ") + row.first.leftJustified(width + 2) + row.second;
        return text;
    };
    return lines(QT_TRANSLATE_NOOP("CommandLine", "Options:"), options) + QStringLiteral("\n\n") +
           lines(QT_TRANSLATE_NOOP("CommandLine", "Arguments:"), arguments);
}

// Laid out as Qt's parser lays out its help, with every text translated.
QString helpText(const QString &program)
{
    const QString name = QString::fromStdString(platform::bundleName());
    const QString command = QString::fromStdString(platform::commandName());
    const QString extension = QString::fromStdString(platform::documentExtension());
    const QString info = platform::infoValue("CFBundleGetInfoString");
    const QStringList paragraphs = {
        localized(QT_TRANSLATE_NOOP("CommandLine", "Usage: %1 [options] [files...]")).arg(program) +
            QLatin1Char('\n') +
            platform::translatedEarly("Info", (info.isEmpty() ? name : info).toUtf8().constData()),
        localized(QT_TRANSLATE_NOOP("CommandLine",
                                    "A file given while %1 is already running opens in the running program."))
            .arg(name),
        localized(QT_TRANSLATE_NOOP("CommandLine",
                                    "Without a display, '%1 table' prints a depth-of-field table, "
                                    "'%1 stack' plans the focus distances for focus bracketing and "
                                    "'%1 export FILE.%2... --to OUT' exports saved documents; "
                                    "each, given no arguments, shows its usage."))
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
        name + QLatin1Char(' ') + platform::infoValue("CFBundleShortVersionString"),
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

// The operands made absolute and lexically clean, as bytes: a file name need not be UTF-8.
std::vector<std::string> absoluteFiles(int argc, char **argv)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            std::string path = (folder / argument).lexically_normal().string();
            while (path.size() > 1 && path.back() == '/')
                path.pop_back();
            files.push_back(path);
        }
    }
    return files;
}

} // namespace

CommandLine ParseCommandLine(int argc, char **argv)
{
    QCommandLineParser parser;
    // Unknown options are judged later: they may be the window system's.
    parse(parser, argc, argv);
    CommandLine result;
    result.finished = parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"));
    if (result.finished)
        print(stdout,
              parser.isSet(QStringLiteral("help")) ? helpText(programName(argc, argv)) : versionText());
    return result;
}

CommandLine CheckCommandLineOptions(int argc, char **argv)
{
    QCommandLineParser parser;
    if (parse(parser, argc, argv))
        return CommandLine{absoluteFiles(argc, argv), false, 0};
    const QString name = programName(argc, argv);
    print(stderr, name + QStringLiteral(": ") + parser.errorText() + QStringLiteral("\nTry '") + name +
                      QStringLiteral(" --help' for more information.\n"));
    return CommandLine{{}, true, 2};
}
