// The unit's text form and its own file: round trips, the documented hand-written form,
// and damaged or hostile files.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/MemoryBlock.h"
#include "core/StringStream.h"
#include "core/TextTable.h"
#include "game/PlayerRoster.h"
#include "support/LogLines.h"
#include "support/VornTestWorld.h"
#include "units/Action.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"
#include "world/SaveFilePaths.h"

namespace {

class VornFileTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        SetDataFolders(String((folder.Path() + "/").c_str()), "Squads\\", "Scenarios\\");
    }
    void TearDown() override {
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
    }

    void WriteFile(const std::string& name, const std::string& text) { std::ofstream(folder / name) << text; }
    std::string ReadFile(const std::string& name) {
        std::ifstream in(folder / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::string Text(Vorn& unit) {
        StringStream stream;
        unit.Save(stream);
        return stream.Text();
    }
    Vorn* Fresh() {
        Vorn* unit = arena->NewVorn(0);
        fresh.push_back(unit);
        return unit;
    }
    void TearDownUnits() {
        for (Vorn* unit : fresh) {
            arena->FreeObject(unit);
        }
    }

    platform_test::TempFolder folder;
    std::vector<Vorn*> fresh;
};

// A pattern: walk 5 ahead and fire weapon 1 at 10 ahead, when Switch1 is on.
void DrawPattern(Pattern& pattern) {
    PathPoint* point = pattern.AddPathPoint();
    point->SetPosition(Vector2(5.0f, 0.0f));
    Action* fire = point->AddAction();
    fire->kind = kActionFire1;
    fire->point = Vector2(10.0f, 0.0f);
    pattern.conditionals.flags[kConditionalSwitch1] = 1;
    pattern.priority = 2;
    pattern.RebuildLayout();
}

constexpr const char* kHandWritten =
    "Type Vorn\n"
    "ID 7\n"
    "Name Scout\n"
    "Position < 10, 20, 0 >\n"
    "Velocity < 0, 0, 0 >\n"
    "Angle 1.5\n"
    "Player Red\n"
    "ChassisType RobotMedium\n"
    "Cost 120\n"
    "Edited 0\n"
    "CostEdited 1\n"
    "Weapons 2\n"
    "\tType MissileLauncher\n"
    "\t\tLocation 0\n"
    "\tEnd\n"
    "\tType Laser\n"
    "\t\tLocation 1\n"
    "\tEnd\n"
    "Patterns 2\n"
    "\tObjects 1\n"
    "\t\tEnemy < 10, 0 > < 8, 0 > End \n"
    "\tMapConditionals 0\n"
    "\tPathPoints 2\n"
    "\t\t< 0, 0 > < 0, 0 > Actions 0\n"
    "\t\t< 5, 0 > < 5, 0 > Actions 1\n"
    "\t\t\tFire1 < 10, 0 >\n"
    "\tConditionals Switch1 End \n"
    "\tPriority 2\n"
    "\n"
    "\tObjects 0\n"
    "\tMapConditionals 0\n"
    "\tPathPoints 1\n"
    "\t\t< 0, 0 > < 0, 0 > Actions 0\n"
    "\tConditionals End \n"
    "\tPriority 0\n"
    "End\n";

TEST_F(VornFileTest, SavedUnitFileReadsBackIdentical) {
    GetPlayerRoster().networkPlayers.Append(&red);
    Vorn* unit = AddUnit(&red, kRobotLarge, 30.0f, 40.0f, 0.75f);
    unit->name = "Tank";
    unit->SetWeaponKind(0, kWeaponFlamethrower);
    unit->SetWeaponKind(1, kWeaponBeaconSetter);
    DrawPattern(unit->PatternAt(0));
    DrawPattern(unit->PatternAt(3));
    ASSERT_TRUE(unit->SaveFile("Tank"));
    const std::string written = ReadFile("Tank.VRN");
    // A unit's own file is always the full form, its unedited flags written as 0.
    EXPECT_NE(written.find("Edited 0\n"), std::string::npos);
    EXPECT_NE(written.find("CostEdited 0\n"), std::string::npos);
    EXPECT_NE(written.find("ChassisType RobotLarge\n"), std::string::npos);

    Vorn* copy = Fresh();
    ASSERT_TRUE(copy->LoadFile("Tank"));
    EXPECT_EQ(copy->chassisType, kRobotLarge);
    EXPECT_EQ(copy->weapons[0].kind, kWeaponFlamethrower);
    EXPECT_EQ(copy->weapons[1].kind, kWeaponBeaconSetter);
    EXPECT_EQ(copy->patternCount, unit->patternCount);
    EXPECT_TRUE(copy->PatternAt(3).IsEnabled());
    copy->id = unit->id;
    ASSERT_TRUE(copy->SaveFile("Copy"));
    EXPECT_EQ(ReadFile("Copy.VRN"), written);
    GetPlayerRoster().networkPlayers.Clear();
    TearDownUnits();
}

TEST_F(VornFileTest, HandWrittenFileLoadsWithItsPatternsAndWeapons) {
    GetPlayerRoster().networkPlayers.Clear();
    const String localName = GetLocalPlayer().name;
    WriteFile("Scout.VRN", kHandWritten);
    Vorn* unit = Fresh();
    ASSERT_TRUE(unit->LoadFile("Scout"));
    EXPECT_EQ(unit->name, "Scout");
    EXPECT_EQ(unit->loadedId, 7);
    EXPECT_EQ(unit->position, Vector3(10.0f, 20.0f, 0.0f));
    EXPECT_FLOAT_EQ(unit->heading, 1.5f);
    EXPECT_EQ(unit->owner, &GetLocalPlayer());
    EXPECT_EQ(unit->chassisType, kRobotMedium);
    EXPECT_EQ(unit->cost, 120);
    EXPECT_EQ(unit->costEdited, 1);
    EXPECT_EQ(unit->weapons[0].kind, kWeaponMissileLauncher);
    EXPECT_EQ(unit->weapons[1].location, 1);
    // Two patterns read; the medium chassis allows six slots, the rest empty.
    EXPECT_EQ(unit->patternCount, 6);
    const Pattern& first = unit->PatternAt(0);
    EXPECT_EQ(first.objects.Count(), 2);
    ASSERT_EQ(first.pathPoints.Count(), 2);
    ASSERT_EQ(first.pathPoints[1]->actions.Count(), 1);
    EXPECT_EQ(first.pathPoints[1]->actions[0]->kind, kActionFire1);
    EXPECT_EQ(first.priority, 2);
    EXPECT_FALSE(unit->PatternAt(1).IsEnabled());
    EXPECT_EQ(unit->CountEnabledPatterns(), 1);
    EXPECT_EQ(GetLocalPlayer().name, localName);
    TearDownUnits();
}

TEST_F(VornFileTest, KeysMatchWithoutCaseAndUnknownKeysAreSkipped) {
    Vorn* unit = Fresh();
    StringStream text(
        "position < 1, 2, 3 > Wobble 5 NAME Odd Comment "
        "x"
        "\nangle 0.5 End\n");
    unit->Load(text);
    EXPECT_EQ(unit->position, Vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(unit->name, "Odd");
    EXPECT_FLOAT_EQ(unit->heading, 0.5f);
    TearDownUnits();
}

TEST_F(VornFileTest, LongCommentNeverSpillsIntoTheKeys) {
    Vorn* unit = Fresh();
    const std::string comment = "Comment " + std::string(5000, 'a') + " Name Wrong\nName Right\nEnd\n";
    StringStream text(comment.c_str());
    unit->Load(text);
    EXPECT_EQ(unit->name, "Right");
    TearDownUnits();
}

TEST_F(VornFileTest, PatternCountsAreBoundedBySixteenSlots) {
    Vorn* unit = Fresh();
    std::string text = "Player Red\nChassisType RobotSmall\nPatterns 20\n";
    for (int i = 0; i < 20; ++i) {
        text +=
            "\tObjects 0\n\tMapConditionals 0\n\tPathPoints 1\n\t\t< 0, 0 > < 0, 0 > Actions 0\n"
            "\tConditionals End \n\tPriority " +
            std::to_string(i + 1) + "\n";
    }
    text += "Name AfterPatterns\nEnd\n";
    StringStream stream(text.c_str());
    unit->Load(stream);
    EXPECT_EQ(unit->patternCount, 16);
    EXPECT_EQ(unit->PatternAt(15).priority, 16);
    // The surplus was read past: the keys after it still count.
    EXPECT_EQ(unit->name, "AfterPatterns");

    Vorn* negative = Fresh();
    StringStream none("ChassisType RobotSmall\nPatterns -5\nName Still\nEnd\n");
    negative->Load(none);
    EXPECT_EQ(negative->patternCount, 4);
    EXPECT_EQ(negative->name, "Still");
    TearDownUnits();
}

TEST_F(VornFileTest, UnsafeNamesAreRefusedLikeMissingFiles) {
    WriteFile("Good.VRN", "Name Good\nChassisType RobotLarge\nEnd\n");
    Vorn* unit = Fresh();
    for (const char* name : {"../Good", "a/b", "a\\b", "", "..", ".hidden"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(unit->LoadFile(name));
        EXPECT_EQ(unit->name, GetLanguageText("NoName"));
        EXPECT_FALSE(unit->SaveFile(name));
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/../Good.VRN"));
    EXPECT_TRUE(unit->LoadFile("Good"));
    EXPECT_EQ(unit->name, "Good");
    TearDownUnits();
}

TEST_F(VornFileTest, FilenameReferenceIsFollowedOneLevelOnly) {
    // A scenario's short form names the unit file, which names itself again.
    WriteFile("Loop.VRN", "Filename Loop\nChassisType RobotLarge\nEnd\n");
    Vorn* unit = Fresh();
    StringStream record("Type Vorn\nFilename Loop\nName Placed\nPosition < 5, 5, 0 >\nEnd\n");
    unit->Load(record);
    EXPECT_EQ(unit->name, "Placed");
    EXPECT_EQ(unit->chassisType, kRobotLarge);
    EXPECT_EQ(unit->position, Vector3(5.0f, 5.0f, 0.0f));

    // A missing file keeps the failed load's name even when a "Name" follows.
    Vorn* missing = Fresh();
    StringStream broken("Filename Nowhere\nName Ignored\nEnd\n");
    missing->Load(broken);
    EXPECT_EQ(missing->name, GetLanguageText("NoName"));
    EXPECT_EQ(missing->chassisType, 0);
    TearDownUnits();
}

TEST_F(VornFileTest, UnitInAnotherFileIsWrittenAsAShortReference) {
    Vorn* unit = AddUnit(&red, kRobotSmall, 30.0f, 40.0f, 0.0f);
    unit->name = "Scout";
    const std::string text = Text(*unit);
    EXPECT_EQ(text.find("Type Vorn\nFilename Scout\nID "), 0u);
    EXPECT_EQ(text.find("ChassisType"), std::string::npos);
    EXPECT_NE(text.find("Player Red\nEnd\n"), std::string::npos);
    unit->edited = 1;
    EXPECT_NE(Text(*unit).find("ChassisType RobotSmall"), std::string::npos);
}

TEST_F(VornFileTest, LauncherCannotCarryUnitsOfItsOwnSize) {
    // A medium unit whose launcher names its own file: a launch would nest for ever.
    WriteFile("Nest.VRN",
              "Name Nest\nPlayer Red\nChassisType RobotMedium\nWeapons 2\n"
              "\tType VornLauncher\n\t\tLocation 0\n\t\tAmmoName Nest\n\t\tAmmoSize 0\n\tEnd\n"
              "\tType Laser\n\t\tLocation 1\n\tEnd\nEnd\n");
    Vorn* unit = Fresh();
    ASSERT_TRUE(unit->LoadFile("Nest"));
    EXPECT_EQ(unit->weapons[0].kind, kWeaponVornLauncher);
    EXPECT_EQ(unit->weapons[0].ammoName, GetLanguageText("NoAmmo"));
    unit->PrepareForBattle();
    EXPECT_TRUE(unit->weapons[0].loadedUnits.IsEmpty());
    TearDownUnits();
}

TEST_F(VornFileTest, NonFiniteNumbersKeepTheirDefaultsAndTheRestLoads) {
    std::string text = kHandWritten;
    text.replace(text.find("Angle 1.5"), 9, "Angle nan");
    text.replace(text.find("< 10, 0 > < 8, 0 >"), 18, "< inf, 0 > < 8, 0 >");
    WriteFile("Odd.VRN", text);
    Vorn* unit = Fresh();
    unit->SetAngle(0.25f);
    platform_test::LogLines log;
    ASSERT_TRUE(unit->LoadFile("Odd"));
    EXPECT_FLOAT_EQ(unit->heading, 0.25f);
    EXPECT_EQ(unit->chassisType, kRobotMedium);
    EXPECT_EQ(unit->weapons[0].kind, kWeaponMissileLauncher);
    ASSERT_EQ(unit->PatternAt(0).objects.Count(), 2);
    EXPECT_EQ(unit->PatternAt(0).objects[1]->position, Vector2(0.0f, 0.0f));
    EXPECT_EQ(unit->PatternAt(0).priority, 2);
    EXPECT_TRUE(log.HasLineWith({"Odd.VRN", "not finite"})) << log.Text();
    TearDownUnits();
}

TEST_F(VornFileTest, FileCutShortFailsAndSaysWhereItStopped) {
    const std::string text = kHandWritten;
    // Cut inside the first pattern's second path point, and inside the weapons.
    const std::string cuts[] = {text.substr(0, text.find("Fire1 < 10, 0 >") + 9),
                                text.substr(0, text.find("\tType Laser") + 8)};
    for (const std::string& cut : cuts) {
        WriteFile("Cut.VRN", cut);
        Vorn* unit = Fresh();
        platform_test::LogLines log;
        EXPECT_FALSE(unit->LoadFile("Cut"));
        EXPECT_EQ(unit->name, GetLanguageText("NoName"));
        const char* key = &cut == &cuts[0] ? "Patterns" : "Weapons";
        EXPECT_TRUE(log.HasLineWith({"Cut.VRN", key})) << log.Text();
    }
    // The whole file, with or without its last line end, loads.
    WriteFile("Whole.VRN", text.substr(0, text.size() - 1));
    EXPECT_TRUE(Fresh()->LoadFile("Whole"));
    TearDownUnits();
}

// Free records of the pools a pattern draws on: objects, path points, map conditionals
// and actions.
int FreePatternRecords(Arena& arena) {
    arena.FlushObjectPools();
    int free = 0;
    for (int pool : {0, 1, 2, 28}) {
        free += arena.PoolAt(pool)->FreeCount();
    }
    return free;
}

TEST_F(VornFileTest, CutPatternRecordsGoBackToTheirPools) {
    // Each text stops inside a record: an object's facing point, a map conditional's
    // cell, an action's point. Only the whole records before it are kept.
    const std::string tree = "\t\tTree < 1, 1 > < 1, 1 > End \n";
    const std::string texts[] = {
        "\tObjects 2\n" + tree + "\t\tEnemy < 3, 0 > < 1", "\tObjects 1\n" + tree + "\tMapConditionals 1\n\t\tLava < 1",
        "\tObjects 1\n" + tree +
            "\tMapConditionals 0\n\tPathPoints 2\n"
            "\t\t< 0, 0 > < 0, 0 > Actions 0\n\t\t< 5, 0 > < 5, 0 > Actions 1\n\t\t\tFire1 < 10"};
    for (const std::string& text : texts) {
        Pattern pattern;
        const int free = FreePatternRecords(*arena);
        StringStream stream(text.c_str());
        EXPECT_FALSE(pattern.Load(stream)) << text;
        ASSERT_EQ(pattern.objects.Count(), 2) << text;
        EXPECT_EQ(pattern.objects[1]->facing, Vector2(1.0f, 1.0f));
        EXPECT_TRUE(pattern.mapConditionals.IsEmpty()) << text;
        EXPECT_EQ(pattern.pathPoints.Count(), 1) << text;
        // Only the tree took a record.
        EXPECT_EQ(FreePatternRecords(*arena), free - 1) << text;
    }
}

}  // namespace
