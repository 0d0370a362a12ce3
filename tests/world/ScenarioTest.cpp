// Scenario files, the last play point and squad files: round trips, the documented
// hand-written form, and damaged or hostile texts.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/MathUtil.h"
#include "core/MemoryBlock.h"
#include "core/StringStream.h"
#include "game/PlayerRoster.h"
#include "game/Squad.h"
#include "game/SquadSummary.h"
#include "platform/sys/Random.h"
#include "support/LogLines.h"
#include "support/SpeedBattleFiles.h"
#include "support/TempFolder.h"
#include "support/TestArena.h"
#include "support/VornTestWorld.h"
#include "world/FieldStanding.h"
#include "world/FlyByPoint.h"
#include "world/LaunchPoint.h"
#include "world/Rock.h"
#include "world/SaveFilePaths.h"
#include "world/Terrain.h"
#include "world/TerrainType.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A 16 x 16 flat grass map in the terrain's text form.
std::string FlatMap() {
    std::string map = "[ < 16, 16 >, \n";
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 16; ++i) {
            map += "Ga0 ";
        }
        map += "\n";
    }
    return map + "]\n";
}

std::string TreeEntry(float x, float y) {
    std::ostringstream text;
    text << "Type Tree\nSubType 0\nPosition < " << x << ", " << y << ", 0 >\nAngle 0\nEnd\n";
    return text.str();
}

std::string UnitEntry(const char* name, const char* chassis, float x, float y) {
    std::string text = std::string("Type Vorn\nName ") + name + "\nPosition < " + std::to_string(x) + ", " +
                       std::to_string(y) + ", 0 >\n";
    if (chassis != nullptr) {
        text += std::string("ChassisType ") + chassis + "\n";
    }
    return text + "Edited 1\nEnd\n";
}

// Every two of the units stand apart by more than their radii and the squad's spacing.
template <typename Units>
::testing::AssertionResult StandApart(const Units& units) {
    for (auto a = units.begin(); a != units.end(); ++a) {
        for (auto b = a + 1; b != units.end(); ++b) {
            const float apart = std::hypot((*a)->position.x - (*b)->position.x, (*a)->position.y - (*b)->position.y);
            if (apart < (*a)->GetRadius() + (*b)->GetRadius() + 0.01f)
                return ::testing::AssertionFailure() << (*a)->name.CStr() << " and " << (*b)->name.CStr() << " are "
                                                     << apart << " apart";
        }
    }
    return ::testing::AssertionSuccess();
}

class ScenarioTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        const String base((folder.Path() + "/").c_str());
        SetDataFolders(base, base, base);
    }
    void TearDown() override {
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
    }
    // Whether the text was read whole.
    bool ReadText(const std::string& text) {
        arena->ClearBattlefield(true);
        StringStream stream(text.c_str());
        String section;
        const bool whole = arena->ReadScenario(stream, "test", section);
        arena->RebuildGrid();
        return whole;
    }
    std::string WrittenText() {
        StringStream stream;
        arena->WriteScenario(stream);
        return stream.Text();
    }
    bool Exists(const std::string& name) { return std::filesystem::exists(folder / name); }
    // The squad file "Crowd": 33 large robots side by side, out to the edge of the squad's
    // circle; answers the number of members.
    int SaveCrowd() {
        std::vector<Vorn*> crowd;
        for (int i = 0; i < 36; ++i) {
            const float x = 80.0f + float(i % 6 - 2.5f) * 6.4f;
            const float y = 80.0f + float(i / 6 - 2.5f) * 6.4f;
            crowd.push_back(AddUnit(&red, kRobotLarge, x, y, 0.0f));
            crowd.back()->name = ("L" + std::to_string(i)).c_str();
            crowd.back()->edited = 1;
            crowd.back()->patternCount = 1;
            crowd.back()->PatternAt(0).AddPathPoint()->position = Vector2(5.0f, 0.0f);
        }
        EXPECT_TRUE(arena->SaveSquadFile("Crowd", Vector3(80, 80, 0), crowd));
        arena->ClearBattlefield(false);
        Squad saved;
        EXPECT_TRUE(saved.Load("Crowd", -1));
        const int members = saved.Count();
        saved.DestroyMembers();
        return members;
    }
    void AddRing(const Vector2& centre, int rocks, float radius) {
        for (int k = 0; k < rocks; ++k) {
            const float angle = float(k) * 2.0f * kPi / float(rocks);
            world_test::AddObjectOfKind(*arena, kKindRock, centre.x + radius * std::cos(angle),
                                        centre.y + radius * std::sin(angle));
        }
    }
    // Every unit with neither lava nor water under its centre or the corners of its square.
    ::testing::AssertionResult UnitsStandDry() {
        for (const WorldObject* object : arena->Objects()) {
            if (object->kind != kKindVorn) continue;
            const float r = object->shape.Radius();
            for (const Vector2 d : {Vector2(0, 0), Vector2(-r, -r), Vector2(-r, r), Vector2(r, -r), Vector2(r, r)}) {
                const int ground = arena->GetTerrainType(object->position.x + d.x, object->position.y + d.y);
                if (IsLavaTerrain(ground) || IsWaterTerrain(ground)) {
                    return ::testing::AssertionFailure() << "a unit at " << object->position.x << ", "
                                                         << object->position.y << " stands in lava or water";
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    platform_test::TempFolder folder;
};

TEST_F(ScenarioTest, EmptyBattlefieldWritesTheDocumentedLines) {
    const std::vector<std::string> lines = Lines(WrittenText());
    ASSERT_EQ(lines.size(), 3u + 18u + 4u);
    EXPECT_EQ(lines[0], "Scenario");
    EXPECT_EQ(lines[1], "Version 1");
    EXPECT_EQ(lines[2], "Map ");
    EXPECT_EQ(lines[3], "[ < 16, 16 >, ");
    EXPECT_EQ(lines[20], "]");
    EXPECT_EQ(lines[21], "Objects 0");
    EXPECT_EQ(lines[22], "LaunchPoints 0");
    EXPECT_EQ(lines[23], "FlyByPoints 0");
    EXPECT_EQ(lines[24], "EndScenario");
}

// The text without its "ID" lines: ids are handed out again on every load.
std::string WithoutIds(const std::string& text) {
    std::string kept;
    for (const std::string& line : Lines(text)) {
        if (line.rfind("ID ", 0) != 0) {
            kept += line + "\n";
        }
    }
    return kept;
}

TEST_F(ScenarioTest, SavedBattlefieldLoadsBackAsItWas) {
    GetPlayerRoster().networkPlayers.Append(&red);
    GetPlayerRoster().networkPlayers.Append(&blue);
    arena->GetTerrain().RaiseCircle({60, 60, 30}, 7.0f, false);
    arena->GetTerrain().PaintCircle({120, 120, 15}, kTerrainSand);
    ASSERT_TRUE(arena->PlaceObjectAt(kKindTree, 1, Vector3(30, 30, 0)));
    ASSERT_TRUE(arena->PlaceObjectAt(kKindRock, 2, Vector3(130, 40, 0)));
    Vorn* unit = AddUnit(&red, kRobotMedium, 100, 100, 0.5f);
    unit->name = "Keeper";
    unit->edited = 1;  // written in full, not as a reference to its unit file
    unit->vip = 1;
    unit->GiveBall();
    Vorn* scout = AddUnit(&blue, kRobotSmall, 20, 140, 0.0f);
    scout->name = "Scout";
    scout->edited = 1;
    arena->ToggleLaunchPoint(Vector2(10, 10), false);
    arena->ToggleLaunchPoint(Vector2(150, 150), false);
    arena->ToggleFlyByPoint(Vector3(40, 40, 0), false);
    arena->ToggleFlyByPoint(Vector3(120, 40, 0), false);
    arena->TakeRandomLaunchPoint();
    const float hill = arena->GetGroundHeight(60, 60);

    ASSERT_TRUE(arena->SaveScenario("Field"));
    EXPECT_TRUE(Exists("Field.SCN"));
    EXPECT_FALSE(Exists("Field.SCN.tmp"));
    EXPECT_EQ(arena->scenarioName, "Field");
    const std::string first = WrittenText();

    ASSERT_TRUE(arena->LoadScenario("Field"));
    EXPECT_FLOAT_EQ(arena->GetGroundHeight(60, 60), hill);
    EXPECT_EQ(arena->GetTerrainType(120, 120), kTerrainSand);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindTree), 1);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindRock), 1);
    ASSERT_EQ(arena->CountObjectsOfKind(kKindVorn), 2);
    const Vorn* keeper = nullptr;
    for (WorldObject* object : arena->Objects()) {
        if (object->kind == kKindVorn && static_cast<Vorn*>(object)->name == "Keeper") {
            keeper = static_cast<Vorn*>(object);
        }
    }
    ASSERT_NE(keeper, nullptr);
    EXPECT_EQ(keeper->vip, 1);
    EXPECT_EQ(keeper->carryingBall, 1);
    EXPECT_EQ(keeper->chassisType, kRobotMedium);
    EXPECT_GT(keeper->health, 0.0f);
    EXPECT_NEAR(keeper->position.x, 100.0f, 1e-3f);
    ASSERT_EQ(arena->launchPoints.Count(), 2);
    EXPECT_EQ(arena->launchPoints[0]->used, 0);  // all unused after a load
    ASSERT_EQ(arena->flyByPoints.Count(), 2);
    EXPECT_GT(arena->flyByPathLength, 0.0f);  // the first segment is built
    // The loaded battlefield writes the same scenario again.
    EXPECT_EQ(WithoutIds(WrittenText()), WithoutIds(first));
    GetPlayerRoster().networkPlayers.Clear();
}

TEST_F(ScenarioTest, HandWrittenScenarioWithStrayLinesAndCrLfLoads) {
    std::string text = "Scenario\nVersion 1\nMap \n" + FlatMap() + "SomethingElse 12\nObjects 2\n" + TreeEntry(50, 50) +
                       "\n" + "VIP\n" + UnitEntry("Boss", "StalkLarge", 90, 90) +
                       "\nLaunchPoints 2\n\t< 10, 10 >\n\t< 10.5, 10.5 >\nFlyByPoints 1\n\t< 70, 70, 0 >\n"
                       "EndScenario\n";
    std::string crlf;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    ReadText(crlf);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindTree), 1);
    ASSERT_EQ(arena->CountObjectsOfKind(kKindVorn), 1);
    EXPECT_EQ(arena->launchPoints.Count(), 0);  // the second toggles the first away
    EXPECT_EQ(arena->flyByPoints.Count(), 1);
}

TEST_F(ScenarioTest, UnsavedKindEndsTheObjectListButPointsStillLoad) {
    const std::string text = "Scenario\nVersion 1\nObjects 3\n" + TreeEntry(40, 40) +
                             "Type Missile\nPosition < 1, 1, 1 >\nEnd\n" + TreeEntry(80, 80) +
                             "LaunchPoints 1\n\t< 20, 30 >\nEndScenario\n";
    ReadText(text);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindTree), 1);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindMissile), 0);
    ASSERT_EQ(arena->launchPoints.Count(), 1);
    EXPECT_FLOAT_EQ(arena->launchPoints[0]->position.y, 30.0f);
}

TEST_F(ScenarioTest, UnitWithoutChassisGoesBackToItsPool) {
    const int freeBefore = arena->PoolOfKind(kKindVorn)->FreeCount();
    // The ghost carries patterns: their points go back to the pools with it.
    const std::string ghost =
        battle_files::UnitFile("Ghost", nullptr, "Laser", "Laser", battle_files::BattlePatterns());
    const std::string text = "Scenario\nVersion 1\nObjects 2\n" + ghost + UnitEntry("Real", "RobotSmall", 90, 40) +
                             "EndScenario\n";
    ReadText(text);
    ASSERT_EQ(arena->CountObjectsOfKind(kKindVorn), 1);
    EXPECT_EQ(static_cast<Vorn*>(arena->ObjectAt(0))->name, "Real");
    EXPECT_EQ(StrayPathPoints(*arena), 0);
    arena->FlushObjectPools();
    EXPECT_EQ(arena->PoolOfKind(kKindVorn)->FreeCount(), freeBefore - 1);
    // A unit file damaged after its patterns is not placed; its points go back the same.
    std::string broken =
        battle_files::UnitFile("Broken", "RobotSmall", "Laser", "Laser", battle_files::BattlePatterns());
    broken.insert(broken.rfind("End"), "ID none\n");
    std::ofstream(folder / "Broken.VRN") << broken;
    EXPECT_EQ(arena->PlaceVornAt("Broken", Vector3(40, 90, 0), &red), nullptr);
    EXPECT_EQ(StrayPathPoints(*arena), 0);
}

TEST_F(ScenarioTest, HostileCountsAndNumbersAreRefused) {
    // A huge count with one entry behind it: the reader stops at the end of the text.
    ReadText("Scenario\nVersion 1\nObjects 2000000000\n" + TreeEntry(40, 40));
    EXPECT_EQ(arena->CountObjectsOfKind(kKindTree), 1);

    // A component that is not finite keeps its 0 and reading goes on.
    EXPECT_TRUE(
        ReadText("Scenario\nVersion 1\nObjects -5\nLaunchPoints 3\n\t< 5, 5 >\n\t< nan, 5 >\n"
                 "\t< 50, 50 >\nFlyByPoints 1\n\t< inf, 2, 0 >\nEndScenario\n"));
    ASSERT_EQ(arena->launchPoints.Count(), 3);
    EXPECT_FLOAT_EQ(arena->launchPoints[1]->position.x, 0.0f);
    EXPECT_FLOAT_EQ(arena->launchPoints[1]->position.y, 5.0f);
    ASSERT_EQ(arena->flyByPoints.Count(), 1);
    EXPECT_FLOAT_EQ(arena->flyByPoints[0]->position.y, 2.0f);

    // Launch points beyond the cap are read and dropped.
    std::string many = "Scenario\nVersion 1\nLaunchPoints 1005\n";
    for (int k = 0; k < 1005; ++k) {
        many += "\t< " + std::to_string(2 * k) + ", 0 >\n";
    }
    ReadText(many + "FlyByPoints 1\n\t< 3, 3, 0 >\nEndScenario\n");
    EXPECT_EQ(arena->launchPoints.Count(), 1000);
    EXPECT_EQ(arena->flyByPoints.Count(), 1);
}

TEST_F(ScenarioTest, UnsafeNamesAndFailedSavesReportFalse) {
    EXPECT_FALSE(arena->SaveScenario("../Evil"));
    EXPECT_FALSE(arena->SaveScenario(""));
    EXPECT_FALSE(Exists("../Evil.SCN"));
    AddUnit(&red, kRobotSmall, 50, 50, 0);
    EXPECT_FALSE(arena->LoadScenario("a/b"));
    EXPECT_EQ(arena->ObjectCount(), 0);  // a refused name is a missing file
    EXPECT_FALSE(arena->LoadScenario("Missing"));

    const String base((folder.Path() + "/NoSuchFolder/").c_str());
    SetDataFolders(base, base, base);
    EXPECT_FALSE(arena->SaveScenario("Lost"));
}

TEST_F(ScenarioTest, LastPlayPointRestoresAndPauses) {
    arena->SetScenarioName("Named");
    ASSERT_TRUE(arena->PlaceObjectAt(kKindRock, 0, Vector3(70, 70, 0)));
    // None kept yet: the field is not cleared for nothing.
    arena->RestoreLastPlayPoint(false);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindRock), 1);
    arena->ToggleLaunchPoint(Vector2(30, 30), false);
    ASSERT_TRUE(arena->SaveScenario("__Temp"));
    EXPECT_EQ(arena->scenarioName, "Named");

    arena->ClearBattlefield(true);
    arena->GetTerrain().Fill(kTerrainLava);
    AddUnit(&red, kRobotSmall, 20, 20, 0);
    game.playerPaused = 0;
    arena->RestoreLastPlayPoint(false);
    EXPECT_TRUE(game.IsSimulationPaused());
    EXPECT_EQ(arena->CountObjectsOfKind(kKindVorn), 0);
    EXPECT_EQ(arena->CountObjectsOfKind(kKindRock), 1);
    EXPECT_EQ(arena->launchPoints.Count(), 1);
    EXPECT_EQ(arena->GetTerrainType(80, 80), kTerrainGrass);
    EXPECT_EQ(arena->scenarioName, "Named");
}

TEST_F(ScenarioTest, SquadKeepsItsLayoutTurnedAsAWhole) {
    Vorn* a = AddUnit(&red, kRobotSmall, 110, 50, 0);
    Vorn* b = AddUnit(&red, 4, 100, 60, 0);
    a->name = "Alpha";
    b->name = "Beta";
    a->edited = b->edited = 1;
    Vorn* const units[] = {a, b};
    ASSERT_TRUE(arena->SaveSquadFile("Pair", Vector3(100, 50, 0), units));
    EXPECT_TRUE(Exists("Pair.SQD"));
    EXPECT_FLOAT_EQ(a->position.x, 110.0f);  // put back after the save
    EXPECT_EQ(arena->squadName, "Pair");

    arena->ClearBattlefield(true);
    ASSERT_EQ(arena->LoadSquadFile("Pair", Vector3(40, 40, 0), &blue), 2);
    ASSERT_EQ(arena->ObjectCount(), 2);
    const Vorn* first = static_cast<Vorn*>(arena->ObjectAt(0));
    const Vorn* second = static_cast<Vorn*>(arena->ObjectAt(1));
    EXPECT_EQ(first->owner, &blue);
    EXPECT_EQ(first->fromSquad, 1);
    EXPECT_GT(first->health, 0.0f);
    const float da = std::hypot(first->position.x - 40.0f, first->position.y - 40.0f);
    const float db = std::hypot(second->position.x - 40.0f, second->position.y - 40.0f);
    EXPECT_NEAR(da, 10.0f, 0.05f);
    EXPECT_NEAR(db, 10.0f, 0.05f);
    EXPECT_NEAR(std::hypot(first->position.x - second->position.x, first->position.y - second->position.y),
                std::sqrt(200.0f), 0.05f);
}

// Lassoed over a hill and pulled into the squad's circle: two medium units 3.76 apart
// where 4.51 is needed, small ones 2.72 and 3.001 apart where 3.01 is, two stacked on one
// spot, one on the circle's edge, the rest on a ring. Saved now, or as an older save
// wrote them (pressed, with the hill's heights), each file comes back with all 18 members
// apart, inside the circle and, dropped on flat ground, standing on it.
TEST_F(ScenarioTest, PressedMembersOfASelectionComeBackWholeApartAndOnTheGround) {
    arena->GetTerrain().RaiseCircle({60, 60, 30}, 7.0f, false);
    std::vector<std::pair<int, Vector2>> places = {
        {kRobotMedium, {0.0f, 0.0f}},  {kRobotMedium, {3.76f, 0.0f}}, {kRobotSmall, {-6.0f, 5.0f}},
        {kRobotSmall, {-3.28f, 5.0f}}, {kRobotSmall, {8.0f, -8.0f}},  {kRobotSmall, {8.0f, -4.999f}},
        {kRobotSmall, {5.0f, 5.0f}},   {kRobotSmall, {5.0f, 5.0f}},   {kRobotMedium, {20.00004f, 0.0f}}};
    for (int i = 0; i < 9; ++i)
        places.push_back({kRobotSmall, {14.0f * std::cos(i * 0.7f), 14.0f * std::sin(i * 0.7f)}});
    std::vector<Vorn*> units;
    for (const auto& [chassis, at] : places) {
        units.push_back(AddUnit(&red, chassis, 60.0f + at.x, 60.0f + at.y, 0.0f));
        units.back()->name = ("M" + std::to_string(units.size())).c_str();
        units.back()->edited = 1;
    }
    ASSERT_TRUE(arena->SaveSquadFile("Edge", Vector3(60, 60, 0), units));
    Squad old;
    for (Vorn* unit : units) {
        unit->SetPosition(unit->position - Vector3(60, 60, 0));
        old.Add(unit);
    }
    ASSERT_TRUE(old.Save("Old"));
    old.Clear();
    arena->ClearBattlefield(true);

    for (const char* name : {"Edge", "Old"}) {
        SCOPED_TRACE(name);
        Squad read;
        ASSERT_TRUE(read.Load(name, -1));
        EXPECT_EQ(read.Count(), 18);
        EXPECT_TRUE(read.leftOut.IsEmpty());
        EXPECT_TRUE(StandApart(read.members));
        for (const Vorn* member : read.members)
            EXPECT_LE(Vector2(member->position.x, member->position.y).Length(), 20.0f);
        if (name == std::string("Edge")) {
            // Saved sound: read as it stands, no member moved.
            SquadSummary listed;
            ASSERT_TRUE(listed.Load(name));
            for (int i = 0; i < read.Count(); ++i)
                EXPECT_NEAR(
                    listed.entries[i].position.Distance({read.members[i]->position.x, read.members[i]->position.y}),
                    0.0f, 0.001f);
        }
        read.DestroyMembers();

        arena->ClearBattlefield(true);
        ASSERT_EQ(arena->LoadSquadFile(name, Vector3(130, 130, 0), &blue), 18);
        std::vector<const Vorn*> dropped;
        for (const WorldObject* object : arena->Objects()) dropped.push_back(static_cast<const Vorn*>(object));
        EXPECT_TRUE(StandApart(dropped));
        for (const Vorn* unit : dropped) {
            EXPECT_NEAR(unit->position.z,
                        arena->GetGroundHeight(unit->position.x, unit->position.y) + unit->GetRadius(), 0.01f)
                << unit->name.CStr() << " is not on the ground";
        }
    }
}

// A crowd of large robots pulled into the squad's circle as a wide lasso forms it, saved
// and dropped at many turns: on empty ground, across the field's edges, and over units
// standing there, dropped from the tray or launched, every member stands on the ground
// apart from every unit, none on top of another.
TEST_F(ScenarioTest, ACrowdOfLargeRobotsDroppedAnywhereStandsApartOnTheGround) {
    const int members = SaveCrowd();
    EXPECT_EQ(members, 33);
    Squad saved;

    const Vector3 points[] = {{80, 80, 0}, {3, 4, 0}, {158, 79, 0}, {40, 157, 0}};
    for (const uint32_t seed : {1u, 2u, 3u, 5u, 8u, 13u, 21u}) {
        for (const Vector3& point : points) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " at " + std::to_string(point.x) + ", " +
                         std::to_string(point.y));
            arena->ClearBattlefield(false);
            sys::SRand(seed);
            StringArray leftOut;
            EXPECT_EQ(arena->LoadSquadFile("Crowd", point, &blue, &leftOut), members);
            EXPECT_TRUE(leftOut.IsEmpty());
            EXPECT_TRUE(FieldStandsApartOnTheGround(*arena));
            // Dropped again a little aside, over the members standing there: laid out
            // around them, none lost.
            EXPECT_EQ(arena->LoadSquadFile("Crowd", point + Vector3(9, -6, 0), &blue), members);
            EXPECT_TRUE(FieldStandsApartOnTheGround(*arena));
        }
    }
    // Launched over them: the same.
    ASSERT_TRUE(saved.Load("Crowd", -1));
    EXPECT_EQ(arena->PlaceSquadUnits(saved, Vector3(30, 150, 0), &red, true), members);
    saved.Clear();
    EXPECT_TRUE(FieldStandsApartOnTheGround(*arena));
    // Dropped at one spot until the ground near it is full: those without room are named,
    // none is stacked, and their records give their patterns back to the pools.
    int named = 0;
    for (int drop = 0; drop < 8; ++drop) {
        StringArray noRoom;
        const int placed = arena->LoadSquadFile("Crowd", Vector3(80, 80, 0), &blue, nullptr, &noRoom);
        EXPECT_EQ(placed + noRoom.Count(), members);
        named += noRoom.Count();
    }
    EXPECT_GT(named, 0);
    EXPECT_TRUE(FieldStandsApartOnTheGround(*arena));
    EXPECT_EQ(StrayPathPoints(*arena), 0);
}

// A squad dropped where its places are taken, beside lava and water and inside a ring
// of rocks: each member moves only onto dry ground, never past the rocks; one with no
// such ground near is left out and named.
TEST_F(ScenarioTest, ADropOnTakenGroundKeepsOffLavaAndWaterAndInsideWalls) {
    std::vector<Vorn*> squad;
    for (int i = 0; i < 4; ++i) {
        squad.push_back(AddUnit(&red, kRobotSmall, 80.0f + float(i % 2) * 4.0f, 80.0f + float(i / 2) * 4.0f, 0.0f));
        squad.back()->name = ("S" + std::to_string(i)).c_str();
        squad.back()->edited = 1;
    }
    ASSERT_TRUE(arena->SaveSquadFile("Four", Vector3(82, 82, 0), squad));
    arena->ClearBattlefield(false);
    // Lava east of x = 105, water south of y = 55; the dry corner between them full.
    Terrain& terrain = arena->GetTerrain();
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            if (i >= 11) terrain.CellAt(i, j).type = kTerrainLava;
            else if (j <= 5) terrain.CellAt(i, j).type = kTerrainWater;
        }
    }
    const float r = squad[0]->GetRadius();
    const auto fill = [&](const Vector2& low, const Vector2& high, const Vector2& centre, float within) {
        for (float y = low.y; y <= high.y; y += 2.0f * r + 0.05f) {
            for (float x = low.x; x <= high.x; x += 2.0f * r + 0.05f) {
                if (Vector2(x, y).Distance(centre) <= within) AddUnit(&blue, kRobotSmall, x, y, 0.0f);
            }
        }
    };
    fill({75, 57}, {103, 85}, {0, 0}, 1e9f);
    StringArray noRoom;
    EXPECT_EQ(arena->LoadSquadFile("Four", Vector3(97, 63, 0), &red, nullptr, &noRoom), 4);
    EXPECT_TRUE(noRoom.IsEmpty());
    EXPECT_TRUE(UnitsStandDry());
    // A ring of rocks full inside up to `within` from its centre: no member leaves it,
    // every one is named instead.
    const auto ringHolds = [&](const Vector2& centre, int rocks, float radius, float within) {
        AddRing(centre, rocks, radius);
        const Vector2 corner(within + 0.5f, within + 0.5f);
        fill(centre - corner, centre + corner, centre, within);
        const int before = arena->CountObjectsOfKind(kKindVorn);
        EXPECT_EQ(arena->LoadSquadFile("Four", Vector3(centre.x, centre.y, 0), &red, nullptr, &noRoom), 0);
        EXPECT_EQ(noRoom.Count(), 4);
        EXPECT_EQ(arena->CountObjectsOfKind(kKindVorn), before);
    };
    ringHolds({40, 120}, 40, 8.0f, 6.5f);
    // Twelve rocks whose gaps are narrower than a member: it does not slip out between two.
    const float ring = (2.0f * Rock::kCylinderRadius + 1.6f * r) / (2.0f * std::sin(kPi / 12.0f));
    ringHolds({40, 80}, 12, ring, ring - Rock::kCylinderRadius - r - 0.05f);
}

// Rocks 25 from the centre of a crowd dropped there, 4.7 apart, narrower than a member:
// those whose places touch a rock are moved inward or left out, never out between two.
TEST_F(ScenarioTest, ACrowdDroppedInARingItsPlacesTouchStaysInside) {
    const int members = SaveCrowd();
    const Vector2 centre(80, 80);
    AddRing(centre, 18, 25.0f);
    for (int drop = 0; drop < 5; ++drop) {
        StringArray noRoom;
        EXPECT_EQ(arena->LoadSquadFile("Crowd", Vector3(centre.x, centre.y, 0), &blue, nullptr, &noRoom) +
                      noRoom.Count(),
                  members);
    }
    for (const WorldObject* object : arena->Objects()) {
        if (object->kind != kKindVorn) continue;
        EXPECT_LT(Vector2(object->position.x, object->position.y).Distance(centre), 25.0f)
            << object->position.x << ", " << object->position.y;
    }
    EXPECT_TRUE(FieldStandsApartOnTheGround(*arena));
}

// A lava band across the field, its ground from y = 105 to 125, and crowds beside it:
// those whose places reach into it are put on dry ground, and none is carried across.
TEST_F(ScenarioTest, ACrowdBesideLavaStandsDryOnItsOwnSide) {
    const int members = SaveCrowd();
    Terrain& terrain = arena->GetTerrain();
    for (int i = 0; i < 16; ++i) {
        terrain.CellAt(i, 11).type = kTerrainLava;
        terrain.CellAt(i, 12).type = kTerrainLava;
    }
    // Two crowds launched at one point 17 below the band among rocks, a tree and a
    // charger, battle after battle.
    for (int battle = 0; battle < 5; ++battle) {
        for (const Vector2& rock : {Vector2(100, 86), Vector2(140, 86), Vector2(120, 72)}) {
            world_test::AddObjectOfKind(*arena, kKindRock, rock.x, rock.y);
        }
        world_test::AddObjectOfKind(*arena, kKindTree, 110, 100);
        world_test::AddObjectOfKind(*arena, kKindSolarCharger, 130, 100);
        for (Player* player : {&red, &blue}) {
            Squad crowd;
            ASSERT_TRUE(crowd.Load("Crowd", -1));
            EXPECT_EQ(arena->PlaceSquadUnits(crowd, Vector3(120, 88, 0), player, true), members);
        }
        EXPECT_TRUE(UnitsStandDry()) << "battle " << battle;
        arena->ClearBattlefield(false);
    }
    // Dropped on dry ground south of it whose squad places reach 13 into the band: those
    // move out of it on the squad's side, not the nearer far one.
    const auto noneBetween = [&](float low, float high) {
        for (const WorldObject* object : arena->Objects()) {
            EXPECT_FALSE(object->position.y > low && object->position.y < high)
                << object->position.x << ", " << object->position.y;
        }
    };
    StringArray noRoom;
    EXPECT_EQ(arena->LoadSquadFile("Crowd", Vector3(40, 98, 0), &red, nullptr, &noRoom) + noRoom.Count(), members);
    EXPECT_GE(arena->CountObjectsOfKind(kKindVorn), members / 2);
    EXPECT_TRUE(UnitsStandDry());
    noneBetween(105.0f, 160.0f);
    arena->ClearBattlefield(false);
    // Dropped again and again on the stone just north of it.
    for (int drop = 0; drop < 4; ++drop) {
        EXPECT_EQ(arena->LoadSquadFile("Crowd", Vector3(80, 148.5f, 0), &red, nullptr, &noRoom) + noRoom.Count(),
                  members);
    }
    noneBetween(60.0f, 125.0f);
    arena->ClearBattlefield(false);
    // Launched, three times, at a point of a crossing three points wide with lava on either
    // side, and at one half a unit short of the band: every member placed, dry and apart.
    for (int i = 0; i < 16; ++i) {
        terrain.CellAt(i, 11).type = i >= 6 && i <= 8 ? kTerrainStone : kTerrainLava;
        terrain.CellAt(i, 12).type = i >= 6 && i <= 8 ? kTerrainStone : kTerrainLava;
    }
    for (const Vector3& point : {Vector3(70, 115, 0), Vector3(58, 110, 0), Vector3(120, 104.5f, 0)}) {
        for (Player* player : {&red, &blue, &red}) {
            Squad crowd;
            ASSERT_TRUE(crowd.Load("Crowd", -1));
            EXPECT_EQ(arena->PlaceSquadUnits(crowd, point, player, true), members);
        }
        EXPECT_TRUE(UnitsStandDry()) << "launched at " << point.x << ", " << point.y;
        EXPECT_TRUE(FieldStandsApartOnTheGround(*arena)) << "launched at " << point.x << ", " << point.y;
        arena->ClearBattlefield(false);
    }
}

// On open ground beside a band of lava or water two points wide (and one across the
// field's edge), crowds dropped a few units from it, and one, two and three launched at a
// point short of it or past it, are placed whole: dry, on the ground, apart, and none on
// the band's far side.
TEST_F(ScenarioTest, CrowdsBesideABandOnOpenGroundArePlacedWhole) {
    const int members = SaveCrowd();
    Terrain& terrain = arena->GetTerrain();
    const float height = arena->WorldHeight();
    for (const auto& [row, type] : {std::pair{11, kTerrainLava}, {11, kTerrainWater}, {15, kTerrainLava}}) {
        for (int i = 0; i < 16; ++i) {
            for (int j = 0; j < 16; ++j) {
                terrain.CellAt(i, j).type = j == row || j == (row + 1) % 16 ? type : kTerrainGrass;
            }
        }
        // The band's ground runs from `low` for 20 units; its near side lies below it.
        const float low = float(row) * 10.0f - 5.0f;
        const auto onSide = [&](float y, bool below) {
            const float past = std::fmod(y - low + 2.0f * height, height);
            return below ? past > height - 70.0f : past > 20.0f && past < 90.0f;
        };
        const auto fieldHolds = [&](int expected, bool below, const std::string& what) {
            SCOPED_TRACE(what + " by the band at row " + std::to_string(row) + " of type " + std::to_string(type));
            EXPECT_EQ(arena->CountObjectsOfKind(kKindVorn), expected);
            EXPECT_TRUE(UnitsStandDry());
            EXPECT_TRUE(FieldStandsApartOnTheGround(*arena));
            for (const WorldObject* object : arena->Objects()) {
                EXPECT_TRUE(onSide(object->position.y, below)) << object->position.x << ", " << object->position.y;
            }
        };
        for (const float from : {3.0f, 9.0f, 15.0f}) {
            for (const bool below : {true, false}) {
                for (const uint32_t seed : {1u, 2u, 3u}) {
                    sys::SRand(seed);
                    const float y = below ? low - from : low + 20.0f + from;
                    StringArray noRoom;
                    arena->LoadSquadFile("Crowd", arena->WrapPosition(Vector3(40.0f + 30.0f * float(seed), y, 0)),
                                         &red, nullptr, &noRoom);
                    EXPECT_TRUE(noRoom.IsEmpty()) << noRoom.Count() << " named";
                    fieldHolds(members, below, "dropped " + std::to_string(from) + " from it");
                    arena->ClearBattlefield(false);
                }
            }
        }
        for (const float y : {low - 4.0f, low - 0.5f, low + 26.0f}) {
            for (const uint32_t seed : {1u, 2u}) {
                sys::SRand(seed);
                for (int crowds = 1; crowds <= 3; ++crowds) {
                    Squad crowd;
                    ASSERT_TRUE(crowd.Load("Crowd", -1));
                    arena->PlaceSquadUnits(crowd, arena->WrapPosition(Vector3(120, y, 0)), crowds == 2 ? &blue : &red,
                                           true);
                    fieldHolds(crowds * members, y < low, "launched at " + std::to_string(y));
                }
                arena->ClearBattlefield(false);
            }
        }
    }
    // On an island of three by three points in a lava field, a launch places those the dry
    // ground holds and names the rest, none stacked, their records given back whole; and
    // beside a shore past one point of lava, a second launch onto the full island still
    // places those whose places fall on the shore there.
    for (const int shore : {16, 11}) {
        for (int i = 0; i < 16; ++i) {
            for (int j = 0; j < 16; ++j) {
                const bool island = i >= 7 && i <= 9 && j >= 7 && j <= 9;
                terrain.CellAt(i, j).type = island || i >= shore ? kTerrainGrass : kTerrainLava;
            }
        }
        int onShore = 0;
        for (int launch = 0; launch < 2; ++launch) {
            Squad crowd;
            ASSERT_TRUE(crowd.Load("Crowd", -1));
            StringArray noRoom;
            const int before = arena->CountObjectsOfKind(kKindVorn);
            const int placed = arena->PlaceSquadUnits(crowd, Vector3(92, 80, 0), &red, true, &noRoom);
            EXPECT_EQ(placed > 0, launch == 0 || shore < 16);
            EXPECT_EQ(placed + noRoom.Count(), members);
            EXPECT_EQ(arena->CountObjectsOfKind(kKindVorn), before + placed);
            EXPECT_TRUE(UnitsStandDry());
            EXPECT_TRUE(FieldStandsApartOnTheGround(*arena));
            EXPECT_EQ(StrayPathPoints(*arena), 0);
            const int wasOnShore = std::exchange(onShore, 0);
            for (const WorldObject* object : arena->Objects()) onShore += object->position.x > 100.0f ? 1 : 0;
            EXPECT_EQ(onShore > wasOnShore, shore < 16) << onShore << " on the shore after launch " << launch;
        }
        arena->ClearBattlefield(false);
    }
    // On the largest field, where dry points join only at their corners (a checkerboard,
    // a causeway across a lake) and the searches' work runs out, a launch still places
    // some members, dry and apart, names the rest, and places them alike every time.
    arena->GrowOrShrinkTerrain(Terrain::kMaxSide - terrain.Width());
    Terrain& large = arena->GetTerrain();
    for (const bool checkerboard : {true, false}) {
        for (int i = 0; i < large.Width(); ++i) {
            for (int j = 0; j < large.Height(); ++j) {
                const bool dry = checkerboard ? (i + j) % 2 == 0 : i == j;
                large.CellAt(i, j).type = dry ? kTerrainGrass : kTerrainWater;
            }
        }
        std::vector<Vector3> first;
        for (int launch = 0; launch < 2; ++launch) {
            SCOPED_TRACE(checkerboard ? "checkerboard" : "causeway");
            sys::SRand(5);
            Squad crowd;
            ASSERT_TRUE(crowd.Load("Crowd", -1));
            StringArray noRoom;
            const int placed = arena->PlaceSquadUnits(crowd, Vector3(320, 320, 0), &red, true, &noRoom);
            EXPECT_GT(placed, 0);
            EXPECT_EQ(placed + noRoom.Count(), members);
            EXPECT_TRUE(UnitsStandDry());
            EXPECT_TRUE(FieldStandsApartOnTheGround(*arena));
            std::vector<Vector3> places;
            for (const WorldObject* object : arena->Objects()) places.push_back(object->position);
            if (launch == 0) first = places;
            EXPECT_EQ(places, first);
            arena->ClearBattlefield(false);
        }
    }
}

TEST_F(ScenarioTest, SquadFileUnitsWithoutChassisAreNotPlaced) {
    const std::string body =
        "Count 2\nIconData\nName A\nPosition < 0, 0, 0 >\nType -1\nCost 0\n"
        "Name B\nPosition < 5, 0, 0 >\nType 0\nCost 0\nVornData\n" +
        UnitEntry("A", nullptr, 0, 0) + "\n" + UnitEntry("B", "RobotSmall", 5, 0) + "\n";
    std::ofstream(folder / "Mixed.SQD") << body;
    EXPECT_EQ(arena->LoadSquadFile("Mixed", Vector3(80, 80, 0), &red), 1);
    ASSERT_EQ(arena->ObjectCount(), 1);
    EXPECT_EQ(static_cast<Vorn*>(arena->ObjectAt(0))->name, "B");
    EXPECT_EQ(arena->LoadSquadFile("..", Vector3(80, 80, 0), &red), 0);
    EXPECT_EQ(arena->LoadSquadFile("Absent", Vector3(80, 80, 0), &red), 0);
}

TEST_F(ScenarioTest, SquadInMemoryIsPlacedWithDelay) {
    Squad squad;
    Vorn* a = arena->NewVorn(0);
    a->BuildBody(kRobotSmall);
    a->SetPosition(Vector3(5, 0, 0));
    Vorn* none = arena->NewVorn(0);  // no chassis
    Vorn* b = arena->NewVorn(0);
    b->BuildBody(kRobotLarge);
    b->SetPosition(Vector3(-5, 0, 0));
    squad.Add(a);
    squad.Add(none);
    squad.Add(b);
    const int inUse = world_test::UnitRecordsInUse(*arena);
    EXPECT_EQ(arena->PlaceSquadUnits(squad, Vector3(80, 80, 0), &red, true), 2);
    EXPECT_EQ(arena->ObjectCount(), 2);
    // The placed members are the field's, the other went back to the pool.
    EXPECT_EQ(squad.Count(), 0);
    EXPECT_EQ(world_test::UnitRecordsInUse(*arena), inUse - 1);
    EXPECT_EQ(a->squadMember, 1);
    EXPECT_EQ(a->fromSquad, 1);  // the mission rules let the player inspect launched units
    EXPECT_FLOAT_EQ(a->delayTimer, 2.0f);
    EXPECT_EQ(b->owner, &red);
    EXPECT_NEAR(std::hypot(a->position.x - b->position.x, a->position.y - b->position.y), 10.0f, 0.05f);
}

TEST_F(ScenarioTest, PointListsCutShortStopAtTheEndOfTheText) {
    // A huge count and nothing behind it, or a vector without its closing bracket: the
    // loops stop at once, keep no made-up point and report the cut.
    for (const std::string& tail :
         {std::string("LaunchPoints 1999999999\n"), std::string("LaunchPoints 5001 <"),
          std::string("FlyByPoints 1999999999\n\t< 1, 2, 3"), std::string("FlyByPoints 5001\n\t< 1, 2, 3 >\n")}) {
        EXPECT_FALSE(ReadText("Scenario\nVersion 1\n" + tail)) << tail;
        EXPECT_EQ(arena->launchPoints.Count(), 0) << tail;
        EXPECT_LE(arena->flyByPoints.Count(), 1) << tail;
    }
    std::ofstream(folder / "Short.SCN") << "Scenario\nVersion 1\nLaunchPoints 1999999999";
    platform_test::LogLines log;
    EXPECT_FALSE(arena->LoadScenario("Short"));
    EXPECT_TRUE(log.HasLineWith({"Short.SCN", "LaunchPoints"})) << log.Text();
}

TEST_F(ScenarioTest, NonFiniteMapHeightKeepsItsDefaultAndTheRestLoads) {
    std::string map = FlatMap();
    map.replace(map.find("Ga0"), 3, "Ganan");
    std::ofstream(folder / "Odd.SCN") << "Scenario\nVersion 1\nMap " << map << "\nObjects 1\n"
                                      << TreeEntry(40, 40) << "LaunchPoints 1\n\t< 5, 5 >\nEndScenario\n";
    platform_test::LogLines log;
    EXPECT_TRUE(arena->LoadScenario("Odd"));
    EXPECT_EQ(arena->CountObjectsOfKind(kKindTree), 1);
    EXPECT_EQ(arena->launchPoints.Count(), 1);
    EXPECT_TRUE(log.HasLineWith({"Odd.SCN", "not finite"})) << log.Text();
}

TEST_F(ScenarioTest, RefusedMapSizeIsLoggedWithTheFile) {
    std::ofstream(folder / "Tiny.SCN") << "Scenario\nVersion 1\nMap [ < 8, 70 >, \nGa0 Ga0\n]\nObjects 1\n"
                                       << TreeEntry(40, 40) << "EndScenario\n";
    platform_test::LogLines log;
    arena->LoadScenario("Tiny");
    EXPECT_EQ(arena->CountObjectsOfKind(kKindTree), 1);
    EXPECT_TRUE(log.HasLineWith({"Tiny.SCN", "8 x 70"})) << log.Text();
}

TEST_F(ScenarioTest, SquadMemberWhoseUnitFileDoesNotLoadIsLeftOut) {
    std::ofstream(folder / "Scout.VRN") << UnitEntry("Scout", "RobotSmall", 0, 0);
    const std::string body =
        "Count 2\nIconData\nName Scout\nPosition < 0, 0, 0 >\nType 0\nCost 0\n"
        "Name Gone\nPosition < 5, 0, 0 >\nType 0\nCost 0\nVornData\n"
        "Type Vorn\nFilename Scout\nPosition < 0, 0, 0 >\nEnd\n"
        "Type Vorn\nFilename Gone\nPosition < 5, 0, 0 >\nEnd\n";
    std::ofstream(folder / "Half.SQD") << body;
    platform_test::LogLines log;
    EXPECT_EQ(arena->LoadSquadFile("Half", Vector3(80, 80, 0), &red), 1);
    ASSERT_EQ(arena->ObjectCount(), 1);
    EXPECT_EQ(static_cast<Vorn*>(arena->ObjectAt(0))->name, "Scout");
    EXPECT_TRUE(log.HasLineWith({"Half.SQD", "member 2"})) << log.Text();
}

TEST_F(ScenarioTest, SquadWithAWrongCountKeepsTheMembersReadWhole) {
    const std::string icons =
        "IconData\nName A\nPosition < 0, 0, 0 >\nType 0\nCost 0\n"
        "Name B\nPosition < 5, 0, 0 >\nType 0\nCost 0\nVornData\n";
    const std::string members = UnitEntry("A", "RobotSmall", 0, 0) + UnitEntry("B", "RobotSmall", 5, 0);
    // Too many, far too many, too few, and a second member cut short.
    const std::pair<std::string, int> cases[] = {{"Count 3\n" + icons + members, 2},
                                                 {"Count 2000000000\n" + icons + members, 2},
                                                 {"Count 1\n" + icons + members, 1},
                                                 {"Count 2\n" + icons + members.substr(0, members.size() - 12), 1}};
    for (const auto& [text, placed] : cases) {
        arena->ClearBattlefield(true);
        std::ofstream(folder / "Odd.SQD") << text;
        platform_test::LogLines log;
        EXPECT_EQ(arena->LoadSquadFile("Odd", Vector3(80, 80, 0), &red), placed) << text.substr(0, 12);
        EXPECT_EQ(arena->ObjectCount(), placed);
        EXPECT_TRUE(log.HasLineWith({"Odd.SQD"})) << text.substr(0, 12);
    }
}

}  // namespace
