#include "common.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <ftw.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qrltest
{

std::string ReadText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
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
    out.write(text.data(), std::streamsize(text.size()));
    return bool(out.flush());
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
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qrl-XXXXXX";
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a temporary folder: " << std::strerror(errno);
    path_ = pattern;
}

namespace
{

// Lets the owner into every folder, so that their entries can go.
int OpenUp(const char *path, const struct stat *status, int type, FTW *)
{
    if (type == FTW_D || type == FTW_DNR)
        chmod(path, (status->st_mode & 07777) | S_IRWXU);
    return 0;
}

int Remove(const char *path, const struct stat *, int type, FTW *)
{
    (type == FTW_DP ? rmdir : unlink)(path);
    return 0;
}

} // namespace

ScratchFolder::~ScratchFolder()
{
    // FTW_MOUNT: a file system mounted inside is left alone, not emptied.
    nftw(path_.c_str(), OpenUp, 16, FTW_PHYS | FTW_MOUNT);
    nftw(path_.c_str(), Remove, 16, FTW_PHYS | FTW_MOUNT | FTW_DEPTH);
}

std::string FreshFolder()
{
    static ScratchFolder all;
    static int made = 0;
    const std::string folder = all / std::to_string(++made);
    EXPECT_EQ(mkdir(folder.c_str(), 0700), 0) << folder;
    return folder;
}

namespace
{

// Reads both pipes to their ends, feeding input to the third, without a
// deadlock whichever the program fills first.
void Exchange(int out, int err, int in, const std::string &input, Ran &ran)
{
    std::size_t written = 0;
    if (input.empty()) {
        close(in);
        in = -1;
    }
    while (out >= 0 || err >= 0 || in >= 0) {
        pollfd fds[3] = {{out, POLLIN, 0}, {err, POLLIN, 0}, {in, POLLOUT, 0}};
        if (poll(fds, 3, -1) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !fds[i].revents)
                continue;
            char buffer[4096];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0)
                (i ? ran.err : ran.out).append(buffer, std::size_t(got));
            else if (got == 0 || errno != EINTR) {
                close(fds[i].fd);
                (i ? err : out) = -1;
            }
        }
        if (in >= 0 && fds[2].revents) {
            const ssize_t put = write(in, input.data() + written, input.size() - written);
            if (put > 0)
                written += std::size_t(put);
            if ((put < 0 && errno != EINTR && errno != EAGAIN) || written == input.size()) {
                close(in);
                in = -1;
            }
        }
    }
}

} // namespace

Ran RunProcess(const Strings &command, const Strings &environment, const std::string &input)
{
    Ran ran;
    int out[2], err[2], in[2];
    if (command.empty() || pipe(out) != 0 || pipe(err) != 0 || pipe(in) != 0) {
        ADD_FAILURE() << "cannot run " << (command.empty() ? "nothing" : command[0]);
        return ran;
    }
    // Made before the fork: the child only calls what is safe in it.
    Strings settings;
    for (char **variable = environ; *variable; ++variable) {
        const std::string setting = *variable;
        const std::string name = setting.substr(0, setting.find('='));
        if (std::none_of(environment.begin(), environment.end(), [&](const std::string &change) {
                return change.substr(0, change.find('=')) == name;
            }))
            settings.push_back(setting);
    }
    for (const std::string &change : environment)
        if (change.find('=') != std::string::npos)
            settings.push_back(change);
    std::vector<char *> argv, envp;
    for (const std::string &argument : command)
        argv.push_back(const_cast<char *>(argument.c_str()));
    for (const std::string &setting : settings)
        envp.push_back(const_cast<char *>(setting.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    // A program that stops reading its input must not end the test.
    std::signal(SIGPIPE, SIG_IGN);
    const pid_t child = fork();
    if (child == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            close(fd);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    for (int fd : {in[0], out[1], err[1]})
        close(fd);
    // Input in pieces the pipe takes at once, so its output is read meanwhile.
    fcntl(in[1], F_SETFL, O_NONBLOCK);
    Exchange(out[0], err[0], in[1], input, ran);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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
    const char *const space = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(space) - first + 1);
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
    Strings words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::vector<Strings> ReadCSV(const std::string &text)
{
    std::vector<Strings> rows(1);
    std::string field;
    bool quoted = false, started = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            field += text[++i];
        } else if (quoted) {
            quoted = c != '"';
            if (quoted)
                field += c;
        } else if (c == '"') {
            EXPECT_FALSE(started) << "a quote inside an unquoted field at " << i;
            quoted = started = true;
        } else if (c == ',' || c == '\r') {
            rows.back().push_back(field);
            field.clear();
            started = false;
            if (c == '\r') {
                EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "CR without LF at " << i;
                ++i;
                rows.emplace_back();
            }
        } else {
            EXPECT_NE(c, '\n') << "LF without CR at " << i;
            field += c;
            started = true;
        }
    }
    EXPECT_FALSE(quoted) << "an unterminated quoted field";
    EXPECT_TRUE(field.empty() && rows.back().empty()) << "the last record lacks its CR LF";
    rows.pop_back();
    return rows;
}

Strings SchemaErrors(const Strings &jsons, const std::string &schema)
{
    ScratchFolder folder;
    Strings command = {"/usr/bin/python3", "-c",
                       "import json, sys, jsonschema\n"
                       "schema = json.load(open(sys.argv[1], encoding='utf-8'))\n"
                       "jsonschema.Draft202012Validator.check_schema(schema)\n"
                       "validator = jsonschema.Draft202012Validator(schema)\n"
                       "for path in sys.argv[2:]:\n"
                       "    errors = validator.iter_errors(json.load(open(path, encoding='utf-8')))\n"
                       "    print(json.dumps(' '.join(e.message for e in errors)))\n",
                       QRL_SOURCE_DIR "/docs/" + schema};
    for (std::size_t i = 0; i < jsons.size(); ++i) {
        command.push_back(folder / (std::to_string(i) + ".json"));
        EXPECT_TRUE(WriteText(command.back(), jsons[i]));
    }
    // Debian's interpreter, which python3-jsonschema installs into.
    const Ran ran = RunProcess(command);
    EXPECT_EQ(ran.status, 0) << ran.err;
    Strings errors;
    for (std::istringstream lines(ran.out); errors.size() < jsons.size();) {
        std::string line;
        if (!std::getline(lines, line))
            line = "\"no answer from the validator\"";
        errors.push_back(line == "\"\"" ? "" : line);
    }
    return errors;
}

std::string PdfText(const std::string &pdf)
{
    return RunProcess({"pdftotext", "-layout", pdf, "-"}).out;
}

std::string PdfInfo(const std::string &pdf, const std::string &field)
{
    std::istringstream info(RunProcess({"pdfinfo", pdf}).out);
    for (std::string line; std::getline(info, line);)
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
