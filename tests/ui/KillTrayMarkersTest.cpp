// The kill tray's markers tell the player's own destroyed units from the enemy's.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "UiTestSupport.h"
#include "core/Image.h"
#include "engine/Mesh.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/TestAssets.h"
#include "support/WorkingFolder.h"
#include "ui/KillTray.h"
#include "ui/WindowManager.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"

namespace {

std::string PictureOf(const Sprite* sprite) {
    if (sprite == nullptr || sprite->quad == nullptr || sprite->quad->subsetMaterials.IsEmpty()) return "";
    const Material* material = sprite->quad->subsetMaterials[0];
    if (material == nullptr || material->stages.IsEmpty() || material->stages[0].texture == nullptr) return "";
    const std::string path = material->stages[0].texture->name.CStr();
    return path.substr(path.find_last_of("/\\") + 1);
}

class KillTrayMarkersTest : public ui_test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        arena_ = world_test::OpenArena(game);
        SetCurrentGame(&game);
    }
    void TearDown() override {
        KillTray& tray = GetKillTray();
        while (tray.VornCount() > 0) tray.RemoveVorn(tray.GetVorn(0));
        GetMouse().ShowCursor();
        UiTest::TearDown();
        world_test::CloseArena(*arena_);
    }
    Vorn* Unit(const char* name, int32_t chassis, Player* owner) {
        Vorn* vorn = arena_->NewVorn(0);
        vorn->name = name;
        vorn->chassisType = chassis;
        vorn->owner = owner;
        return vorn;
    }
    std::unique_ptr<Arena> arena_;
};

TEST_F(KillTrayMarkersTest, OwnUnitsCarryFriendMarkersAndOthersEnemyMarkersBySize) {
    // Stand-in pictures of every marker, which the tray takes again from this folder.
    platform_test::TempFolder folder;
    std::filesystem::create_directories(std::filesystem::path(folder.Path()) / "Textures");
    for (const char* size : {"Small", "Medium", "Large"}) {
        for (const char* side : {"Friend", "Enemy"}) {
            Image(4, 4).SaveTGA(folder.Path() + "/Textures/" + size + side + ".tga");
        }
    }
    const app_test::WorkingFolder working(folder.Path());
    units_test::LoadChassisTableWithTextures();  // the chassis' size classes
    Player other;
    KillTray& tray = GetKillTray();
    tray.ReleaseResources();
    tray.CreateResources();
    tray.AddVorn(Unit("Mine", FindChassisByName("RobotLarge"), &GetLocalPlayer()));
    tray.AddVorn(Unit("Theirs", FindChassisByName("StalkSmall"), &other));
    GetWindowManager().OpenWindow(&tray);
    tray.GrabVorn(1);
    EXPECT_EQ(PictureOf(GetMouse().carriedSprite), "LargeFriend.tga");
    tray.GrabVorn(2);
    EXPECT_EQ(PictureOf(GetMouse().carriedSprite), "SmallEnemy.tga");
}

}  // namespace
