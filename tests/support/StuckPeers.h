#pragma once
// Waits of a test on programs it forked: a program stuck in a loop fails the test after a
// generous quiet time instead of holding the run for ever. The time is far beyond what a
// busy machine takes; it only tells a stuck program from a slow one.
#include <poll.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace test_peers {

constexpr int kQuietSeconds = 600;

// Every line that tells of a failure begins so, whether the program wrote it of itself or
// a reader wrote it of a program that went quiet or ended too soon.
inline const std::string kFailed = "failed ";

inline bool IsFailure(const std::string& line) { return line.rfind(kFailed, 0) == 0; }

// fork(), but the program forked ends with the test's process: a test stopped at its time
// limit leaves none of its programs playing on.
inline pid_t ForkEndingWithTest() {
    const pid_t test = getpid();
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != test) _exit(1);
    }
    return child;
}

// Whether `fd` has bytes to read, or its other end is closed, within `seconds`.
inline bool ReadableWithin(int fd, int seconds = kQuietSeconds) {
    pollfd watched{fd, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        const int ready = poll(&watched, 1, int(left.count()));
        if (ready > 0) return true;
        if (ready == 0) return false;
    }
}

// One line of `who` from its pipe, "" once the pipe has closed. A program that says
// nothing for `seconds` is stuck: the line is then a failure that names it.
inline std::string ReadLine(int fd, const std::string& who, int seconds = kQuietSeconds) {
    std::string line;
    char c = 0;
    for (;;) {
        if (!ReadableWithin(fd, seconds))
            return kFailed + who + " said nothing for " + std::to_string(seconds) + " s";
        if (read(fd, &c, 1) != 1 || c == '\n') return line;
        line += c;
    }
}

// Ends a program and reaps it; one that has ended already is only reaped.
inline void End(pid_t program) {
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
}

// Reads lines of `who` until `wanted` and gives it back. Anything else that ends the wait
// (its own failure, its silence for `seconds`, its pipe closing) ends the program too and
// gives back a failure line that names it.
inline std::string WaitForLine(pid_t program, int fd, const std::string& who, const std::string& wanted,
                               int seconds = kQuietSeconds) {
    std::string line;
    do line = ReadLine(fd, who, seconds);
    while (line != wanted && !line.empty() && !IsFailure(line));
    if (line == wanted) return line;
    End(program);
    if (line.empty()) return kFailed + who + " ended before \"" + wanted + "\"";
    // The reader's line of a quiet program names it already; the program's own does not.
    if (line.rfind(kFailed + who + " ", 0) == 0) return line;
    return kFailed + who + ": " + line.substr(kFailed.size());
}

// Reaps one of `programs` that ends within `seconds`: its pid, with its wait status in
// `status`; -1 when none ended in time.
inline pid_t WaitForOneOf(const std::vector<pid_t>& programs, int& status, int seconds = kQuietSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    do {
        for (const pid_t program : programs) {
            if (waitpid(program, &status, WNOHANG) == program) return program;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return -1;
}

// The status WaitForAll gives a program it ended because none ended for `seconds`.
constexpr int kStuck = -2;

// Waits for the programs to end; once one fails the others cannot finish the session, so
// they are ended too. Exit statuses by program: -1 for one ended because another failed,
// kStuck for every one still running when none had ended for `seconds`.
inline std::vector<int> WaitForAll(const std::vector<pid_t>& programs, int seconds = kQuietSeconds) {
    std::vector<int> statuses(programs.size(), -1);
    const auto statusOf = [&](pid_t program) -> int& {
        return statuses[size_t(std::find(programs.begin(), programs.end(), program) - programs.begin())];
    };
    std::vector<pid_t> running = programs;
    while (!running.empty()) {
        int status = 0;
        const pid_t ended = WaitForOneOf(running, status, seconds);
        if (ended < 0) {
            for (const pid_t program : running) {
                End(program);
                statusOf(program) = kStuck;
            }
            return statuses;
        }
        running.erase(std::find(running.begin(), running.end(), ended));
        statusOf(ended) = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) continue;
        for (const pid_t program : running) kill(program, SIGKILL);
    }
    return statuses;
}

}  // namespace test_peers
