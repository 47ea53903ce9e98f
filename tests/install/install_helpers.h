// What the install and package tests share: running commands, and an
// install of the build into a fresh prefix.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace installtest
{

struct Ran {
    int exitCode = -1;
    std::string output; // stdout and stderr together
};

inline Ran run(const std::string &command)
{
    Ran ran;
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return ran;
    }
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        ran.output.append(buffer, got);
    const int status = pclose(pipe);
    ran.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

inline std::string quote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string tempFolder()
{
    std::string pattern =
        (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/qrl-install-XXXXXX");
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a temporary folder";
    return pattern;
}

inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Installs the build into a fresh prefix, as `make install PREFIX=...` does.
inline std::string installedPrefix()
{
    const std::string prefix = tempFolder() + "/prefix";
    const Ran ran = run("cmake --install " + quote(QRL_BUILD_DIR) + " --prefix " + quote(prefix));
    EXPECT_EQ(ran.exitCode, 0) << ran.output;
    return prefix;
}

} // namespace installtest
