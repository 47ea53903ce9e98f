#include "common.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qrltest
{

std::string ReadText(const std::string &path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

Bytes ReadBytes(const std::string &path)
{
    const std::string text = ReadText(path);
    return Bytes(text.begin(), text.end());
}

bool WriteText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return bool(out.write(text.data(), std::streamsize(text.size())).flush());
}

bool WriteBytes(const std::string &path, const Bytes &bytes)
{
    return WriteText(path, std::string(bytes.begin(), bytes.end()));
}

Strings ListFolder(const std::string &folder)
{
    Strings names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        names.push_back(entry->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

ScratchFolder::ScratchFolder()
{
    const char *tmp = std::getenv("TMPDIR");
    path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/qrl-XXXXXX";
    if (!mkdtemp(path_.data()))
        ADD_FAILURE() << "cannot make a temporary folder: " << std::strerror(errno);
}

ScratchFolder::~ScratchFolder()
{
    // The owner is let into every folder first, so that its entries can go;
    // a file system mounted inside is left alone.
    RunProcess({"find", path_, "-xdev", "-type", "d", "-exec", "chmod", "u+rwx", "{}", ";"});
    RunProcess({"rm", "-rf", "--one-file-system", path_});
}

std::string FreshFolder()
{
    static ScratchFolder all;
    std::string folder = all / "XXXXXX";
    EXPECT_NE(mkdtemp(folder.data()), nullptr) << folder;
    return folder;
}

Ran RunProcess(const Strings &command, const Strings &environment, const std::string &input)
{
    // env(1) removes and sets variables (options first) and reports a program
    // it cannot start with 127 (126 when it is not executable).
    Strings line = {"env"}, settings;
    for (const std::string &change : environment)
        if (change.find('=') != std::string::npos)
            settings.push_back(change);
        else if (!change.empty())
            line.insert(line.end(), {"-u", change});
    line.insert(line.end(), settings.begin(), settings.end());
    line.insert(line.end(), command.begin(), command.end());
    std::vector<char *> argv;
    for (std::string &argument : line)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    // The standard streams are anonymous files, read once the program has ended.
    const int streams[3] = {memfd_create("in", MFD_CLOEXEC), memfd_create("out", MFD_CLOEXEC),
                            memfd_create("err", MFD_CLOEXEC)};
    const auto stream = [&](int fd) { return "/proc/self/fd/" + std::to_string(streams[fd]); };
    WriteText(stream(0), input);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd = 0; fd < 3; ++fd)
        posix_spawn_file_actions_adddup2(&actions, streams[fd], fd);
    pid_t child = 0;
    int status = 0;
    Ran ran;
    if (posix_spawn(&child, "/usr/bin/env", &actions, nullptr, argv.data(), environ) != 0)
        ADD_FAILURE() << "cannot run " << line.back();
    while (child && waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    posix_spawn_file_actions_destroy(&actions);
    if (child)
        ran = {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadText(stream(1)),
               ReadText(stream(2))};
    for (int fd : streams)
        close(fd);
    return ran;
}

Ran RunShell(const std::string &commandLine)
{
    return RunProcess({"/bin/sh", "-c", commandLine});
}

bool IgnoresFileModes()
{
    // CAP_DAC_OVERRIDE is bit 1 and CAP_DAC_READ_SEARCH bit 2 of the
    // effective set.
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

std::string ShellQuote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void ExpectContains(const std::string &text, const Strings &parts)
{
    for (const std::string &part : parts)
        EXPECT_NE(text.find(part), std::string::npos) << part << " missing in:\n" << text;
}

std::string Trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n\f\v");
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(" \t\r\n\f\v") - first + 1);
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
            return Trimmed(line.substr(field.size() + 1));
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
