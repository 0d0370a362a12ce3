#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/StringStream.h"
#include "core/TextTable.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "modes/PlayerFigure.h"
#include "net/NetworkGame.h"
#include "net/SquadExchange.h"
#include "support/SpeedBattleFiles.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/TestAssets.h"
#include "support/UnitTablesTest.h"
#include "ui/Scoreboard.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/FieldStanding.h"
#include "world/Goal.h"
#include "world/LaunchPoint.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"
#include "world/SolarCharger.h"

namespace {

TEST(NetworkMatchSettingsTest, EveryValueFromAPeerOrAProfileIsBroughtIntoRange) {
    NetworkMatchSettings settings;
    settings.budget = 4000;
    settings.rules = 7;
    settings.squadCount = 0;
    settings.boostCount = 99;
    settings.soccerBallCount = 0xFFFFFFFF;
    settings.gameTimer = 0xFFFFFFFF;
    settings.Clamp(5000, 2);
    EXPECT_EQ(settings.budget, 2500);
    EXPECT_EQ(settings.rules, 3u);
    EXPECT_EQ(settings.squadCount, 1u);
    EXPECT_EQ(settings.boostCount, 5u);
    EXPECT_EQ(settings.soccerBallCount, 9u);
    EXPECT_EQ(settings.gameTimer, 86400u);
    settings.budget = 10;
    settings.Clamp(5000, 2);
    EXPECT_EQ(settings.budget, 25);
    settings.budget = 100;
    settings.Clamp(40, 9);  // a total too small to share still allows the smallest budget
    EXPECT_EQ(settings.budget, 25);
}

// A serving game that keeps each health change it tells its peers of, as they receive it.
class ReportingGame : public NetworkGame {
public:
    void OnHealthChanged(WorldObject* object, Player* attacker, const Vector3& point, float amount,
                         int32_t code) override {
        NetworkGame::OnHealthChanged(object, attacker, point, amount, code);
        NetworkEvent event;
        event.kind = static_cast<NetworkEventKind>(static_cast<uint32_t>(NetworkEventKind::DamageHeal) + code);
        event.value = static_cast<uint32_t>(object->id);
        event.vectorA = point;
        event.float2 = amount;
        reports.push_back(event);
    }
    std::vector<NetworkEvent> reports;
};

class NetworkGameTest : public units_test::UnitTablesTest {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        std::filesystem::create_directories("Vorns");
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        arena = world_test::OpenArena(game);
        game.playerPaused = 0;
    }
    void TearDown() override {
        ReleasePlayerFigures();  // their units go back before the arena does
        world_test::CloseArena(*arena);
        std::filesystem::current_path(previous);
    }

    Vorn* AddUnit(Player* owner, float x, float y) {
        Vorn* unit = arena->NewVorn(0);
        unit->SetPlayer(owner);
        unit->BuildBody(0);
        unit->PlaceAt(Vector3(x, y, 0.0f));
        arena->AddObject(unit);
        unit->PrepareForBattle();
        return unit;
    }

    std::string UnitText(const char* name, bool whole) { return UnitWireText(*arena, name, whole); }

    platform_test::TempFolder folder;
    std::filesystem::path previous;
    ReportingGame game;
    std::unique_ptr<Arena> arena;
};

TEST_F(NetworkGameTest, ClientAppliesDamageRemovalAndScorchesAndSkipsWhatItDoesNotKnow) {
    WorldObject* rock = world_test::AddObjectOfKind(*arena, kKindRock, 20, 20);
    rock->AssignId(*arena);
    NetworkEvent event;
    event.kind = NetworkEventKind::DamageBlast;
    event.value = static_cast<uint32_t>(rock->id);
    event.float2 = -10.0f;  // a negative amount sets the health
    rock->SetHealth(3.0f);
    game.Apply(event);
    EXPECT_EQ(rock->health, 10.0f);

    event.value = 99999;  // nobody: nothing happens
    game.Apply(event);
    event.kind = NetworkEventKind::Signal1On;
    event.player = {0x01020304, 7};
    game.Apply(event);

    const int before = arena->ObjectCount();
    event.Reset();
    event.kind = NetworkEventKind::ScorchMark;
    event.vectorA = {30, 30, 0};
    event.float1 = 1e30f;  // a hostile radius is held to the arena
    game.Apply(event);
    ASSERT_EQ(arena->ObjectCount(), before + 1);
    EXPECT_LE(arena->ObjectAt(arena->ObjectCount() - 1)->GetRadius(), 2 * arena->WorldWidth());

    event.Reset();
    event.kind = NetworkEventKind::ObjectDestroyed;
    event.value = static_cast<uint32_t>(rock->id);
    game.Apply(event);
    arena->RemoveFlaggedObjects(false);
    EXPECT_EQ(arena->FindObjectById(event.value), nullptr);
}

TEST_F(NetworkGameTest, TheServerReportsEachTakeOffBounceAndLandingAndAClientStandsTheUnitDown) {
    ASSERT_TRUE(game.Serve(0));
    Vorn* unit = AddUnit(&GetLocalPlayer(), 40, 40);
    unit->AssignId(*arena);
    game.Session().SetState(SessionState::ServerPlaying);
    game.Update();
    const uint64_t standing = game.Session().MessagesSent();
    game.Update();
    EXPECT_EQ(game.Session().MessagesSent(), standing);  // nothing moved
    unit->onGround = false;                              // kicked up
    game.Update();
    unit->stuckCount = 1;  // bounced off a neighbour
    game.Update();
    game.Update();  // still flying the same way: nothing new
    unit->onGround = true;
    game.Update();
    EXPECT_EQ(game.Session().MessagesSent(), standing + 3);

    // A client's unit still flying where the server's landed.
    NetworkEvent landed;
    landed.kind = NetworkEventKind::AirborneUpdate;
    landed.objectId = static_cast<uint32_t>(unit->id);
    landed.vectorA = Vector3(50, 50, 0);
    unit->onGround = false;
    unit->stuckCount = 3;
    unit->SetAnimationState(Vorn::kAnimVictoryWaiting);
    game.Apply(landed);
    EXPECT_TRUE(unit->onGround);
    EXPECT_EQ(unit->stuckCount, 0);
    EXPECT_EQ(unit->animationState, Vorn::kAnimIdle);
    EXPECT_FLOAT_EQ(unit->position.x, 50.0f);

    // One still and high in the air (lifted onto another at its launch) waits there.
    landed.vectorA = Vector3(50, 50, 30);
    game.Apply(landed);
    EXPECT_FALSE(unit->onGround);
}

TEST_F(NetworkGameTest, ASessionPlayersSquadsTravelAndTheWorldRebuildsTheSame) {
    ASSERT_TRUE(game.Serve(0));
    SessionPlayer peer;
    peer.address = {0x0500000A, 2300};
    peer.name = "peer";
    Player peerRecord;
    peer.record = &peerRecord;

    SquadPayload payload;
    // A unit without a chassis is read, patterns and all, and let go.
    payload.unitFiles = {UnitText("Scout", true), UnitText("../../Escape", true),
                         UnitText(GetLanguageText("NoName").CStr(), true),
                         battle_files::UnitFile("Ghost", nullptr, "Laser", "Laser", battle_files::BattlePatterns())};
    payload.squads = {{UnitText("Scout", false), UnitText("Scout", false)}};
    ASSERT_TRUE(SquadExchange::Store(peer, payload));
    EXPECT_EQ(peer.unitFiles, std::vector<std::string>{"Scout"});
    EXPECT_EQ(StrayPathPoints(*arena), 0);
    EXPECT_EQ(peerRecord.squads[0].Count(), 2);
    EXPECT_EQ(peerRecord.squads[0].members[0]->owner, &peerRecord);
    // Only the safe name reached the disk, and only inside the network folder.
    size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
        if (!entry.is_regular_file()) continue;
        ++files;
        EXPECT_NE(entry.path().string().find("NetworkVorns"), std::string::npos) << entry.path();
    }
    EXPECT_EQ(files, 1u);
    peerRecord.squads[0].DestroyMembers();

    // The server's world: two trees and a unit of each of two players.
    world_test::AddObjectOfKind(*arena, kKindTree, 10, 10)->AssignId(*arena);
    world_test::AddObjectOfKind(*arena, kKindTree, 50, 10)->AssignId(*arena);
    Vorn* mine = AddUnit(&GetLocalPlayer(), 80, 80);
    mine->AssignId(*arena);
    const Vector3 minePlace = mine->position;
    const int mineId = mine->id;
    AddUnit(&peerRecord, 120, 40)->AssignId(*arena);

    VornsNetworker& session = game.Session();
    const std::string world = SquadExchange::BuildWorld(session);
    EXPECT_NE(world.find("\n4\n"), std::string::npos);
    SquadExchange::ReadWorld(world, session);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindTree), 2);
    auto* rebuilt = static_cast<Vorn*>(arena->FindObjectByKindAndId(kKindVorn, mineId));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_NEAR(rebuilt->position.x, minePlace.x, 0.01f);
    EXPECT_EQ(rebuilt->owner, &GetLocalPlayer());
    EXPECT_EQ(arena->CountObjectsOfKind(kKindVorn), 2);

    SquadExchange::DeleteNetworkUnitFiles();
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(folder.Path()) / "NetworkVorns"));
}

TEST_F(NetworkGameTest, AWorldTextWithHugeCountsStopsAtTheCap) {
    ASSERT_TRUE(game.Serve(0));
    SquadExchange::ReadWorld("999999999\n", game.Session());
    SquadExchange::ReadWorld("0\n2000000000\n5\nType Tree\n", game.Session());
    EXPECT_EQ(arena->ObjectCount(), 0);
}

TEST_F(NetworkGameTest, LastVornStandingEndsWhenOnePlayerHasUnitsAndTiesAllWin) {
    ASSERT_TRUE(game.Serve(0));
    Vorn* unit = AddUnit(&GetLocalPlayer(), 40, 40);
    game.Session().SetState(SessionState::ServerPlaying);
    game.Update();
    EXPECT_TRUE(game.battleOver);
    EXPECT_EQ(GetLocalPlayer().won, 1);
    // The units stop at once and cheer, before the arena runs another step.
    EXPECT_EQ(unit->currentAction, nullptr);
    EXPECT_EQ(unit->animationState, Vorn::kAnimVictoryWaiting);
    EXPECT_FLOAT_EQ(game.EndDelay(), NetworkGame::kEndDelaySeconds);
    game.frameTime = 0.5f;
    for (int i = 0; i < 16; ++i) game.Update();
    EXPECT_EQ(game.Session().State(), SessionState::ServerResults);
}

TEST_F(NetworkGameTest, KingOfTheHillCountsDownAndKeepsOnlyThePropeller) {
    game.SetGameRules(NetworkGame::kKingOfTheHill);
    game.SetWeaponsAllowed(false);
    game.SetGameTimer(120);
    EXPECT_EQ(game.TimeLeft(), 120.0f);
    ASSERT_TRUE(game.Serve(0));
    game.StartBattle();
    EXPECT_TRUE(game.IsWeaponAllowed(kWeaponPropeller));
    EXPECT_FALSE(game.IsWeaponAllowed(kWeaponKicker));
    EXPECT_FALSE(game.IsWeaponAllowed(kWeaponLaser));
    EXPECT_FALSE(arena->meteorShowerOn);
}

TEST_F(NetworkGameTest, TheServersBattleRainsMeteorsAfterItsDelayAndAClientsNever) {
    game.SetGameRules(NetworkGame::kLastVornStanding);
    game.SetMeteorDelay(40);
    ASSERT_TRUE(game.Serve(0));
    game.StartBattle();
    EXPECT_TRUE(arena->meteorShowerOn);
    EXPECT_FLOAT_EQ(arena->meteorStartTime, 40.0f);
    game.End();
    EXPECT_FALSE(arena->meteorShowerOn);

    // A client keeps its own shower off even with a switched-on arena: the server's
    // meteors reach it as events.
    game.Join();
    arena->meteorShowerOn = true;
    arena->meteorClock = 100.0f;
    game.frameTime = 0.5f;
    const int before = arena->ObjectCount();
    arena->UpdateMeteorShower();
    EXPECT_EQ(arena->ObjectCount(), before);
}

// Windows that only remember what the battlefield camera was last aimed at.
class CameraWindows : public GameWindows {
public:
    bool PreviewRelease(const InputEvent&) override { return false; }
    bool OfferInput(const InputEvent&) override { return false; }
    void BroadcastInput(const InputEvent&) override {}
    void HoverAt(const InputEvent&) override {}
    bool TakesCharacters() const override { return false; }
    void RenderWindows() override {}
    void DrawZoomFrame(const IntRect&) override {}
    bool IsBattlefieldOpen() const override { return true; }
    void AimBattlefieldCamera(const Vector3&, const Vector3& target) override { aimedAt = target; }
    Vector3 aimedAt{-1.0f, -1.0f, -1.0f};
};

TEST_F(NetworkGameTest, ServerAndClientOpenTheBattleOnTheirOwnLaunchPoint) {
    ASSERT_TRUE(game.Serve(0));
    LaunchPoint* point = arena->NewLaunchPoint();
    point->SetPoint(Vector2(30.0f, 110.0f));
    arena->launchPoints.Append(point);
    Vorn* unit = arena->NewVorn(0);
    unit->BuildBody(0);
    GetLocalPlayer().squads[0].Add(unit);
    CameraWindows windows;
    SetGameWindows(&windows);

    const std::string world = game.BuildWorldText();
    EXPECT_NEAR(windows.aimedAt.x, 30.0f, 0.01f);
    EXPECT_NEAR(windows.aimedAt.y, 110.0f, 0.01f);

    // The client learns its launch point from the world text.
    game.Session().LocalPlayer()->launchPoint = Vector2();
    windows.aimedAt = Vector3();
    game.BuildWorld(world);
    SetGameWindows(nullptr);
    EXPECT_NEAR(windows.aimedAt.x, 30.0f, 0.01f);
    EXPECT_NEAR(windows.aimedAt.y, 110.0f, 0.01f);
}

// A client reads the launched squad as the server holds it: standing, waiting out the
// start, and lit by the ground, also the member lifted onto another for want of room.
TEST_F(NetworkGameTest, AClientHoldsTheLaunchedUnitsAsTheServerDoes) {
    ASSERT_TRUE(game.Serve(0));
    LaunchPoint* point = arena->NewLaunchPoint();
    point->SetPoint(Vector2(60.0f, 60.0f));
    arena->launchPoints.Append(point);
    for (float x : {0.0f, 5.0f}) {
        Vorn* unit = arena->NewVorn(0);
        unit->BuildBody(0);
        unit->SetPosition(Vector3(x, 0.0f, 0.0f));
        GetLocalPlayer().squads[0].Add(unit);
    }
    game.BuildWorldText();
    std::vector<Vorn*> units;
    for (WorldObject* object : arena->Objects())
        if (object->kind == kKindVorn) units.push_back(static_cast<Vorn*>(object));
    ASSERT_EQ(units.size(), 2u);
    units[1]->PlaceAt(arena->GroundPoint(units[0]->position.x, units[0]->position.y));
    arena->SettleObject(units[1]);
    ASSERT_FALSE(units[1]->onGround);
    const std::string world = SquadExchange::BuildWorld(game.Session());

    struct Held {
        int id;
        Vector3 position;
        bool onGround;
        float light;
        float delay;
    };
    std::vector<Held> server;
    for (Vorn* unit : units) {
        server.push_back({unit->id, unit->position, unit->onGround, unit->litColour[1][0], unit->delayTimer});
        EXPECT_GT(unit->litColour[1][0], 0.0f);
    }
    game.BuildWorld(world);
    for (const Held& held : server) {
        auto* unit = static_cast<Vorn*>(arena->FindObjectByKindAndId(kKindVorn, held.id));
        ASSERT_NE(unit, nullptr);
        EXPECT_NEAR(unit->position.z, held.position.z, 1e-3f) << held.id;
        EXPECT_EQ(unit->onGround, held.onGround) << held.id;
        EXPECT_FLOAT_EQ(unit->litColour[1][0], held.light) << held.id;
        EXPECT_FLOAT_EQ(unit->delayTimer, held.delay) << held.id;
    }
}

// The server heals the units by a charger and tells the client of each change: the
// client's copies (out of its reach) show the same health and the same bar, and a
// whole unit standing by it shows none on either.
TEST_F(NetworkGameTest, UnitsByAChargerShowTheSameHealthAndBarOnEveryPeer) {
    ASSERT_TRUE(game.Serve(0));
    Vorn* whole = AddUnit(&GetLocalPlayer(), 45, 40);
    Vorn* hurt = AddUnit(&GetLocalPlayer(), 35, 40);
    Vorn* wholeCopy = AddUnit(&GetLocalPlayer(), 120, 120);
    Vorn* hurtCopy = AddUnit(&GetLocalPlayer(), 120, 80);
    for (Vorn* unit : {whole, hurt, wholeCopy, hurtCopy}) unit->AssignId(*arena);
    hurt->SetHealth(hurt->maxHealth * 0.5f);
    hurtCopy->SetHealth(hurt->health);
    // After the units, so that a tick's heal and the report of it land after their timers ran.
    world_test::AddObjectOfKind(*arena, kKindSolarCharger, 40, 40);
    game.frameTime = 0.1f;
    for (int tick = 0; tick < 60; ++tick) {
        game.reports.clear();
        arena->AdvanceObjectClocks();
        arena->Update();
        for (NetworkEvent& event : game.reports) {
            event.value =
                static_cast<uint32_t>(static_cast<int>(event.value) == hurt->id ? hurtCopy->id : wholeCopy->id);
            game.Apply(event);
        }
        for (auto [unit, copy] : {std::pair{whole, wholeCopy}, std::pair{hurt, hurtCopy}}) {
            EXPECT_EQ(copy->health, unit->health) << tick;
            // Told after its own timers ran, a copy's bar may run a frame behind, no more.
            EXPECT_NEAR(std::max(copy->healthBarTimer, 0.0f), std::max(unit->healthBarTimer, 0.0f), 0.101f) << tick;
        }
    }
    EXPECT_EQ(hurt->health, hurt->maxHealth);
    EXPECT_LE(whole->healthBarTimer, 0.0f);
}

TEST_F(NetworkGameTest, SoccerDealsEachPlayerItsNetsAndDropsTheSurplus) {
    ASSERT_TRUE(game.Serve(0));
    game.SetGameRules(NetworkGame::kSoccer);
    game.SetSoccerNetCount(1);
    for (float x : {20.0f, 60.0f, 100.0f}) world_test::AddObjectOfKind(*arena, kKindGoal, x, 30)->AssignId(*arena);
    game.BuildWorldText();
    arena->RemoveFlaggedObjects(false);
    ASSERT_EQ(arena->CountObjectsOfKind(kKindGoal), 1);
    for (WorldObject* object : arena->Objects()) {
        if (object->kind == kKindGoal) {
            EXPECT_EQ(static_cast<Goal*>(object)->owner, &GetLocalPlayer());
        }
    }
}

TEST_F(NetworkGameTest, EachBattleCountsTheScoreboardFromTheBattlefieldUnderItsRules) {
    ASSERT_TRUE(game.Serve(0));
    Player& local = GetLocalPlayer();
    local.losses = 4;
    local.goalCount = 2;
    AddUnit(&local, 40, 40);
    Vorn* high = AddUnit(&local, 80, 40);
    high->vip = 1;
    world_test::AddObjectOfKind(*arena, kKindRock, 20, 20);
    const Scoreboard& board = GetScoreboard();

    game.SetGameRules(NetworkGame::kShootForTheStars);
    game.StartBattle();
    EXPECT_EQ(local.vornsAlive, 2);
    EXPECT_EQ(local.vipCount, 1);
    EXPECT_EQ(local.losses, 0);
    EXPECT_EQ(local.goalCount, 0);
    EXPECT_EQ(std::count(std::begin(board.columnShown), std::end(board.columnShown), true), 2);
    EXPECT_TRUE(board.columnShown[6]);
    local.AddLoss();
    EXPECT_EQ(local.vornsAlive, 1);

    // The heights the game measures are the ones the scoreboard shows.
    game.SetGameRules(NetworkGame::kKingOfTheHill);
    game.StartBattle();
    EXPECT_FALSE(board.columnShown[6]);
    game.UpdateGreatestHeights();
    EXPECT_FLOAT_EQ(local.greatestHeight, high->position.z);
}

TEST_F(NetworkGameTest, LeavingTheModeEmptiesTheBattlefieldAndRestartsTheIds) {
    ASSERT_TRUE(game.Serve(0));
    for (int i = 0; i < 100000; ++i) arena->TakeSyncedId();
    WorldObject* tree = world_test::AddObjectOfKind(*arena, kKindTree, 10, 10);
    tree->AssignId(*arena);
    const int lateId = tree->id;
    game.End();
    EXPECT_FALSE(game.IsNetworkServer());
    EXPECT_EQ(arena->ObjectCount(), 0);
    EXPECT_LT(arena->TakeSyncedId(), lateId);
}

}  // namespace
