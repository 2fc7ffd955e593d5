#pragma once

// Runs the real zeph executable in a directory of its own, as a script would.

#include "../core/testfiles.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zephtest {

struct Run {
    int status = -1;
    std::string out;
    std::string err;
    long peakMemoryKiB = 0; // the largest resident set the run reached
};

struct RunOptions {
    bool closedInput = false; // standard input closed, as `zeph ... <&-` runs it
    // Standard input from this file instead of `input` (a large sparse one, say).
    std::filesystem::path inputFile = {};
};

// Runs zeph with the arguments in `directory` (also its HOME, so that the
// profile is the test's own), with `input` on standard input.
inline Run runZeph(const std::filesystem::path &directory, const std::vector<std::string> &args,
                   const std::string &input = {}, RunOptions options = {})
{
    const std::filesystem::path io = directory / ".io";
    std::filesystem::create_directories(io);
    testfiles::writeFile(io / "in", input);

    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        const auto redirect = [&](const char *name, int flags, int target) {
            const int fd = ::open((io / name).c_str(), flags, 0600);
            if (fd < 0 || dup2(fd, target) < 0) {
                _exit(127);
            }
            ::close(fd);
        };
        if (options.closedInput) {
            ::close(STDIN_FILENO);
        } else if (!options.inputFile.empty()) {
            const int fd = ::open(options.inputFile.c_str(), O_RDONLY);
            if (fd < 0 || dup2(fd, STDIN_FILENO) < 0) {
                _exit(127);
            }
            ::close(fd);
        } else {
            redirect("in", O_RDONLY, STDIN_FILENO);
        }
        redirect("out", O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO);
        redirect("err", O_WRONLY | O_CREAT | O_TRUNC, STDERR_FILENO);
        if (chdir(directory.c_str()) != 0) {
            _exit(127);
        }
        setenv("HOME", directory.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (directory / ".config").c_str(), 1);
        setenv("XDG_DATA_HOME", (directory / ".local/share").c_str(), 1);
        setenv("TZ", "UTC", 1);
        unsetenv("QT_QPA_PLATFORM"); // zeph must choose its platform itself
        unsetenv("DISPLAY");
        std::vector<char *> argv;
        std::string program = ZEPH_EXECUTABLE;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string &arg : copies) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    Run run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMemoryKiB = usage.ru_maxrss;
    run.out = testfiles::readFile(io / "out");
    run.err = testfiles::readFile(io / "err");
    return run;
}

} // namespace zephtest
