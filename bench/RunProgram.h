#pragma once

// Runs a built program from a benchmark and waits for it: no input, its output to a file
// (or thrown away), its errors kept or thrown away, and the environment given added to ours.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

struct ChildSetup {
    std::filesystem::path output = "/dev/null";
    bool keepErrors = true;
    std::vector<std::pair<std::string, std::string>> environment;
};

// The exit status, or -1.
inline int RunProgram(const std::vector<std::string>& command, const ChildSetup& setup) {
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(setup.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0)
            ::_exit(127);
        ::dup2(in, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        if (!setup.keepErrors)
            ::dup2(out, STDERR_FILENO);
        for (const auto& [name, value] : setup.environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& a : command)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace bench
