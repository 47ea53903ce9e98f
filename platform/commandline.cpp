// The command line through QCommandLineParser. The name and version come
// from the bundle's information keys, like the about box's.
#include "commandline.h"

#include "bundle.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <filesystem>

namespace
{

QString infoValue(const char *key, const std::string &fallback)
{
    return QString::fromStdString(CFBundleGetValueForInfoDictionaryKey(key).value_or(fallback));
}

QString programName(int argc, char **argv)
{
    return argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName()
                    : QString::fromStdString(GetBundleCommandName());
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
        const std::string name = GetBundleName();
        const QString command = QString::fromStdString(GetBundleCommandName());
        parser.setApplicationDescription(
            infoValue("CFBundleGetInfoString", name) +
            QStringLiteral("\n\nA file given while %1 is already running "
                           "opens in the running program.\n\n"
                           "Without a display, '%2 table' prints a depth-of-field table and "
                           "'%2 export FILE.%3... --to OUT' exports saved documents; "
                           "either, given no arguments, shows its usage.")
                .arg(QString::fromStdString(name), command,
                     QString::fromStdString(GetBundleDocumentExtension())));
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument(QStringLiteral("files"),
                                     // "Depth-of-field tables (.qrtb) to open."
                                     QStringLiteral("%1s (.%2) to open.")
                                         .arg(infoValue("CFBundleTypeName", "Document"),
                                              QString::fromStdString(GetBundleDocumentExtension())),
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
        QString text = p.parser.helpText();
        text.replace(QLatin1String("<executable_name>"), programName(argc, argv));
        print(stdout, text);
        result.finished = true;
    } else if (p.parser.isSet(p.version)) {
        print(stdout, QString::fromStdString(GetBundleName()) + QLatin1Char(' ') +
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
    const QStringList positional = p.parser.positionalArguments();
    const std::vector<std::string> operands = operandBytes(argc, argv);
    result.files = operands.size() == std::size_t(positional.size()) ? absoluteFiles(operands)
                                                                     : absoluteFiles(positional);
    return result;
}
