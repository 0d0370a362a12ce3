// Battle after battle in one run: what a battle takes is given back when it ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/Renderer.h"
#include "support/ResidentMemory.h"
#include "support/RuntimeCopy.h"
#include "support/SpeedBattleFiles.h"
#include "support/TempFolder.h"
#include "support/TiltedDrawView.h"
#include "support/VornTestWorld.h"
#include "support/WorkingFolder.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr float kFrame = 1.0f / 30.0f;
constexpr int kUnitsPerSide = 50;
constexpr int kBattles = 10;
constexpr long kAllowedGrowthKilobytes = 5 * 1024;

class SpeedBattleMemoryTest : public VornTestWorld {
protected:
    void SetUp() override {
        // The effects draw with the data set's pictures, from a copy of its own.
        if (!runtime_test::CopyTextures(VORNS_GAME_DIR, folder_.Path()))
            GTEST_SKIP() << "no data set at " << VORNS_GAME_DIR;
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        VornTestWorld::SetUp();
        using battle_files::BattlePatterns;
        using battle_files::UnitFile;
        Write("Gunner", UnitFile("Gunner", "RobotSmall", "Laser", "Laser", BattlePatterns()));
        Write("Burner", UnitFile("Burner", "RobotMedium", "Flamethrower", "ShrapnelGun", BattlePatterns()));
        Write("Rocket", UnitFile("Rocket", "StalkLarge", "MissileLauncher", "Laser", BattlePatterns()));
        Write("Medic", UnitFile("Medic", "StalkMedium", "HealthFieldGenerator", "Laser", BattlePatterns()));
        const String base((folder_.Path() + "/").c_str());
        SetDataFolders(base, base, base);
    }
    void TearDown() override {
        if (working_ == nullptr) return;
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
        working_.reset();
    }

    void Write(const char* name, const std::string& text) {
        std::ofstream(folder_ / (std::string(name) + ".VRN")) << text;
    }

    Vorn* AddFromFile(const char* file, Player* owner, float x, float y, float heading) {
        Vorn* unit = arena->NewVorn(1);
        unit->LoadFile(file);
        unit->SetPlayer(owner);
        unit->SetDefaults();
        unit->SetAngle(heading);
        unit->PlaceAt(arena->GroundPoint(x, y));
        unit->SavePreviousState();
        arena->AddObject(unit);
        return unit;
    }

    // Two armies face each other across the middle and fight for 10 s of game time, drawn
    // every thirtieth frame; then the battlefield is cleared for the next battle.
    void FightOneBattle() {
        static const char* const kFiles[] = {"Gunner", "Burner", "Rocket", "Medic"};
        for (int k = 0; k < kUnitsPerSide; ++k) {
            const float dx = 6.0f * float(k / 8), dy = 6.0f * float(k % 8) + 0.25f * kW;
            AddFromFile(kFiles[k % 4], &red, 0.5f * kW - 10.0f - dx, dy, 0.0f);
            AddFromFile(kFiles[(k + 1) % 4], &blue, 0.5f * kW + 10.0f + dx, dy, 3.14159f);
        }
        TiltedDrawView view(Vector3(0.5f * kW, 0.5f * kW, 0.0f), 120.0f, 1024, 768, 2000.0f, 1000.0f);
        Renderer& renderer = GetRenderer();
        for (int step = 0; step < 300; ++step) {
            game.frameTime = kFrame;
            arena->AdvanceObjectClocks();
            arena->Update();
            game.clock += kFrame;
            if (step % 30 != 0 || !renderer.GetReady()) continue;
            renderer.SetCamera(view.camera);
            arena->Draw(view);
            renderer.EndFrame();
        }
        arena->ClearBattlefield(false);
        arena->FlushObjectPools();
    }

    platform_test::TempFolder folder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
};

// What the process holds, in kilobytes: its resident size, or under the address sanitizer,
// which holds freed memory back for a while, the heap it has in use.
long HeldKilobytes() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(HeapInUse() / 1024);
#else
    return ResidentKilobytes();
#endif
}

TEST_F(SpeedBattleMemoryTest, TenBattlesInOneRunKeepTheResidentSizeOfTheFirst) {
    FightOneBattle();
    const long afterFirst = HeldKilobytes();
    if (afterFirst == 0) GTEST_SKIP() << "no resident size to read";
    for (int battle = 1; battle < kBattles; ++battle) FightOneBattle();
    const long growth = HeldKilobytes() - afterFirst;
    RecordProperty("growth_kB", std::to_string(growth));
    EXPECT_LT(growth, kAllowedGrowthKilobytes);
}

}  // namespace
