// The waits of a test on a program it forked end once the program has been quiet for the
// quiet time: failed, naming the program, and with the program ended.
#include <gtest/gtest.h>

#include <cerrno>

#include "support/StuckPeers.h"

namespace {

constexpr int kQuiet = 1;

// A program that writes `said`, then neither writes nor ends; the read end of its pipe in `fd`.
pid_t Stuck(int& fd, const std::string& said) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = test_peers::ForkEndingWithTest();
    if (child == 0) {
        close(fds[0]);
        if (write(fds[1], said.data(), said.size()) < 0) _exit(1);
        for (;;) pause();
    }
    close(fds[1]);
    fd = fds[0];
    return child;
}

bool Reaped(pid_t program) { return waitpid(program, nullptr, WNOHANG) < 0 && errno == ECHILD; }

TEST(StuckPeersTest, AStuckProgramFailsEveryWaitOnItWithinTheQuietTimeAndIsEnded) {
    const auto start = std::chrono::steady_clock::now();
    int fd = -1;
    const pid_t quiet = Stuck(fd, "half a li");
    ASSERT_GT(quiet, 0);
    EXPECT_EQ(test_peers::ReadLine(fd, "Ann", kQuiet), "failed Ann said nothing for 1 s");
    EXPECT_EQ(test_peers::WaitForAll({quiet}, kQuiet), std::vector<int>{test_peers::kStuck});
    EXPECT_TRUE(Reaped(quiet));
    close(fd);

    const pid_t bob = Stuck(fd, "joined\nmissing a sound\n");
    ASSERT_GT(bob, 0);
    EXPECT_EQ(test_peers::WaitForLine(bob, fd, "Bob", "joined", kQuiet), "joined");
    EXPECT_EQ(test_peers::WaitForLine(bob, fd, "Bob", "battle", kQuiet), "failed Bob said nothing for 1 s");
    EXPECT_TRUE(Reaped(bob));
    close(fd);
    // Each wait kept to the quiet time it was given, not the tests' own.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(test_peers::kQuietSeconds));
}

}  // namespace
