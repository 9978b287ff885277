// Running a helper program in a child process that may misbehave: bounded in time, memory and output.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/child_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace nonari {

namespace {

using Clock = std::chrono::steady_clock;

void setLimit(int resource, rlim_t value) {
    rlimit limit{value, value};
    ::setrlimit(resource, &limit);
}

// Between fork and exec only async-signal-safe calls: the parent may have other threads.
[[noreturn]] void becomeChild(int outputFd, const char* program, char* const* argv, const ChildLimits& limits,
                              int highestFd) {
    ::dup2(outputFd, STDOUT_FILENO);
    int nothing = ::open("/dev/null", O_RDWR);
    if (nothing >= 0) {
        ::dup2(nothing, STDIN_FILENO);
        ::dup2(nothing, STDERR_FILENO);
    }
    if (::syscall(SYS_close_range, 3u, ~0u, 0u) != 0)
        for (int fd = 3; fd <= highestFd; ++fd) ::close(fd);
    for (int sig = 1; sig < NSIG; ++sig) ::signal(sig, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    setLimit(RLIMIT_CORE, 0);
    setLimit(RLIMIT_FSIZE, 0);
    rlimit cpu{static_cast<rlim_t>(limits.cpuSeconds), static_cast<rlim_t>(limits.cpuSeconds + 1)};
    ::setrlimit(RLIMIT_CPU, &cpu);
    if (limits.memoryBytes > 0) setLimit(RLIMIT_AS, static_cast<rlim_t>(limits.memoryBytes));
    ::execv(program, argv);
    ::_exit(127);
}

// Waits for the child until the deadline, then kills it; true when it exited by itself with a status.
std::optional<int> reap(pid_t child, Clock::time_point deadline, bool kill) {
    int status = 0;
    if (!kill) {
        while (Clock::now() < deadline) {
            pid_t done = ::waitpid(child, &status, WNOHANG);
            if (done == child) return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
            if (done < 0 && errno != EINTR) return std::nullopt;
            ::usleep(1000);
        }
    }
    ::kill(child, SIGKILL);
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return std::nullopt;
}

}  // namespace

ChildOutput runLimitedChild(const std::string& program, const std::vector<std::string>& arguments,
                            const ChildLimits& limits) {
    ChildOutput result;
    // Everything the child needs is made before the fork.
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    long openMax = ::sysconf(_SC_OPEN_MAX);
    const int highestFd = openMax > 0 && openMax < 65536 ? static_cast<int>(openMax) : 65536;

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limits.wallMilliseconds);
    pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return result;
    }
    if (child == 0) becomeChild(pipeFds[1], program.c_str(), argv.data(), limits, highestFd);
    ::close(pipeFds[1]);

    bool overLimit = false;
    bool ended = false;
    unsigned char buffer[65536];
    while (!ended && !overLimit) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd wait{pipeFds[0], POLLIN, 0};
        int ready = ::poll(&wait, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ended = got == 0;
            break;
        }
        if (result.output.size() + static_cast<std::size_t>(got) > limits.outputBytes) overLimit = true;
        else result.output.insert(result.output.end(), buffer, buffer + got);
    }
    ::close(pipeFds[0]);
    result.exitCode = reap(child, deadline, !ended || overLimit);
    if (!result.exitCode) result.output.clear();
    return result;
}

}  // namespace nonari
