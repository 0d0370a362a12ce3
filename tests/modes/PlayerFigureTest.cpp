// The player's figure over the shipped bodies: standing idle, its keyed animation moves
// the body's parts from frame to frame.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "game/Player.h"
#include "modes/PlayerFigure.h"
#include "support/RuntimeCopy.h"
#include "support/TestArena.h"
#include "support/WorkingFolder.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"

namespace {

class PlayerFigureAnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(runtime_test::BuiltRuntimeFolder() / "Actors" / "RobotSmall.act")) {
            GTEST_SKIP() << "no data set beside the tests";
        }
        // In a copy: loading the bodies writes their model caches beside their sources.
        runtime_ = std::make_unique<runtime_test::RuntimeCopy>();
        working_ = std::make_unique<app_test::WorkingFolder>(runtime_->Path());
        GetRenderer().Shutdown();
        LoadChassisDefinitions();
        arena_ = world_test::OpenArena(game_);
    }
    void TearDown() override {
        if (!working_) return;
        ReleasePlayerFigures();
        world_test::CloseArena(*arena_);
        FreeChassisDefinitions();
        GetRenderer().Shutdown();
    }

    // Every node's local matrix, depth first.
    static std::vector<Matrix4> Pose(const ModelNode* node) {
        std::vector<Matrix4> pose;
        const auto walk = [&pose](const ModelNode* at, const auto& self) -> void {
            for (; at != nullptr; at = at->nextSibling) {
                pose.push_back(at->local);
                self(at->firstChild, self);
            }
        };
        pose.push_back(node->local);
        walk(node->firstChild, walk);
        return pose;
    }

    static bool SamePose(const std::vector<Matrix4>& a, const std::vector<Matrix4>& b) {
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
            for (int k = 0; k < 16; ++k) {
                if (std::abs(a[i].m[k] - b[i].m[k]) > 1e-4f) return false;
            }
        }
        return a.size() == b.size();
    }

    Game game_;
    Player player_;
    std::unique_ptr<Arena> arena_;
    std::unique_ptr<runtime_test::RuntimeCopy> runtime_;
    std::unique_ptr<app_test::WorkingFolder> working_;
};

TEST_F(PlayerFigureAnimationTest, StandingIdleTheBodysPartsMoveFromFrameToFrame) {
    PlayerFigure& figure = GetPlayerFigure(player_);
    figure.SetPose(PlayerFigure::kIdle);
    Vorn* unit = figure.GetVorn();
    ASSERT_NE(unit, nullptr);
    ASSERT_NE(unit->bodyModel, nullptr);
    EXPECT_FALSE(unit->bodyModel->Animations().IsEmpty());
    const auto before = Pose(unit->bodyModel);
    int moved = 0;
    for (int frame = 0; frame < 40; ++frame) {
        const auto last = Pose(unit->bodyModel);
        figure.Update(0.05f);
        moved += SamePose(last, Pose(unit->bodyModel)) ? 0 : 1;
    }
    EXPECT_FALSE(SamePose(before, Pose(unit->bodyModel)));
    EXPECT_GE(moved, 30);
}

}  // namespace
