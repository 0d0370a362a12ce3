#pragma once
// The game modes and their windows made as start-up makes them, over the toolkit's test
// fixture, in a folder of their own; frames run through the current game as the main
// loop runs them, and the mode stack's requests are recorded.
#include <filesystem>
#include <memory>
#include <vector>

#include "modes/GameModes.h"
#include "modes/ModeShell.h"
#include "support/TempFolder.h"
#include "support/WorkingFolder.h"
#include "ui/UiTestSupport.h"

namespace modes_test {

class RecordingModeShell final : public ModeShell {
public:
    void PushGame(Game* game) override { pushed.push_back(game); }
    void PopGame() override { ++pops; }
    bool IntroSeen() const override { return introSeen; }
    void MarkIntroSeen() override { introSeen = true; }
    void StepProfiler() override { ++profilerSteps; }

    std::vector<Game*> pushed;
    int pops = 0;
    int profilerSteps = 0;
    bool introSeen = true;
};

class ModesTest : public ui_test::UiTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // A file of the data set copied into the working folder.
    void CopyData(const char* relative);
    void WriteText(const char* relative, const char* text);
    // The mode becomes the current game and begins.
    void Enter(Game& mode);
    // One frame through the current game: input, then its update.
    void Step();
    void Tap(int key);
    void ClickAt(const Point& point);

    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    RecordingModeShell shell;
    GameModes* modes = nullptr;
};

}  // namespace modes_test
