// The current game's clock, pause rules, weapon flags and hooks, and the player record.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "battlefield/BattlefieldViews.h"
#include "battlefield/ControlTray.h"
#include "game/Game.h"
#include "game/GameListener.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "platform/sys/Clock.h"

namespace {

TEST(GameTest, ClockTakesThePreviousFrameAndFrameTimeStaysInBounds) {
    Game game;
    game.AdvanceClock(2.0f);
    EXPECT_FLOAT_EQ(game.frameTime, 0.5f);
    EXPECT_FLOAT_EQ(game.clock, 0.01f);  // the initial shortest frame
    game.AdvanceClock(0.002f);
    EXPECT_FLOAT_EQ(game.frameTime, 0.01f);
    EXPECT_FLOAT_EQ(game.clock, 0.51f);
    game.AdvanceClock(0.2f);
    EXPECT_FLOAT_EQ(game.frameTime, 0.2f);
    game.AdvanceClock(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(game.frameTime, 0.01f);
    EXPECT_TRUE(std::isfinite(game.clock));
}

// The wait rests instead of spinning, but no frame may end before the shortest frame.
TEST(GameTest, MeasuredFramesLastAtLeastTheShortestFrame) {
    Game game;
    // Each call waits until the shortest frame has passed since the frame timer's reading
    // in the call before. The first call takes a reading after `start`; the frames that
    // follow it lie wholly between `start` and `end`, so however long the test itself is
    // kept waiting the span holds at least that many shortest frames.
    constexpr int kFrames = 5;
    const uint64_t start = sys::CounterTicks();
    for (int i = 0; i <= kFrames; ++i) game.AdvanceClock();
    const uint64_t end = sys::CounterTicks();
    const double seconds = double(end - start) / double(sys::CounterFrequency());
    // Within a tenth of a millisecond: this reading of the clock is not the frame timer's.
    EXPECT_GE(seconds, kFrames * double(Game::kMinFrameTime) - 1e-4);
}

TEST(GameTest, SimulationPausesForThePlayerOrTheDebuggerUnlessOneStepIsAsked) {
    Game game;
    EXPECT_TRUE(game.IsSimulationPaused());  // a new game waits for the player
    game.SetPaused(false);
    EXPECT_FALSE(game.IsSimulationPaused());
    game.debugPaused = 1;
    EXPECT_TRUE(game.IsSimulationPaused());
    game.stepOneFrame = 1;
    EXPECT_FALSE(game.IsSimulationPaused());
    game.debugPaused = 0;
    game.stepOneFrame = 0;
    game.SetPaused(true);
    EXPECT_TRUE(game.IsSimulationPaused());
}

TEST(GameTest, WeaponKindsOutsideTheTableAreNeverAllowed) {
    Game game;
    EXPECT_TRUE(game.IsWeaponAllowed(0));
    EXPECT_TRUE(game.IsWeaponAllowed(11));
    EXPECT_FALSE(game.IsWeaponAllowed(-1));
    EXPECT_FALSE(game.IsWeaponAllowed(12));
    game.SetAllWeaponsAllowed(false);
    EXPECT_FALSE(game.IsWeaponAllowed(2));
}

TEST(GameTest, BaseGameIsLocalAndItsHooksChangeNothing) {
    Game game;
    SetCurrentGame(&game);
    EXPECT_EQ(CurrentGame(), &game);
    EXPECT_FALSE(game.IsNetworkClient());
    EXPECT_FALSE(game.IsNetworkServer());
    EXPECT_FALSE(game.SendsEditedVornsToKillTray());
    Player player;
    const Array<Debris*> none;
    game.OnDebrisSpawned(nullptr, 0, none);
    game.OnHealthChanged(nullptr, &player, Vector3(1, 2, 3), 5.0f, 1);
    game.OnObjectDestroyed(nullptr);
    game.OnScorchMark(nullptr);
    game.OnVornAction(nullptr, Vector3(), nullptr, 1.0f);
    game.OnBlastAdded(nullptr);
    game.OnMeteorAdded(nullptr, 3, 0.8f, 0);
    game.OnBallSpawned(nullptr);
    game.OnBallPickedUp(nullptr, nullptr, 1.0f);
    game.OnBallPutInPlay(nullptr, nullptr, 1.0f);
    game.OnBallUpdate(nullptr);
    game.OnGoalScored(&player, &player, nullptr);
    game.OnSignalChanged(&player, 0, 1);
    game.RequestSignal(&player, 1, 1);
    game.DispatchEvents();
    EXPECT_EQ(player.signal1, 0);
    EXPECT_EQ(player.signal2, 0);
    EXPECT_EQ(player.goalCount, 0);
    EXPECT_FLOAT_EQ(game.clock, 0.0f);
    EXPECT_EQ(game.selectedVorn, nullptr);
    SetCurrentGame(nullptr);
}

TEST(GameTest, DestroyedCurrentGameLeavesNoDanglingPointer) {
    {
        Game game;
        SetCurrentGame(&game);
    }
    EXPECT_EQ(CurrentGame(), nullptr);
}

TEST(PlayerTest, LossCountsDownTheUnitsAlive) {
    Player player;
    player.vornsAlive = 2;
    player.AddLoss();
    player.AddKill();
    EXPECT_EQ(player.losses, 1);
    EXPECT_EQ(player.vornsAlive, 1);
    EXPECT_EQ(player.kills, 1);
}

TEST(PlayerTest, OnlyTheLocalPlayersSignalsRefreshTheControlTray) {
    BattlefieldViews views;
    SetGameListener(&views);
    const int before = GetControlTray().refreshCount;
    Player other;
    other.SetSignal1(true);
    EXPECT_EQ(other.signal1, 1);
    EXPECT_EQ(GetControlTray().refreshCount, before);
    GetLocalPlayer().SetSignal2(true);
    EXPECT_EQ(GetControlTray().refreshCount, before + 1);
    GetLocalPlayer().SetSignal2(false);
    SetGameListener(nullptr);
}

TEST(PlayerTest, ChassisChoicesAndUpgradeLevelsAreBoundsChecked) {
    Player player;
    player.chassisChoices[2] = 7;
    EXPECT_EQ(player.GetChassisChoice(2), 7);
    EXPECT_EQ(player.GetChassisChoice(3), -1);
    EXPECT_EQ(player.GetChassisChoice(-1), -1);
    EXPECT_FALSE(player.HasUpgradeLevel(30, 0));  // not available yet
    player.upgradeLevels[30] = 0;
    EXPECT_TRUE(player.HasUpgradeLevel(30, 0));
    EXPECT_FALSE(player.HasUpgradeLevel(30, 1));
    EXPECT_FALSE(player.HasUpgradeLevel(Player::kUpgradeItemCount, -5));
}

TEST(PlayerRosterTest, FindsNetworkPlayersByNameWithoutRegardToCase) {
    Player alice;
    alice.name = "Alice";
    PlayerRoster roster;
    roster.networkPlayers.Append(nullptr);
    roster.networkPlayers.Append(&alice);
    EXPECT_EQ(roster.FindPlayerByName("aLICE"), &alice);
    EXPECT_EQ(roster.FindPlayerByName("Bob"), nullptr);
}

}  // namespace
