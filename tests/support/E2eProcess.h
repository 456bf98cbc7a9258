#pragma once
// Child processes for the end-to-end tests: the X server, the game and the input
// tool. A ChildProcess ends its process when it goes out of scope, so a test that
// fails half-way leaves nothing running; the child is also told to die with the
// test process. Waits poll with a deadline instead of sleeping for a fixed time.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using Millis = std::chrono::milliseconds;

// How often a wait looks again; short against a frame of the game under a
// software rasteriser.
constexpr Millis kPollInterval{25};

// Calls condition until it returns true or limit has passed; true when it held.
// The condition is always tried at least once, and once more at the deadline.
template <typename Condition>
bool waitUntil(Condition condition, Millis limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

struct ChildOptions {
    std::vector<std::string> environment;  // "NAME=value" entries set on top of ours
    int inheritedFd = -1;                  // a descriptor the child keeps open, or -1
    std::string outputFile;                // stdout and stderr go here; empty keeps ours
};

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();  // ends the process if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Runs arguments[0] (looked up in PATH) with the rest as its arguments.
    // False, with the reason in error(), when it could not be started.
    bool start(const std::vector<std::string>& arguments, const ChildOptions& options = {});

    // True once the process has ended; reaps it without blocking.
    bool hasExited();
    // Waits at most limit for the process to end; true when it has.
    bool waitForExit(Millis limit);
    // Asks the process to end, then forces it after a short grace period.
    void stop();

    bool started() const { return pid_ > 0; }
    // Only meaningful once hasExited(): the exit status, or -signal when a signal
    // ended the process.
    int exitStatus() const { return exitStatus_; }
    const std::string& error() const { return error_; }

private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    int exitStatus_ = 0;
    std::string error_;
};

// One Xvfb of the given size, on a display number that the server picks itself
// among the free ones.
class XServer {
public:
    XServer() = default;
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // False, with the reason in error(), when the server did not come up within
    // limit. logFile receives the server's own messages.
    bool start(int width, int height, const std::string& logFile, Millis limit);

    const std::string& display() const { return display_; }  // ":N" once started
    const std::string& error() const {
        return process_.error().empty() ? error_ : process_.error();
    }

private:
    ChildProcess process_;
    std::string display_;
    std::string error_;
};

// A UDP port on the loopback address that nobody uses at this moment.
int freeUdpPort();

// Runs a short command to its end; true when it ended with status 0 within limit.
bool runToCompletion(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& environment, Millis limit);
