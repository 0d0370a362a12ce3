// The launch slots hold the local player's own squads, marked as friends.
#include <gtest/gtest.h>

#include "battlefield/LaunchSquadTray.h"
#include "support/TestAssets.h"
#include "units/ChassisTable.h"

namespace {

TEST(LaunchSquadTrayTest, SlotMembersAreMarkedAsTheLocalPlayersOwn) {
    units_test::LoadChassisTableWithTextures();
    EXPECT_EQ(LaunchSquadTray::MarkerImage(0), String("SmallFriend.tga"));
    EXPECT_EQ(LaunchSquadTray::MarkerImage(4), String("MediumFriend.tga"));
    EXPECT_EQ(LaunchSquadTray::MarkerImage(2), String("LargeFriend.tga"));
    FreeChassisDefinitions();
}

}  // namespace
