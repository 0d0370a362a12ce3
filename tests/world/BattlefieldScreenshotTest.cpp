// What the battlefield shows of a unit's behaviour, drawn on the GL backend headless from
// a fixed camera over solid grass: the debugged unit's path as marching arrows on the
// ground with the turn at its point, its radar letting the grass show through after an
// effect, a pattern's thumbnail, and a field generator's canister in flight. The
// models come from the data set; the frames are kept under tests/screenshots/ of the
// build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "battlefield/PatternThumbnail.h"
#include "core/Image.h"
#include "engine/AssetPaths.h"
#include "engine/GlTestWindow.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Game.h"
#include "game/Player.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/TiltedDrawView.h"
#include "support/WorkingFolder.h"
#include "units/ChassisTable.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternIcons.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/FieldGenerator.h"
#include "world/MarchingArrows.h"
#include "world/ScreenshotScene.h"
#include "world/TerrainAtlases.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = world_test::kShotWidth;
constexpr int kHeight = world_test::kShotHeight;
using world_test::kGrass;
using world_test::kSky;
using world_test::ScreenshotGame;
using world_test::Sum;

bool IsGrass(Color c) { return c.Green() > c.Red() + 60 && c.Green() > c.Blue() + 60; }

class BattlefieldScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path data(VORNS_GAME_DIR);
        if (!fs::exists(data / "Actors" / "RobotSmall.act")) GTEST_SKIP() << "no data set at " << data;
        buildFolder_ = fs::current_path();
        for (const char* sub : {"Textures", "Actors"}) fs::copy(data / sub, folder_ / sub, fs::copy_options::recursive);
        // Solid grass: the atlases are composed again from these tiles.
        for (const auto& entry : fs::directory_iterator(folder_ / "Textures")) {
            const std::string name = entry.path().filename().string();
            if (name == "BaseTiles.tga" || name.find("CornerTiles") != std::string::npos) fs::remove(entry.path());
        }
        Image tile(64, 64);
        tile.Fill(kGrass);
        for (int i = 0; i < 8; ++i) {
            ASSERT_TRUE(tile.SaveTGA(
                (fs::path(folder_.Path()) / "Textures" / ("GrassTile" + std::to_string(i) + ".tga")).string()));
        }
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        Renderer& renderer = GetRenderer();
        renderer.Shutdown();
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, renderer);
        if (!failure.empty()) GTEST_SKIP() << failure;
        ResetTerrainAtlases();
        LoadChassisDefinitions();
        LoadWeaponDefinitions();
        SetMarchingArrowSprite(renderer.CreateSprite(1, TexturePath("ArrowheadWhite.tga"), Sprite::kAnchorCentre));
        arena_ = world_test::OpenArena(game_);
    }

    void TearDown() override {
        if (arena_) world_test::CloseArena(*arena_);
        SetMarchingArrowSprite(nullptr);
        FreeChassisDefinitions();
        ResetTerrainAtlases();
        GetRenderer().Shutdown();
        window_.reset();
    }

    Vorn* AddUnit(int chassis, float x, float y, float heading) {
        Vorn* unit = arena_->NewVorn(0);
        unit->SetPlayer(&owner_);
        unit->BuildBody(chassis);
        unit->SetAngle(heading);
        unit->PlaceAt(Vector3(x, y, 0.0f));
        arena_->AddObject(unit);
        unit->PrepareForBattle();
        return unit;
    }

    Image Frame(TiltedDrawView& view, const char* name) {
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.SetCamera(view.camera);
        renderer.Clear(kSky, 1.0f, 3);
        arena_->Draw(view);
        renderer.EndFrame();
        Image frame;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        app_test::WorkingFolder back(buildFolder_.string());
        std::cout << "picture: " << engine_test::KeepPicture(frame, name) << "\n";
        return frame;
    }

    Color At(const Image& frame, TiltedDrawView& view, const Vector3& point) {
        const Vector3 screen = view.camera.Project(point);
        return frame.At(int(screen.x), int(screen.y));
    }

    // Whether a thin drawing lighter than the grass passes within a pixel of the point.
    bool LitNear(const Image& frame, TiltedDrawView& view, const Vector3& point, Color grass) {
        const Vector3 screen = view.camera.Project(point);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (Sum(frame.At(int(screen.x) + dx, int(screen.y) + dy)) > Sum(grass) + 120) return true;
            }
        }
        return false;
    }

    // How many of the points along the ground from one point to the other show lighter
    // than the grass.
    int LitAlong(const Image& frame, TiltedDrawView& view, const Vector3& from, const Vector3& to, Color grass) {
        int lit = 0;
        for (int i = 0; i <= 40; ++i) {
            lit += Sum(At(frame, view, from + (to - from) * (float(i) / 40.0f))) > Sum(grass) + 120 ? 1 : 0;
        }
        return lit;
    }

    platform_test::TempFolder folder_;
    fs::path buildFolder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<win::SystemWindow> window_;
    ScreenshotGame game_;
    std::unique_ptr<Arena> arena_;
    Player owner_;
};

TEST_F(BattlefieldScreenshotTest, DebuggedUnitsPathMarchesOnTheGroundWithTheTurnAtItsPoint) {
    // Ahead 20, then a quarter turn left and 15 on: the walk-through shows the second leg.
    Vorn* unit = AddUnit(0, 60.0f, 70.0f, 0.0f);
    Pattern& pattern = unit->PatternAt(0);
    pattern.AddPathPoint()->SetPosition(Vector2(20.0f, 0.0f));
    pattern.AddPathPoint()->SetPosition(Vector2(20.0f, 15.0f));
    pattern.RebuildLayout();
    unit->currentPattern = &pattern;
    game_.selectedVorn = unit;
    game_.debugPaused = 1;
    // The walk-through half way along the second leg: 20 / 8 s for the first, then 1 s.
    SetPatternPulseUnit(unit);
    SetPatternPulseTime(3.5f);
    // Smoke left by a step: the effects before the held pattern switch blending off.
    world_test::AddObjectOfKind(*arena_, kKindSmokePuff, 90.0f, 90.0f);

    TiltedDrawView view(Vector3(75.0f, 78.0f, 0.0f), 45.0f, kWidth, kHeight, 1000.0f, 400.0f);
    const Image frame = Frame(view, "battlefield_debugged_path");
    const Color grass = At(frame, view, Vector3(60.0f, 95.0f, 0.0f));
    ASSERT_TRUE(IsGrass(grass)) << std::hex << grass.argb;
    // Arrows along both legs, none off the path.
    EXPECT_GT(LitAlong(frame, view, Vector3(64.0f, 70.0f, 0.0f), Vector3(78.0f, 70.0f, 0.0f), grass), 5);
    EXPECT_GT(LitAlong(frame, view, Vector3(80.0f, 73.0f, 0.0f), Vector3(80.0f, 83.0f, 0.0f), grass), 3);
    EXPECT_EQ(LitAlong(frame, view, Vector3(64.0f, 60.0f, 0.0f), Vector3(78.0f, 60.0f, 0.0f), grass), 0);
    // The radar's clear corners show the grass under them.
    for (const Vector3& corner : {Vector3(42.0f, 88.0f, 0.0f), Vector3(78.0f, 52.0f, 0.0f)}) {
        EXPECT_TRUE(IsGrass(At(frame, view, corner))) << corner.x << "," << corner.y;
    }
    // The quarter turn left at the corner is an arc from the right-hand side round to the
    // front, not a circle round the point.
    const float r = 1.4f * 0.7071f;
    EXPECT_TRUE(LitNear(frame, view, Vector3(80.0f + r, 70.0f + r, 0.0f), grass));
    for (const Vector3& behind : {Vector3(80.0f - r, 70.0f + r, 0.0f), Vector3(80.0f - r, 70.0f - r, 0.0f),
                                  Vector3(80.0f + r, 70.0f - r, 0.0f)}) {
        EXPECT_FALSE(LitNear(frame, view, behind, grass)) << behind.x << "," << behind.y;
    }
    // The view on the map's copy above, where it stands once it has wrapped: the pattern
    // lies round the unit shown there, not round the unit's own position off the screen.
    const float up = arena_->WorldHeight();
    SetPatternPulseTime(3.5f);
    TiltedDrawView above(Vector3(75.0f, 78.0f + up, 0.0f), 45.0f, kWidth, kHeight, 1000.0f, 400.0f);
    const Image wrapped = Frame(above, "battlefield_debugged_path_wrapped");
    EXPECT_GT(LitAlong(wrapped, above, Vector3(64.0f, 70.0f + up, 0.0f), Vector3(78.0f, 70.0f + up, 0.0f), grass), 5);
    EXPECT_GT(LitAlong(wrapped, above, Vector3(80.0f, 73.0f + up, 0.0f), Vector3(80.0f, 83.0f + up, 0.0f), grass), 3);
}

TEST_F(BattlefieldScreenshotTest, ThrownGeneratorShowsItsCanisterInFlight) {
    Vorn* unit = AddUnit(1, 60.0f, 70.0f, 0.0f);
    unit->SetWeaponKind(0, kWeaponStaticFieldGenerator);
    unit->SetDefaults();
    unit->weapons[0].Fire(0.0f, Vector3(100.0f, 70.0f, 0.0f), false, -1, 0, nullptr);
    FieldGenerator* generator = nullptr;
    for (WorldObject* object : arena_->Objects()) {
        if (object->kind == kKindFieldGenerator) generator = static_cast<FieldGenerator*>(object);
    }
    ASSERT_NE(generator, nullptr);
    game_.frameTime = 0.8f;
    arena_->AdvanceObjectClocks();
    arena_->Update();
    ASSERT_EQ(generator->state, FieldGenerator::kStateFlying);

    TiltedDrawView view(generator->position - Vector3(0.0f, 0.0f, generator->position.z), 30.0f, kWidth, kHeight,
                        1000.0f, 400.0f);
    const Image frame = Frame(view, "battlefield_generator_in_flight");
    const Color canister = At(frame, view, generator->position);
    EXPECT_FALSE(IsGrass(canister)) << std::hex << canister.argb;
}

// A slot's thumbnail shows its pattern at three times the editor's sizes: the unit's and
// the path's blue icons stand out of the radar picture behind them.
TEST_F(BattlefieldScreenshotTest, ThumbnailShowsThePatternOverItsRadar) {
    Vorn* unit = AddUnit(0, 60.0f, 70.0f, 0.0f);
    Pattern& pattern = unit->PatternAt(0);
    pattern.AddPathPoint()->SetPosition(Vector2(15.0f, 0.0f));
    pattern.AddPathPoint()->SetPosition(Vector2(15.0f, 15.0f));
    pattern.RebuildLayout();
    LoadPatternIcons();
    LoadPatternObjectIcons();
    Renderer& renderer = GetRenderer();
    ASSERT_TRUE(renderer.GetReady());
    renderer.Clear(kSky, 1.0f, 3);
    PatternThumbnail().Draw(pattern, IntRect(0, 0, 63, 63), Color(0xFF324B4B));
    renderer.EndFrame();
    Image frame;
    ASSERT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
    app_test::WorkingFolder back(buildFolder_.string());
    std::cout << "picture: " << engine_test::KeepPicture(frame, "thumbnail") << "\n";
    int blue = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) blue += frame.At(x, y).Blue() > frame.At(x, y).Green() + 50 ? 1 : 0;
    }
    EXPECT_GT(blue, 30);
}

}  // namespace
