#include "common.h"

#include <QProcess>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qrltest
{

std::string ReadText(const std::string &path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

bool WriteText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return bool(out.write(text.data(), std::streamsize(text.size())).flush());
}

Strings ListFolder(const std::string &folder)
{
    Strings names; // a folder that cannot be listed throws, failing the test
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string FreshFolder()
{
    // One folder in TMPDIR holds all of the process's; it goes when its static copy is destroyed.
    static const struct Scratch {
        std::string path =
            (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/qrl-XXXXXX");
        Scratch() { EXPECT_NE(mkdtemp(path.data()), nullptr) << path << ": " << std::strerror(errno); }
        ~Scratch()
        {
            // Every folder opened to its owner first so that its entries can go; mounts inside are left
            // alone.
            RunProcess({"find", path, "-xdev", "-type", "d", "-exec", "chmod", "u+rwx", "{}", ";"});
            RunProcess({"rm", "-rf", "--one-file-system", path});
        }
    } scratch;
    std::string folder = scratch.path + "/XXXXXX";
    EXPECT_NE(mkdtemp(folder.data()), nullptr) << folder;
    return folder;
}

Ran RunProcess(const Strings &command, const Strings &environment, const std::string &input)
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const std::string &change : environment)
        if (const std::size_t equals = change.find('='); equals != std::string::npos)
            variables.insert(QString::fromStdString(change.substr(0, equals)),
                             QString::fromStdString(change.substr(equals + 1)));
        else
            variables.remove(QString::fromStdString(change));
    QStringList arguments;
    for (const std::string &argument : command)
        arguments.append(QString::fromStdString(argument));
    QProcess process;
    process.setProcessEnvironment(variables);
    process.start(arguments.takeFirst(), arguments);
    process.write(input.data(), qint64(input.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(-1)) {
        ADD_FAILURE() << "cannot run " << command.front() << ": " << process.errorString().toStdString();
        return {};
    }
    const bool signalled = process.exitStatus() == QProcess::CrashExit; // then the code is the signal's
    return {process.exitCode() + (signalled ? 128 : 0), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

bool IgnoresFileModes()
{
    // CAP_DAC_OVERRIDE is bit 1 and CAP_DAC_READ_SEARCH bit 2 of the effective set.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("CapEff:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) & 0x6) != 0;
    return geteuid() == 0;
}

Strings Unprivileged(const Strings &command)
{
    if (!IgnoresFileModes())
        return command;
    Strings as = {"setpriv", "--inh-caps=-all", "--bounding-set=-dac_override,-dac_read_search", "--"};
    as.insert(as.end(), command.begin(), command.end());
    return as;
}

// The namespace is made once, on the main thread, which runs the application's file operations.
std::string MountsUnavailable()
{
    static const std::string failure = [] {
        if (geteuid() != 0)
            return std::string("mounting needs root");
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make a private mount namespace: ") + std::strerror(errno);
        return std::string();
    }();
    return failure;
}

bool MountReadOnly(const std::string &folder)
{
    return MountsUnavailable().empty() &&
           mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool MakeUnwritable(const std::string &folder)
{
    return chmod(folder.c_str(), 0555) == 0 && (!IgnoresFileModes() || MountReadOnly(folder));
}

void ExpectContains(const std::string &text, const Strings &parts)
{
    for (const std::string &part : parts)
        EXPECT_NE(text.find(part), std::string::npos) << part << " missing in:\n" << text;
}

Strings Split(const std::string &text, char separator)
{
    Strings pieces(1);
    for (char c : text)
        if (c == separator)
            pieces.emplace_back();
        else
            pieces.back() += c;
    return pieces;
}

Strings Words(const std::string &text)
{
    std::istringstream in(text);
    return Strings(std::istream_iterator<std::string>(in), std::istream_iterator<std::string>());
}

std::vector<Strings> ReadCSV(const std::string &text)
{
    std::vector<Strings> rows(1, Strings(1));
    bool quoted = false, started = false; // within quotes; the field has begun
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"')
            rows.back().back() += text[++i];
        else if (quoted || c == '"') {
            EXPECT_TRUE(quoted || !started) << "a quote inside an unquoted field at " << i;
            quoted = c != '"' || !quoted;
            started = true;
            if (quoted && c != '"')
                rows.back().back() += c;
        } else if (c == ',' || c == '\r') {
            EXPECT_TRUE(c == ',' || text.compare(i, 2, "\r\n") == 0) << "CR without LF at " << i;
            i += c == '\r';
            if (c == ',')
                rows.back().emplace_back();
            else
                rows.emplace_back(1);
            started = false;
        } else {
            EXPECT_NE(c, '\n') << "LF without CR at " << i;
            rows.back().back() += c;
            started = true;
        }
    }
    EXPECT_FALSE(quoted) << "an unterminated quoted field";
    EXPECT_EQ(rows.back(), Strings(1)) << "the last record lacks its CR LF";
    rows.pop_back();
    return rows;
}

Strings SchemaErrors(const Strings &jsons, const std::string &schema)
{
    std::string texts; // each ended by a NUL, which no JSON text holds
    for (const std::string &json : jsons)
        texts += json + '\0';
    // Debian's interpreter, which python3-jsonschema installs into.
    const Ran ran = RunProcess({"/usr/bin/python3", "-c",
                                "import json, sys, jsonschema\n"
                                "schema = json.load(open(sys.argv[1], encoding='utf-8'))\n"
                                "jsonschema.Draft202012Validator.check_schema(schema)\n"
                                "validator = jsonschema.Draft202012Validator(schema)\n"
                                "for text in sys.stdin.buffer.read().split(b'\\0')[:-1]:\n"
                                "    errors = validator.iter_errors(json.loads(text))\n"
                                "    print(json.dumps(' '.join(e.message for e in errors)))\n",
                                QRL_SOURCE_DIR "/docs/" + schema},
                               {}, texts);
    EXPECT_EQ(ran.status, 0) << ran.err;
    Strings errors = Split(ran.out, '\n');
    errors.pop_back(); // what follows the last line break
    errors.resize(jsons.size(), "\"no answer from the validator\"");
    std::replace(errors.begin(), errors.end(), std::string("\"\""), std::string());
    return errors;
}

std::string PdfText(const std::string &pdf)
{
    return RunProcess({"pdftotext", "-layout", pdf, "-"}).out;
}

std::string PdfInfo(const std::string &pdf, const std::string &field)
{
    for (const std::string &line : Split(RunProcess({"pdfinfo", pdf}).out, '\n'))
        if (line.rfind(field + ":", 0) == 0)
            return line.substr(line.find_first_not_of(' ', field.size() + 1));
    return "";
}

bool UseCommaDecimalLocale()
{
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name))
            return true;
    static const std::string folder = FreshFolder();
    if (RunProcess({"localedef", "-i", "de_DE", "-f", "UTF-8", folder + "/de_DE.UTF-8"}).status != 0)
        return false;
    setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

} // namespace qrltest
