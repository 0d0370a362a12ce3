// A lesson's battle lost: once the player's last unit has fallen while a goal waits for
// enemies, or the goal's time has passed with no unit hurt, the lesson says its lost or
// time-up text (when the script has one) and starts over from its scenario, on a field
// set up again, instead of waiting for ever.
#include <gtest/gtest.h>

#include "ModesTestSupport.h"
#include "battlefield/ArenaWindow.h"
#include "game/PlayerRoster.h"
#include "support/TestArena.h"
#include "ui/TextBox.h"
#include "units/Vorn.h"
#include "world/Arena.h"
#include "world/ObjectKind.h"

namespace {

using modes_test::ModesTest;

class TutorialLostBattleTest : public ModesTest {
protected:
    void Begin(const char* lost, const char* goal = "Goal KillAll\n") {
        GetArenaWindow();
        const std::string script =
            std::string("Stage\nTextBox\nReady\nEnd\nEnd\n") + goal + lost + "Stage\nTextBox\nWon\nEnd\nEnd\n";
        WriteText("Tutorials/English/Lost.TUT", script.c_str());
        modes = &CreateGameModes(shell);
        arena_ = world_test::OpenArena(modes->tutorial);
        ASSERT_TRUE(modes->tutorial.LoadScript("English", "Lost"));
        Enter(modes->tutorial);
        mine_ = Unit(GetLocalPlayer());
        theirs_ = Unit(GetOpponentPlayer());
        ReadOn();
        Step();
        ASSERT_EQ(modes->tutorial.CurrentStep()->kind, TutorialStepKind::kGoal);
    }
    void TearDown() override {
        if (modes != nullptr) modes->tutorial.End();
        if (arena_ != nullptr) world_test::CloseArena(*arena_);
        ModesTest::TearDown();
    }
    void Steps(int count) {
        for (int i = 0; i < count; ++i) Step();
    }
    Vorn* Unit(Player& owner) {
        Vorn* unit = arena_->NewVorn(0);
        unit->BuildBody(0);  // the small robot
        unit->SetPlayer(&owner);
        unit->SetDefaults();
        unit->SetPosition(Vector3(40.0f, 40.0f, 0.0f));
        unit->health = 10.0f;
        arena_->AddObject(unit);
        return unit;
    }
    void ReadOn() {
        TextBox::Instance()->PostEvent(kEventContinueTextBox);
        modes->tutorial.DispatchEvents();
    }
    int Units() const {
        int count = 0;
        for (const WorldObject* object : arena_->Objects()) count += object->kind == kKindVorn ? 1 : 0;
        return count;
    }

    std::unique_ptr<Arena> arena_;
    Vorn* mine_ = nullptr;
    Vorn* theirs_ = nullptr;
};

TEST_F(TutorialLostBattleTest, WithoutLostTextTheLessonStartsOverOnAClearedField) {
    Begin("");
    Step();
    EXPECT_EQ(modes->tutorial.StepIndex(), 1) << "the goal waits while the player still fights";
    mine_->health = 0.0f;
    Step();
    EXPECT_EQ(modes->tutorial.StepIndex(), 0);
    EXPECT_EQ(Units(), 0);
    EXPECT_TRUE(modes->tutorial.playerPaused);
}

TEST_F(TutorialLostBattleTest, TheLostTextWaitsForTheSpaceBarBeforeTheLessonStartsOver) {
    Begin("Lost\nTextBox\nYou lost\nEnd\nEnd\n");
    mine_->health = 0.0f;
    Step();
    EXPECT_EQ(modes->tutorial.CurrentStep(), modes->tutorial.script.lostStage.get());
    EXPECT_EQ(Units(), 2) << "the field stays as it was lost while the text shows";
    ReadOn();
    Step();
    EXPECT_EQ(modes->tutorial.StepIndex(), 0);
    EXPECT_EQ(Units(), 0);
}

// Units that never meet end the battle after the goal's time, counted while the battle
// runs and from the last hit.
TEST_F(TutorialLostBattleTest, AQuietBattleIsLostAfterTheGoalsTimeCountedFromTheLastHit) {
    Begin("Lost\nTextBox\nYou fell\nEnd\nEnd\nTimeUp\nTextBox\nNever met\nEnd\nEnd\n", "Goal KillAll 3\n");
    TutorialGame& tutorial = modes->tutorial;
    tutorial.frameTime = 1.0f;
    Steps(5);
    EXPECT_EQ(tutorial.CurrentStep()->kind, TutorialStepKind::kGoal) << "the time runs while the battle is paused";
    tutorial.SetPaused(false);
    Steps(2);
    theirs_->health -= 1.0f;
    Steps(5);
    EXPECT_EQ(tutorial.CurrentStep()->kind, TutorialStepKind::kGoal) << "the hit did not restart the time";
    Step();
    EXPECT_EQ(tutorial.CurrentStep(), tutorial.script.timeUpStage.get());
    EXPECT_TRUE(tutorial.playerPaused);
    ReadOn();
    Step();
    EXPECT_EQ(tutorial.StepIndex(), 0);
    EXPECT_EQ(Units(), 0);
}

}  // namespace
