#pragma once
// Waits of a test on programs it forked: a program stuck in a loop fails the test after a
// generous quiet time instead of holding the run for ever. The time is far beyond what a
// busy machine takes; it only tells a stuck program from a slow one.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

namespace test_peers {

constexpr int kQuietSeconds = 600;

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

}  // namespace test_peers
