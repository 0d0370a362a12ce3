// The mode stack and the command line.
#include <gtest/gtest.h>

#include <string>

#include "app/Application.h"
#include "game/Game.h"

namespace {

// A mode that writes its Begin and End calls into a shared log.
class LoggingGame : public Game {
public:
    LoggingGame(const char* name, std::string& log) : name_(name), log_(log) {}
    void Begin() override { log_ += std::string("+") + name_; }
    void End() override { log_ += std::string("-") + name_; }

private:
    const char* name_;
    std::string& log_;
};

TEST(ApplicationTest, ModeChangesApplyAtTheEndOfTheFramePopsFirst) {
    std::string log;
    LoggingGame a("a", log), b("b", log), c("c", log);
    Application application{LaunchSettings()};
    application.PushGame(&a);
    application.PushGame(&b);
    application.PushGame(&c);
    application.ApplyGameChanges();
    EXPECT_EQ(log, "+c");
    EXPECT_EQ(CurrentGame(), &c);

    // Two pops: the current mode ends once, the one under it when popped.
    log.clear();
    application.PopGame();
    application.PopGame();
    application.ApplyGameChanges();
    EXPECT_EQ(log, "-b-c+a");
    EXPECT_EQ(CurrentGame(), &a);

    // Pushing the current mode again ends and begins it.
    log.clear();
    application.PushGame(&a);
    application.ApplyGameChanges();
    EXPECT_EQ(log, "-a+a");
    application.PopGame();
    application.PopGame();
    application.ApplyGameChanges();
    EXPECT_EQ(application.GameCount(), 0);
    SetCurrentGame(nullptr);
}

TEST(ApplicationTest, CommandLineWords) {
    EXPECT_FALSE(ParseCommandLine("window").fullScreen);
    EXPECT_TRUE(ParseCommandLine("Windowed").fullScreen);
    EXPECT_EQ(ParseCommandLine("NetworkBudget 100").networkBudget, CommandLine::kMinNetworkBudget);
    EXPECT_EQ(ParseCommandLine("networkbudget 12000 Window").networkBudget, 12000);
    EXPECT_EQ(ParseCommandLine("NetworkBudget").networkBudget, -1);
}

}  // namespace
