// A unit's body shows its owner's colours whatever its chassis: the data set's bodies,
// recoloured per player on the recording device.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Material.h"
#include "game/Player.h"
#include "support/WorkingCopy.h"
#include "units/ChassisTable.h"
#include "units/OwnerColours.h"

namespace {

class OwnerColoursTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!runtime_test::HasBodies()) GTEST_SKIP() << "no data set at " << VORNS_GAME_DIR;
        working_ = std::make_unique<runtime_test::WorkingCopy>();
        LoadChassisDefinitions();
        red_.primaryColor = Color::FromRGBA(255, 0, 0, 255);
        blue_.primaryColor = Color::FromRGBA(0, 0, 255, 255);
    }
    void TearDown() override {
        if (working_) FreeChassisDefinitions();
    }

    // The picture the first painted part of the chassis shows now.
    static TextureHandle Shown(int32_t chassis) {
        const ChassisDefinition* row = ChassisTable::Row(chassis);
        EXPECT_FALSE(row->paintedPartMaterials.IsEmpty() || row->paintedPartMaterials[0].IsEmpty());
        return row->paintedPartMaterials[0][0]->stages[0].texture;
    }

    std::unique_ptr<runtime_test::WorkingCopy> working_;
    Player red_;
    Player blue_;
};

TEST_F(OwnerColoursTest, EachOwnersBodiesShowItsOwnPicturesInEitherFamily) {
    // Neither player chose a chassis: the computer's robots are drawn in its colours too.
    ApplyOwnerColours(0, red_);
    const TextureHandle redRobot = Shown(0);
    ApplyOwnerColours(0, blue_);
    const TextureHandle blueRobot = Shown(0);
    EXPECT_NE(redRobot, blueRobot);
    ApplyOwnerColours(3, red_);
    EXPECT_NE(Shown(3), redRobot);
    // Drawing the red unit again shows red's picture, made once.
    ApplyOwnerColours(1, red_);
    ApplyOwnerColours(0, red_);
    EXPECT_EQ(Shown(0), redRobot);
    EXPECT_EQ(Shown(1), redRobot);
    // New colours repaint the player's pictures in place.
    red_.primaryColor = Color::FromRGBA(0, 255, 0, 255);
    ApplyOwnerColours(0, red_);
    EXPECT_EQ(Shown(0), redRobot);
}

}  // namespace
