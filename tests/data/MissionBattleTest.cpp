// Missions of the data set fought headless with the data set's own units: a squad the
// player can field wins the first mission, so its units' patterns find their enemies
// and their weapons hit.
#include <string>

#include <gtest/gtest.h>

#include "DataFolder.h"
#include "game/PlayerRoster.h"
#include "platform/sys/Random.h"
#include "support/VornTestWorld.h"
#include "world/LaunchPoint.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr float kFrame = 1.0f / 30.0f;

String Folder(const char* name) { return String(((data_test::DataRoot() / name).string() + "/").c_str()); }

class DataMissionBattle : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        SetDataFolders(Folder("Vorns"), Folder("Squads"), Folder("Scenarios"));
        // Scenario units name their owner: "#AI" is the computer player; any other name
        // nobody has is the local player.
        blue.name = "#AI";
        GetPlayerRoster().networkPlayers.Append(&blue);
        game.firstPlayer = &GetLocalPlayer();
        game.secondPlayer = &blue;
    }
    void TearDown() override {
        GetPlayerRoster().networkPlayers.Clear();
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
    }

    int CountUnitsOf(const Player* player) const {
        int count = 0;
        for (const WorldObject* object : arena->Objects()) {
            count += object->kind == kKindVorn && static_cast<const Vorn*>(object)->owner == player ? 1 : 0;
        }
        return count;
    }

    // Steps until one side is gone or the time is up; the seconds fought.
    float Fight(float limit) {
        float time = 0.0f;
        while (time < limit && CountUnitsOf(&blue) > 0 && CountUnitsOf(&GetLocalPlayer()) > 0) {
            Step(kFrame);
            time += kFrame;
        }
        return time;
    }
};

TEST_F(DataMissionBattle, TheVanguardSquadClearsTheFirstMissionsMeadow) {
    sys::SRand(20261207);
    ASSERT_TRUE(arena->LoadScenario("Meadow"));
    ASSERT_EQ(CountUnitsOf(&blue), 3);
    ASSERT_GE(arena->launchPoints.Count(), 1);
    const Vector2 launch = arena->launchPoints[0]->position;
    ASSERT_EQ(arena->LoadSquadFile("Vanguard", Vector3(launch.x, launch.y, 0), &GetLocalPlayer()), 4);

    const float seconds = Fight(180.0f);
    EXPECT_EQ(CountUnitsOf(&blue), 0) << "after " << seconds << " s";
    EXPECT_GT(CountUnitsOf(&GetLocalPlayer()), 0);
}

}  // namespace
