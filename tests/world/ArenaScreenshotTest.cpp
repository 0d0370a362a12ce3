// A small battle drawn on the GL backend headless from a fixed camera: grass and sand
// with blended corners, robots and stalks standing, walking and firing, a burning tree, a
// health field, a beacon, a goal and a scorch mark, and a pattern diagram in a corner.
// The models come from the data set; the ground tiles are replaced by solid colours so
// that flat regions have known colours. The frame is kept as
// tests/screenshots/arena_battle.tga under the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>

#include "core/Image.h"
#include "engine/Camera.h"
#include "engine/GlTestWindow.h"
#include "engine/Renderer.h"
#include "game/Game.h"
#include "game/Player.h"
#include "platform/gfx/Device.h"
#include "platform/window/SystemWindow.h"
#include "support/RuntimeCopy.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/TiltedDrawView.h"
#include "support/WorkingFolder.h"
#include "units/ChassisTable.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/ArenaDrawView.h"
#include "world/Beacon.h"
#include "world/HealthField.h"
#include "world/ScreenshotScene.h"
#include "world/Terrain.h"
#include "world/TerrainAtlases.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = world_test::kShotWidth;
constexpr int kHeight = world_test::kShotHeight;
using world_test::kGrass;
using world_test::kSky;
using world_test::ScreenshotGame;
using world_test::Sum;
const Color kSand = Color::FromRGBA(210, 190, 90, 255);

void SaveSolid(const fs::path& path, Color colour) {
    Image image(64, 64);
    image.Fill(colour);
    ASSERT_TRUE(image.SaveTGA(path.string()));
}

bool IsGrass(Color c) { return c.Green() > c.Red() + 60 && c.Green() > c.Blue() + 60; }
bool IsSand(Color c) { return c.Red() > c.Blue() + 60 && c.Green() > c.Blue() + 40; }

class ArenaScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path data(VORNS_GAME_DIR);
        if (!fs::exists(data / "Actors" / "RobotSmall.act")) GTEST_SKIP() << "no data set at " << data;
        buildFolder_ = fs::current_path();
        for (const char* sub : {"Textures", "Actors"}) runtime_test::CopyTree(data / sub, folder_ / sub);
        // Solid ground: the atlases are composed again from these.
        for (const auto& entry : fs::directory_iterator(folder_ / "Textures")) {
            const std::string name = entry.path().filename().string();
            if (name == "BaseTiles.tga" || name.find("CornerTiles") != std::string::npos) fs::remove(entry.path());
        }
        for (int i = 0; i < 8; ++i) {
            SaveSolid(fs::path(folder_.Path()) / "Textures" / ("GrassTile" + std::to_string(i) + ".tga"), kGrass);
            SaveSolid(fs::path(folder_.Path()) / "Textures" / ("SandTile" + std::to_string(i) + ".tga"), kSand);
        }
        working_ = std::make_unique<app_test::WorkingFolder>(folder_.Path());
        Renderer& renderer = GetRenderer();
        renderer.Shutdown();
        const std::string failure = engine_test::OpenGlRenderer(kWidth, kHeight, window_, renderer);
        if (!failure.empty()) GTEST_SKIP() << failure;
        ResetTerrainAtlases();
        LoadChassisDefinitions();
        LoadWeaponDefinitions();
        arena_ = world_test::OpenArena(game_);
    }

    void TearDown() override {
        if (arena_) world_test::CloseArena(*arena_);
        FreeChassisDefinitions();
        ResetTerrainAtlases();
        GetRenderer().Shutdown();
        window_.reset();
    }

    Vorn* AddUnit(Player* owner, int chassis, float x, float y, float heading) {
        Vorn* unit = arena_->NewVorn(0);
        unit->SetPlayer(owner);
        unit->BuildBody(chassis);
        unit->SetAngle(heading);
        unit->PlaceAt(Vector3(x, y, 0.0f));
        arena_->AddObject(unit);
        unit->PrepareForBattle();
        unit->animationSpeed = 1.0f;
        return unit;
    }

    Image Frame(TiltedDrawView& view, const Pattern& diagram) {
        Renderer& renderer = GetRenderer();
        EXPECT_TRUE(renderer.GetReady());
        renderer.SetCamera(view.camera);
        renderer.Clear(kSky, 1.0f, 3);
        arena_->Draw(view);
        // The diagram in the top-left corner, seen from above.
        Camera corner;
        corner.kind = Camera::kPerspective;
        corner.nearPlane = 0.1f;
        corner.farPlane = 1000.0f;
        corner.SetFieldOfView(0.7854f);
        corner.SetAspect(1.0f);
        corner.SetPosition(Vector3(0.0f, 0.0f, 50.0f));
        corner.SetDirection(Vector3(0.0f, 0.0f, -1.0f));
        corner.SetUp(Vector3(1.0f, 0.0f, 0.0f));
        corner.viewport = IntRect(0, 0, 159, 159);
        renderer.SetCamera(corner);
        renderer.ClearViewport(kSky, 1.0f, 2);
        renderer.SetWorldTransform(Matrix4());
        renderer.SetZWrite(false);
        renderer.DisableLighting();
        diagram.Draw(32.0f, PatternDrawParts());
        renderer.SetZWrite(true);
        renderer.EndFrame();
        Image frame;
        EXPECT_EQ(renderer.GetDevice().ReadBackBuffer(frame), gfx::Result::Ok);
        app_test::WorkingFolder back(buildFolder_.string());
        std::cout << "picture: " << engine_test::KeepPicture(frame, "arena_battle") << "\n";
        return frame;
    }

    // The pixel where the world point shows.
    Color At(const Image& frame, TiltedDrawView& view, const Vector3& point) {
        const Vector3 screen = view.camera.Project(point);
        return frame.At(int(screen.x), int(screen.y));
    }

    platform_test::TempFolder folder_;
    fs::path buildFolder_;
    std::unique_ptr<app_test::WorkingFolder> working_;
    std::unique_ptr<win::SystemWindow> window_;
    ScreenshotGame game_;
    std::unique_ptr<Arena> arena_;
    Player red_;
    Player blue_;
};

TEST_F(ArenaScreenshotTest, BattleOfBothFamiliesWithObjectsDecalsAndADiagram) {
    Terrain& terrain = arena_->GetTerrain();
    terrain.PaintRect(Rect{80.0f, 0.0f, 160.0f, 160.0f}, kTerrainSand);
    red_.name = "Red";
    blue_.name = "Blue";
    Vorn* robot = AddUnit(&red_, 0, 60.0f, 80.0f, 0.0f);
    Vorn* stalk = AddUnit(&blue_, 3, 100.0f, 80.0f, 3.1416f);
    Vorn* walker = AddUnit(&red_, 1, 66.0f, 92.0f, 1.2f);
    Vorn* firer = AddUnit(&blue_, 5, 96.0f, 95.0f, 2.5f);
    walker->SetAnimationState(Vorn::kAnimWalk);
    game_.frameTime = 0.3f;
    walker->UpdateBodyAndBall();
    firer->AimWeaponPlace(firer->weapons[0], false, robot->position);
    stalk->GiveBall();

    WorldObject* tree = world_test::AddObjectOfKind(*arena_, kKindTree, 80.0f, 108.0f);
    tree->TakeDamage(nullptr, tree->position, 5.0f, 0);
    HealthField* field = arena_->NewHealthField();
    field->Start(Vector3(45.0f, 100.0f, 0.0f), 6.0f, 1.0f, 30.0f);
    arena_->AddObject(field);
    WorldObject* goal = world_test::AddObjectOfKind(*arena_, kKindGoal, 115.0f, 100.0f);
    auto* beacon = static_cast<Beacon*>(world_test::AddObjectOfKind(*arena_, kKindBeacon, 70.0f, 70.0f));
    beacon->SetOwner(robot);
    arena_->AddScorchMark(Vector3(55.0f, 65.0f, 0.0f), 4.0f);
    arena_->ToggleFlyByPoint(Vector3(105.0f, 66.0f, 0.0f), false);
    arena_->Update();

    Pattern diagram;
    PatternObject* enemy = arena_->NewPatternObject();
    enemy->kind = kPatternEnemy;
    enemy->position = Vector2(10.0f, 5.0f);
    diagram.AddObject(enemy);
    diagram.AddPathPoint()->position = Vector2(8.0f, -6.0f);

    TiltedDrawView view(Vector3(80.0f, 85.0f, 0.0f), 60.0f, kWidth, kHeight, 1000.0f, 400.0f);
    const Image frame = Frame(view, diagram);

    // Flat ground in its tile colours, in the camera-space light of the unlit terrain.
    const Color grass = At(frame, view, Vector3(45.0f, 86.0f, 0.0f));
    const Color sand = At(frame, view, Vector3(116.0f, 86.0f, 0.0f));
    EXPECT_TRUE(IsGrass(grass)) << std::hex << grass.argb;
    EXPECT_TRUE(IsSand(sand)) << std::hex << sand.argb;
    // Between them the corner tiles blend the two: along a row from the grass to the
    // sand some pixels lie between both colours.
    int blended = 0;
    for (float x = 60.0f; x <= 100.0f; x += 0.5f) {
        const Color c = At(frame, view, Vector3(x, 86.0f, 0.0f));
        blended += c.Red() > grass.Red() + 15 && c.Red() < sand.Red() - 15 ? 1 : 0;
    }
    EXPECT_GT(blended, 2);
    // The scorch mark darkens the grass under its centre.
    EXPECT_LT(Sum(At(frame, view, Vector3(55.0f, 65.0f, 0.0f))), Sum(grass) - 60);
    // Each unit's body stands over its place; the ground there is hidden.
    for (const Vorn* unit : {robot, stalk, walker, firer}) {
        const Color body = At(frame, view, unit->position);
        EXPECT_FALSE(IsGrass(body) || IsSand(body)) << unit->chassisType << " " << std::hex << body.argb;
    }
    // The field, the goal, the beacon and the tree cover their ground too.
    for (const Vector3& point : {field->position, goal->position, beacon->position, tree->position}) {
        const Color over = At(frame, view, point);
        EXPECT_NE(over.argb, grass.argb) << point.x << "," << point.y;
        EXPECT_NE(over.argb, sand.argb) << point.x << "," << point.y;
    }
    // The diagram's background covers the corner's middle, where the sky showed.
    EXPECT_GT(Sum(frame.At(80, 80)), 60);
}

}  // namespace
