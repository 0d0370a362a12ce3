// The units, squads and scenarios of the data set, read by the game's own readers: each
// must read whole, with nothing refused, dropped or quietly replaced by a default.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataFolder.h"
#include "core/FileStream.h"
#include "core/StringStream.h"
#include "core/TextTable.h"
#include "support/VornTestWorld.h"
#include "units/Pattern.h"
#include "world/SaveFilePaths.h"
#include "world/Terrain.h"

namespace {

using data_test::DataRoot;
using data_test::Lines;
using data_test::Words;

String Folder(const char* name) { return String(((DataRoot() / name).string() + "/").c_str()); }

// The value after the first line that starts with `key`, as a number (-1 when absent).
int CountAfter(const std::string& text, const char* key) {
    for (const std::string& line : Lines(text)) {
        const auto words = Words(line);
        if (words.size() >= 2 && words[0] == key) {
            return std::stoi(words[1]);
        }
    }
    return -1;
}

// The unit's body as the unit writer puts it, from "ChassisType" to its last pattern:
// what the file says, or what a reader made of it.
std::vector<std::string> BodyLines(const std::string& text, int patterns) {
    std::vector<std::string> body;
    bool inBody = false;
    int priorities = 0;
    for (const std::string& line : Lines(text)) {
        inBody = inBody || line.rfind("ChassisType ", 0) == 0;
        if (!inBody || line.empty()) {
            continue;
        }
        if (line.rfind("Patterns ", 0) == 0) {
            body.push_back("Patterns " + std::to_string(patterns));
            continue;
        }
        body.push_back(line);
        if (line.rfind("\tPriority ", 0) == 0 && ++priorities == patterns) {
            break;
        }
    }
    return body;
}

class DataBattleFiles : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        SetDataFolders(Folder("Vorns"), Folder("Squads"), Folder("Scenarios"));
    }
    void TearDown() override {
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
    }
};

// Writing a unit back gives the file's own lines: a misspelt weapon, pattern object,
// action or condition would come back as a default and show here.
TEST_F(DataBattleFiles, EveryUnitFileReadsWholeAndWritesBackTheSame) {
    const auto names = data_test::Titles("Vorns", ".VRN");
    ASSERT_GE(names.size(), 8u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string text = data_test::ReadWhole(DataRoot() / "Vorns" / (name + ".VRN"));
        Vorn* unit = arena->NewVorn(0);
        ASSERT_TRUE(unit->LoadFile(name.c_str()));
        EXPECT_TRUE(unit->HasValidChassis());
        EXPECT_EQ(std::string(unit->name.CStr()), name);
        const int patterns = CountAfter(text, "Patterns");
        ASSERT_GT(patterns, 0);
        ASSERT_GE(unit->patternCount, patterns) << "more patterns than the chassis may hold";
        for (int i = 0; i < patterns; ++i) {
            EXPECT_TRUE(unit->PatternAt(i).IsEnabled()) << "pattern " << i;
        }
        StringStream written;
        // The full form, as the unit's own file is written.
        Vorn::writingOwnFile = true;
        unit->Save(written);
        Vorn::writingOwnFile = false;
        EXPECT_EQ(BodyLines(written.Text(), patterns), BodyLines(text, patterns));
        for (const Weapon& weapon : unit->weapons) {
            if (weapon.kind == kWeaponVornLauncher) {
                const std::string ammunition = weapon.ammoName.CStr();
                EXPECT_TRUE(data_test::Exists("Vorns/" + ammunition + ".VRN")) << "ammunition " << ammunition;
            }
        }
        // The trays price squads by the file's cost; unless it was set by hand it must be
        // what the unit's parts cost.
        if (unit->costEdited == 0) {
            const int32_t written = unit->cost;
            unit->ComputeCost();
            EXPECT_EQ(written, unit->cost) << "stale cost";
        }
        arena->FreeObject(unit);
    }
}

TEST_F(DataBattleFiles, EverySquadFilePlacesAllItsMembers) {
    const auto names = data_test::Titles("Squads", ".SQD");
    ASSERT_GE(names.size(), 3u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        arena->ClearBattlefield(true);
        const int count = CountAfter(data_test::ReadWhole(DataRoot() / "Squads" / (name + ".SQD")), "Count");
        ASSERT_GT(count, 0);
        EXPECT_EQ(arena->LoadSquadFile(name.c_str(), Vector3(80, 80, 0), &red), count);
        for (WorldObject* object : arena->Objects()) {
            if (object->kind == kKindVorn) {
                const auto* member = static_cast<const Vorn*>(object);
                const std::string unitName = member->name.CStr();
                EXPECT_TRUE(data_test::Exists("Vorns/" + unitName + ".VRN")) << unitName;
            }
        }
    }
}

// Every object, launch point and fly-by point the text counts is on the field after the
// load, on a terrain of the size the text gives.
TEST_F(DataBattleFiles, EveryScenarioLoadsEveryObjectAndPoint) {
    const auto names = data_test::Titles("Scenarios", ".SCN");
    ASSERT_GE(names.size(), 12u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::filesystem::path path = DataRoot() / "Scenarios" / (name + ".SCN");
        const std::string text = data_test::ReadWhole(path);
        arena->ClearBattlefield(true);
        FileStream file(path.string(), "r");
        String section;
        EXPECT_TRUE(arena->ReadScenario(file, name.c_str(), section)) << "stopped short in " << section.CStr();
        EXPECT_FALSE(file.HasError()) << "read past the end: a section count is too large";
        EXPECT_EQ(arena->ObjectCount(), CountAfter(text, "Objects"));
        EXPECT_EQ(arena->launchPoints.Count(), CountAfter(text, "LaunchPoints"));
        EXPECT_EQ(arena->flyByPoints.Count(), CountAfter(text, "FlyByPoints"));
        EXPECT_GE(arena->launchPoints.Count(), 2) << "one launch point per side at least";
        const auto size = Words(Lines(text).at(3));
        ASSERT_GE(size.size(), 5u);
        EXPECT_EQ(arena->GetTerrain().Width(), std::stoi(size[2])) << "terrain size refused";
        for (WorldObject* object : arena->Objects()) {
            if (object->kind == kKindVorn) {
                // A unit whose "Filename" did not load keeps the no-name text.
                const auto* unit = static_cast<const Vorn*>(object);
                EXPECT_STRNE(unit->name.CStr(), GetLanguageText("NoName").CStr());
                EXPECT_TRUE(unit->HasValidChassis());
            }
        }
    }
}

}  // namespace
