// The player's figure and the customise screen's purchases, headless.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/TextTable.h"
#include "game/Event.h"
#include "game/EventType.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "modes/UpgradeWindow.h"
#include "support/TestArena.h"
#include "ui/Slider.h"
#include "units/Vorn.h"

namespace {

class PlayerFigureTest : public ::testing::Test {
protected:
    void SetUp() override { arena = world_test::OpenArena(game); }
    void TearDown() override {
        figure.reset();
        world_test::CloseArena(*arena);
    }
    void Run(float seconds) {
        for (float t = 0.0f; t < seconds; t += 0.05f) figure->Update(0.05f);
    }
    Game game;
    std::unique_ptr<Arena> arena;
    Player player;
    std::unique_ptr<PlayerFigure> figure = std::make_unique<PlayerFigure>(player);
};

TEST_F(PlayerFigureTest, WalksInToIdleAtTheOriginAndWalksOutToStayOffStage) {
    Vorn* vorn = figure->GetVorn();
    ASSERT_NE(vorn, nullptr);
    EXPECT_EQ(figure->GetVorn(), vorn);
    EXPECT_EQ(vorn->owner, &player);
    figure->SetPose(PlayerFigure::kWalkIn);
    EXPECT_FLOAT_EQ(figure->position.x, PlayerFigure::kOffStageX);
    Run(1.0f);
    EXPECT_LT(figure->position.x, 0.0f);
    EXPECT_GT(figure->position.x, PlayerFigure::kOffStageX);
    Run(1.2f);
    EXPECT_EQ(figure->pose, PlayerFigure::kIdle);
    EXPECT_FLOAT_EQ(figure->position.x, 0.0f);
    EXPECT_EQ(vorn->animationState, Vorn::kAnimIdle);
    figure->SetPose(PlayerFigure::kWalkOut);
    Run(5.0f);
    EXPECT_EQ(figure->pose, PlayerFigure::kWalkOut);
    EXPECT_FLOAT_EQ(figure->position.x, PlayerFigure::kOffStageX);
    EXPECT_FLOAT_EQ(vorn->position.x, PlayerFigure::kOffStageX);
    figure->SetPose(9);  // no such pose: only the timer restarts
    EXPECT_EQ(figure->pose, PlayerFigure::kWalkOut);
}

TEST_F(PlayerFigureTest, SpinningKeepsTheHeadingInOneTurnAndIgnoresANonFiniteStep) {
    figure->Update(1000.0f);
    EXPECT_GE(figure->heading, 0.0f);
    EXPECT_LT(figure->heading, 6.2832f);
    const float heading = figure->heading;
    figure->Update(std::numeric_limits<float>::infinity());
    EXPECT_EQ(figure->heading, heading);
    figure->SetViewAngle(1.5707964f);
    EXPECT_NEAR(figure->cameraOffset.x, 0.0f, 1e-4f);
    EXPECT_GT(figure->cameraOffset.y, 0.0f);
    // Both edges belong to the rectangle: one pixel wide is 1 / height, not 0.
    EXPECT_FLOAT_EQ(PlayerFigure::AspectOf(IntRect(10, 0, 10, 99)), 0.01f);
    EXPECT_FLOAT_EQ(PlayerFigure::AspectOf(IntRect(10, 0, 5, 99)), 0.01f);
}

// The buying rules run on the local player, whose record is restored afterwards.
class UpgradePurchaseTest : public ::testing::Test {
protected:
    void SetUp() override { saved = GetLocalPlayer(); }
    void TearDown() override { GetLocalPlayer() = saved; }
    void Pick(int32_t button) {
        Event event;
        event.type = kEventPickUpgrade;
        event.value = button;
        GetUpgradeWindow().HandleCommand(event);
    }
    Player saved;
};

TEST_F(UpgradePurchaseTest, OnlyTheNextAffordableLevelIsBoughtWhateverTheEventSays) {
    Player& player = GetLocalPlayer();
    const int32_t row = UpgradeWindow::ButtonRow(0);
    ASSERT_EQ(row, 112);
    ASSERT_GE(UpgradeMaxLevel(row), 3);
    player.SetUpgradeLevel(row, 2);
    player.boosts = 3;
    Pick(0);
    EXPECT_EQ(player.GetUpgradeLevel(row), 3);
    EXPECT_EQ(player.boosts, 0);
    player.boosts = 1;
    Pick(0);  // level 4 costs more than is left
    EXPECT_EQ(player.boosts, 1);
    Pick(-1);
    Pick(UpgradeWindow::kUpgradeButtonCount);
    EXPECT_EQ(player.boosts, 1);
    const int32_t laser = UpgradeWindow::ButtonRow(UpgradeWindow::kChassisButtonCount);
    EXPECT_EQ(laser, kFirstWeaponItem);
    player.SetUpgradeLevel(laser, -1);  // not available: not for sale
    Pick(UpgradeWindow::kChassisButtonCount);
    EXPECT_EQ(player.GetUpgradeLevel(laser), -1);
    EXPECT_EQ(UpgradeWindow::BoostsText(1), "1 " + GetLanguageText("Boost"));
    EXPECT_EQ(UpgradeWindow::BoostsText(0), "0 " + GetLanguageText("Boosts"));
}

TEST_F(UpgradePurchaseTest, AColourChangeShowsAtOnceAndReachesThePicturesTwoSecondsAfterTheLastChange) {
    UpgradeWindow& window = GetUpgradeWindow();
    Player& player = GetLocalPlayer();
    window.TrackColours(0.0f);
    const Color before = window.rebuiltPrimary;
    window.sliders[UpgradeWindow::kPrimaryRed]->SetValue(17.0f);
    window.TrackColours(0.1f);
    EXPECT_EQ(player.primaryColor.Red(), 17);
    EXPECT_EQ(window.rebuiltPrimary, before);
    window.TrackColours(1.5f);
    window.sliders[UpgradeWindow::kPrimaryRed]->SetValue(18.0f);  // a later change restarts the wait
    window.TrackColours(1.5f);
    EXPECT_EQ(window.rebuiltPrimary, before);
    window.TrackColours(1.0f);
    EXPECT_EQ(window.rebuiltPrimary.Red(), 18);
    EXPECT_EQ(window.rebuildDelay, 0.0f);
}

}  // namespace
