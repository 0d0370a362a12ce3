// A whole battle with no window: a scenario and two squads read from files written here,
// fought to the end, and fought again from the same seed step for step.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/VornTestWorld.h"
#include "world/SaveFilePaths.h"

namespace {

constexpr float kFrame = 1.0f / 30.0f;
constexpr float kTimeLimit = 150.0f;

struct UnitRecipe {
    const char* name;
    const char* chassis;
    const char* weapon1;
    const char* weapon2;  // unused by the one-place small chassis
};

// Every weapon kind appears; the launcher's ammunition is the small "Mite".
constexpr UnitRecipe kUnits[] = {
    {"Mite", "RobotSmall", "Laser", "Laser"},
    {"Scout", "RobotSmall", "ShrapnelGun", "Laser"},
    {"Bomber", "StalkSmall", "Explosive", "Laser"},
    {"Burner", "RobotMedium", "Flamethrower", "Propeller"},
    {"Setter", "StalkMedium", "BeaconSetter", "StaticFieldGenerator"},
    {"Tank", "RobotLarge", "MissileLauncher", "VornLauncher"},
    {"Medic", "StalkLarge", "GooFieldGenerator", "HealthFieldGenerator"},
    {"Striker", "RobotMedium", "Kicker", "Laser"},
};

std::string Pattern(const std::string& objects, int objectCount, const std::string& path, int pointCount,
                    int priority) {
    std::ostringstream text;
    text << "\tObjects " << objectCount << "\n"
         << objects << "\tMapConditionals 0\n\tPathPoints " << pointCount << "\n\t\t< 0, 0 > < 0, 0 > Actions 0\n"
         << path << "\tConditionals End \n\tPriority " << priority << "\n";
    return text.str();
}

// Attack the nearest enemy with both weapons, help an injured friend, walk to a beacon
// or the enemy goal, and otherwise wander.
std::string Patterns() {
    const std::string attack = Pattern("\t\tEnemy < 10, 0 > < 8, 0 > End \n", 1,
                                       "\t\t< 3, 0 > < 3, 0 > Actions 2\n\t\t\tFire1 < 10, 0 >\n"
                                       "\t\t\tFire2 < 10, 0 >\n",
                                       2, 3);
    const std::string help = Pattern("\t\tFriend < 6, 0 > < 4, 0 > Injured End \n", 1,
                                     "\t\t< 1, 0 > < 1, 0 > Actions 1\n\t\t\tFire2 < 6, 0 >\n", 2, 4);
    const std::string beacon =
        Pattern("\t\tBeacon < 8, 0 > < 6, 0 > End \n", 1, "\t\t< 6, 0 > < 6, 0 > Actions 0\n", 2, 2);
    const std::string goal = Pattern("\t\tEnemyGoal < 12, 0 > < 10, 0 > End \n", 1,
                                     "\t\t< 8, 0 > < 8, 0 > Actions 1\n\t\t\tFire1 < 12, 0 >\n", 2, 1);
    const std::string wander = Pattern("", 0, "\t\t< 10, 0 > < 10, 0 > Actions 0\n", 2, 0);
    return "Patterns 5\n" + attack + "\n" + help + "\n" + beacon + "\n" + goal + "\n" + wander;
}

std::string UnitFile(const UnitRecipe& unit) {
    std::ostringstream text;
    text << "Type Vorn\nName " << unit.name << "\nPosition < 0, 0, 0 >\nAngle 0\nChassisType " << unit.chassis
         << "\nCost 50\nEdited 0\nCostEdited 0\nWeapons 2\n\tType " << unit.weapon1
         << "\n\t\tLocation 0\n\tEnd\n\tType " << unit.weapon2 << "\n\t\tLocation 1\n";
    if (std::strcmp(unit.weapon2, "VornLauncher") == 0) {
        text << "\t\tAmmoName Mite\n";
    }
    text << "\tEnd\n" << Patterns() << "End\n";
    return text.str();
}

// The squad's units on a ring of radius 7 around the squad's centre, facing `facing`.
std::string SquadFile(float facing) {
    std::ostringstream icons;
    std::ostringstream bodies;
    const int n = sizeof(kUnits) / sizeof(kUnits[0]);
    for (int k = 0; k < n; ++k) {
        const float a = 2.0f * 3.14159265f * float(k) / float(n);
        const float x = 7.0f * std::cos(a);
        const float y = 7.0f * std::sin(a);
        icons << "Name " << kUnits[k].name << "\nPosition < " << x << ", " << y << ", 0 >\nType 0\nCost 50\n";
        bodies << "Type Vorn\nFilename " << kUnits[k].name << "\nName " << kUnits[k].name << "\nPosition < " << x
               << ", " << y << ", 0 >\nAngle " << facing << "\nEnd\n\n";
    }
    return "Count " + std::to_string(n) + "\nIconData\n" + icons.str() + "VornData\n" + bodies.str();
}

std::string ScenarioFile() {
    std::ostringstream text;
    text << "Scenario\nVersion 1\nMap \n[ < 16, 16 >, \n";
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 16; ++i) {
            // A ridge across the middle and a pond in one corner.
            const char type = (i < 3 && j < 3) ? 'W' : (j == 12 ? 'D' : 'G');
            const int height = (type == 'W') ? -2 : (i == 8 ? 3 : 0);
            text << type << "a" << height << " ";
        }
        text << "\n";
    }
    text << "]\nObjects 10\n";
    const float trees[3][2] = {{80, 40}, {80, 120}, {40, 80}};
    for (const auto& t : trees) {
        text << "Type Tree\nSubType 1\nPosition < " << t[0] << ", " << t[1] << ", 0 >\nAngle 0\nEnd\n\n";
    }
    const float rocks[3][2] = {{80, 60}, {80, 100}, {120, 40}};
    for (const auto& r : rocks) {
        text << "Type Rock\nSubType 2\nPosition < " << r[0] << ", " << r[1] << ", 0 >\nAngle 0.5\nEnd\n\n";
    }
    const float chargers[2][2] = {{60, 100}, {100, 60}};
    for (const auto& c : chargers) {
        text << "Type SolarCharger\nPosition < " << c[0] << ", " << c[1] << ", 0 >\nAngle 0\nEnd\n\n";
    }
    text << "Type Goal\nPlayer 0\nPosition < 20, 80, 0 >\nAngle 0\nEnd\n\n";
    text << "Type Goal\nPlayer 1\nPosition < 140, 80, 0 >\nAngle 3.14159\nEnd\n\n";
    text << "LaunchPoints 2\n\t< 60, 80 >\n\t< 100, 80 >\nFlyByPoints 0\nEndScenario\n";
    return text.str();
}

uint64_t Mix(uint64_t hash, const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return hash;
}

struct BattleRecord {
    std::vector<uint64_t> digests;  // one per step
    int red = 0;
    int blue = 0;
    float seconds = 0.0f;
    std::set<int> kindsSeen;
    int unitsAtStart = 0;
    int blasts = 0;
};

class BattleTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        const String base((folder.Path() + "/").c_str());
        SetDataFolders(base, base, base);
        for (const UnitRecipe& unit : kUnits) {
            std::ofstream(folder / (std::string(unit.name) + ".VRN")) << UnitFile(unit);
        }
        std::ofstream(folder / "Red.SQD") << SquadFile(0.0f);
        std::ofstream(folder / "Blue.SQD") << SquadFile(3.14159f);
        std::ofstream(folder / "Meadow.SCN") << ScenarioFile();
    }
    void TearDown() override {
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
    }

    // A fresh arena and matcher, so that nothing of an earlier battle carries over.
    void FreshWorld() {
        gPatternMatcher = nullptr;
        matcher.reset();
        arena->Shutdown();
        arena = std::make_unique<Arena>();
        gArena = arena.get();
        arena->Initialize();
        matcher = std::make_unique<PatternMatcher>();
        gPatternMatcher = matcher.get();
        game.clock = 0.0f;
        game.blasts = 0;
        game.reportedKinds.clear();
        game.firstPlayer = &red;
        game.secondPlayer = &blue;
    }

    BattleRecord Fight(uint32_t seed) {
        FreshWorld();
        sys::SRand(seed);
        BattleRecord record;
        EXPECT_TRUE(arena->LoadScenario("Meadow"));
        EXPECT_EQ(arena->LoadSquadFile("Red", Vector3(65, 80, 0), &red), 8);
        EXPECT_EQ(arena->LoadSquadFile("Blue", Vector3(95, 80, 0), &blue), 8);
        arena->meteorShowerOn = true;
        arena->meteorStartTime = 40.0f;
        arena->ResetMeteorShower();
        record.unitsAtStart = arena->CountObjectsOfKind(kKindVorn);
        for (float time = 0.0f; time < kTimeLimit; time += kFrame) {
            Step(kFrame);
            uint64_t hash = 14695981039346656037ull;
            for (const WorldObject* object : arena->Objects()) {
                record.kindsSeen.insert(object->kind);
                hash = Mix(hash, &object->kind, sizeof(object->kind));
                hash = Mix(hash, &object->position, sizeof(object->position));
                hash = Mix(hash, &object->health, sizeof(object->health));
            }
            record.digests.push_back(hash);
            record.red = CountUnitsOf(&red);
            record.blue = CountUnitsOf(&blue);
            record.seconds = time + kFrame;
            if (record.red == 0 || record.blue == 0) {
                break;
            }
        }
        record.blasts = game.blasts;
        return record;
    }

    int CountUnitsOf(const Player* player) const {
        int count = 0;
        for (const WorldObject* object : arena->Objects()) {
            count += object->kind == kKindVorn && static_cast<const Vorn*>(object)->owner == player ? 1 : 0;
        }
        return count;
    }

    platform_test::TempFolder folder;
};

TEST_F(BattleTest, TwoSquadsFightToTheEndTheSameWayFromTheSameSeed) {
    const BattleRecord first = Fight(20240611);
    ASSERT_EQ(first.unitsAtStart, 16);

    // The battle ends: one side is wiped out, or the time limit passes with losses.
    const bool decided = first.red == 0 || first.blue == 0;
    EXPECT_TRUE(decided || first.seconds >= kTimeLimit - kFrame);
    EXPECT_LT(first.red + first.blue, 16);
    EXPECT_GT(first.blasts, 0);
    // Shots, blasts, beacons and thrown fields of the squads' weapons were on the field.
    for (int kind :
         {kKindLaserBeam, kKindShrapnel, kKindMissile, kKindExplosionField, kKindBeacon, kKindFieldGenerator}) {
        EXPECT_TRUE(first.kindsSeen.count(kind)) << WorldObject::KindName(kind).CStr();
    }

    const BattleRecord second = Fight(20240611);
    ASSERT_EQ(second.digests.size(), first.digests.size());
    for (size_t step = 0; step < first.digests.size(); ++step) {
        ASSERT_EQ(second.digests[step], first.digests[step]) << "first difference at step " << step;
    }
    EXPECT_EQ(second.red, first.red);
    EXPECT_EQ(second.blue, first.blue);

    const BattleRecord other = Fight(7);
    EXPECT_NE(other.digests, first.digests);
}

}  // namespace
