#include "support/E2eProcess.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr Millis kStopGrace{2000};

// Runs in the forked child only; anything that fails here ends the child with
// status 127, which the test then sees as a program that did not run.
[[noreturn]] void becomeChild(const std::vector<std::string>& arguments,
                              const ChildOptions& options, pid_t parent) {
    // A test process that dies without running destructors takes its children
    // along instead of leaving an X server behind.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        _exit(127);
    }
    if (options.inheritedFd >= 0 && fcntl(options.inheritedFd, F_SETFD, 0) != 0) {
        _exit(127);
    }
    if (!options.outputFile.empty()) {
        const int out = open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(out, STDERR_FILENO) < 0) {
            _exit(127);
        }
        close(out);
    }
    for (const std::string& entry : options.environment) {
        const std::size_t equals = entry.find('=');
        if (equals == std::string::npos) {
            _exit(127);
        }
        setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

}  // namespace

ChildProcess::~ChildProcess() {
    stop();
}

bool ChildProcess::start(const std::vector<std::string>& arguments, const ChildOptions& options) {
    if (arguments.empty()) {
        error_ = "no program given";
        return false;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        error_ = std::string("fork failed: ") + std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        becomeChild(arguments, options, parent);
    }
    pid_ = pid;
    reaped_ = false;
    return true;
}

bool ChildProcess::hasExited() {
    if (pid_ <= 0 || reaped_) {
        return reaped_;
    }
    int status = 0;
    const pid_t result = waitpid(pid_, &status, WNOHANG);
    if (result != pid_) {
        return false;
    }
    reaped_ = true;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return true;
}

bool ChildProcess::waitForExit(Millis limit) {
    return waitUntil([this] { return hasExited(); }, limit);
}

void ChildProcess::stop() {
    if (pid_ <= 0 || hasExited()) {
        return;
    }
    kill(pid_, SIGTERM);
    if (waitForExit(kStopGrace)) {
        return;
    }
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    reaped_ = true;
    exitStatus_ = -SIGKILL;
}

bool XServer::start(int width, int height, const std::string& logFile, Millis limit) {
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) {
        error_ = std::string("pipe failed: ") + std::strerror(errno);
        return false;
    }
    ChildOptions options;
    options.inheritedFd = channel[1];
    options.outputFile = logFile;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const bool started = process_.start({"Xvfb", "-displayfd", std::to_string(channel[1]),
                                         "-screen", "0", screen, "-nolisten", "tcp"},
                                        options);
    close(channel[1]);
    if (!started) {
        close(channel[0]);
        return false;
    }
    // The server writes its display number, newline-terminated, once it accepts
    // connections.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (number.empty() || number.back() != '\n') {
        const auto left =
            std::chrono::duration_cast<Millis>(deadline - std::chrono::steady_clock::now());
        pollfd readable{channel[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buffer[16];
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        number.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    if (number.empty() || number.back() != '\n') {
        error_ = "Xvfb gave no display number (see " + logFile + ")";
        process_.stop();
        return false;
    }
    number.pop_back();
    display_ = ":" + number;
    return true;
}

int freeUdpPort() {
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

bool runToCompletion(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& environment, Millis limit) {
    ChildProcess process;
    ChildOptions options;
    options.environment = environment;
    if (!process.start(arguments, options)) {
        return false;
    }
    return process.waitForExit(limit) && process.exitStatus() == 0;
}
