// Squad files: round trips, budgets, members that do not fit or whose unit file is gone,
// and damaged bodies; finding and placing members.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "core/StringStream.h"
#include "core/TextTable.h"
#include "game/Squad.h"
#include "game/SquadSummary.h"
#include "support/LogLines.h"
#include "support/TempFolder.h"
#include "support/VornTestWorld.h"
#include "world/SaveFilePaths.h"

namespace {

class SquadFileTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        const String base((folder.Path() + "/").c_str());
        SetDataFolders(base, base, base);
    }
    void TearDown() override {
        squad.DestroyMembers();
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
    }
    Vorn* Unit(const char* name, float x, float y, int32_t cost) {
        Vorn* unit = arena->NewVorn(0);
        unit->BuildBody(kRobotSmall);
        unit->name = name;
        unit->cost = cost;
        unit->edited = 1;  // written whole, not as a reference to its own file
        unit->SetPosition(Vector3(x, y, 0.0f));
        return unit;
    }
    std::string Text(const Squad& source) {
        StringStream stream;
        source.Write(stream);
        return stream.Text();
    }

    platform_test::TempFolder folder;
    Squad squad;
};

TEST_F(SquadFileTest, SavedSquadLoadsWithinABudgetInFileOrder) {
    Squad written;
    written.Add(Unit("A", -10.0f, 0.0f, 60));
    written.Add(Unit("B", 0.0f, 0.0f, 50));
    written.Add(Unit("C", 10.0f, 0.0f, 30));
    ASSERT_TRUE(written.Save("Trio"));
    ASSERT_TRUE(squad.Load("Trio", -1));
    ASSERT_EQ(squad.Count(), 3);
    EXPECT_EQ(squad.members[2]->name, "C");
    EXPECT_EQ(squad.members[2]->position, Vector3(10.0f, 0.0f, 0.0f));
    EXPECT_EQ(squad.totalCost, 140);
    ASSERT_TRUE(squad.Load("Trio", 100));
    ASSERT_EQ(squad.Count(), 2);
    EXPECT_EQ(squad.members[1]->name, "C");
    EXPECT_EQ(squad.totalCost, 90);
    EXPECT_EQ(squad.loadBudget, -1);
    SquadSummary summary;
    ASSERT_TRUE(summary.Load("Trio"));
    EXPECT_EQ(summary.TotalCost(), 140);
    EXPECT_EQ(summary.MinMemberCost(), 30);
    EXPECT_FALSE(squad.Load("Missing", -1));
    EXPECT_EQ(squad.Count(), 0);
    EXPECT_FALSE(written.Save("../Out"));
    written.DestroyMembers();
}

// A member pressed against an earlier one or past the edge moves to the nearest free
// place; one with no place left is named; one without a chassis or unit file is dropped.
TEST_F(SquadFileTest, PressedMembersMoveToTheNearestFreePlaceAndThoseWithoutOneAreNamed) {
    Squad written;
    const float radius = Unit("probe", 0, 0, 0)->GetRadius();
    written.Add(Unit("Edge", 20.0f, 0.0f, 1));
    written.Add(Unit("Out", 0.0f, 20.5f, 1));
    written.Add(Unit("Touch", 20.0f - 2.0f * radius - 0.02f, 0.0f, 1));  // clear by 0.01 more
    written.Add(Unit("Close", 0.0f, -20.0f + radius, 1));
    written.Add(Unit("Near", 0.0f, -20.0f + 2.0f * radius, 1));  // pressed against Close
    Vorn* bare = Unit("Bare", -5.0f, -5.0f, 1);
    bare->chassisType = -1;
    written.Add(bare);
    Vorn* linked = Unit("Gone", 5.0f, 5.0f, 1);
    linked->edited = 0;  // written as a reference to a unit file that does not exist
    written.Add(linked);
    StringStream in(Text(written).c_str());
    written.DestroyMembers();
    squad.Read(in);
    std::vector<std::string> names;
    for (Vorn* unit : squad.members) names.emplace_back(unit->name.CStr());
    EXPECT_EQ(names, (std::vector<std::string>{"Edge", "Out", "Touch", "Close", "Near"}));
    EXPECT_EQ(squad.members[0]->position, Vector3(20.0f, 0.0f, 0.0f));
    EXPECT_NEAR(squad.members[1]->position.y, 20.0f, 0.002f);
    EXPECT_NEAR(squad.members[4]->position.y, -20.0f + 3.0f * radius + 0.01f, 0.002f);  // pushed straight out
    EXPECT_NEAR(squad.members[4]->position.x, 0.0f, 0.002f);
    EXPECT_TRUE(squad.leftOut.IsEmpty());
    StringArray twice;
    for (const char* name : {"Brawler", "Scout", "Brawler"}) twice.Append(name);
    EXPECT_EQ(Squad::LeftOutText(twice), GetLanguageText("SquadMembersLeftOut") + "Brawler (2), Scout.");

    // Forty large units on one spot: those that find no place are named in the log.
    for (int i = 0; i < 40; ++i) {
        Vorn* unit = Unit(("L" + std::to_string(i)).c_str(), 1.0f, 1.0f, 1);
        unit->BuildBody(kRobotLarge);
        written.Add(unit);
    }
    ASSERT_TRUE(written.Save("Crowd"));
    written.DestroyMembers();
    platform_test::LogLines log;
    ASSERT_TRUE(squad.Load("Crowd", -1));
    EXPECT_GT(squad.Count(), 20);
    ASSERT_FALSE(squad.leftOut.IsEmpty());
    EXPECT_EQ(squad.Count() + squad.leftOut.Count(), 40);
    for (Vorn* member : squad.members) {
        EXPECT_LE(std::hypot(member->position.x, member->position.y), 20.0f);
        EXPECT_TRUE(squad.CanPlace(member->position, member->GetRadius(), member)) << member->name.CStr();
    }
    const std::string text = Squad::LeftOutText(squad.leftOut).CStr();
    EXPECT_TRUE(log.HasLineWith({"Crowd.SQD", text})) << log.Text();
    EXPECT_NE(text.find(std::string(squad.leftOut[0].CStr()) + ", "), std::string::npos) << text;
    EXPECT_EQ(text.back(), '.');
}

// A lassoed crowd of large units filling the squad's circle, pressed together at the
// spacing and the outer ring on the edge, the middle ones taken last. Saved as "Save
// squad" forms it, or as it formed them before, every member reads back where the file
// has it, by either reader, a save of what was read lists the same, and the file holds
// the crowd. What the save keeps of a crowd a hair nearer, as one dropped and saved again
// may stand, reads back whole too.
TEST_F(SquadFileTest, APackedCrowdSavedFromTheFieldReadsBackWhole) {
    Vorn* probe = Unit("probe", 0.0f, 0.0f, 0);
    probe->BuildBody(kRobotLarge);
    const float pressed = 2.0f * probe->GetRadius() + 0.01f;
    arena->DestroyObject(probe, false);
    const Vector3 origin(80, 80, 0);
    const auto listing = [](const char* name) {
        const std::string text = platform_test::ReadRaw(SquadFilePath(name).CStr());
        return text.substr(0, text.find("VornData"));
    };
    for (const auto& [spacing, formed] :
         {std::pair{pressed + 3e-5f, true}, {pressed + 3e-5f, false}, {pressed - 4.9e-4f, true}}) {
        SCOPED_TRACE(testing::Message() << spacing << (formed ? " saved" : " saved before"));
        std::vector<Vorn*> crowd;
        const Vector2 across = Vector2(std::cos(0.3f), std::sin(0.3f)) * spacing;
        const Vector2 up = Vector2(std::cos(1.3472f), std::sin(1.3472f)) * spacing;  // 60 degrees on
        for (int i = -3; i <= 3; ++i) {
            for (int j = -3; j <= 3; ++j) {
                Vector2 at = across * float(i) + up * float(j);
                if (at.Length() > 20.0f) continue;
                if (at.Length() > 19.0f) at = at * (20.0f / at.Length());
                crowd.push_back(
                    Unit(("L" + std::to_string(crowd.size())).c_str(), origin.x + at.x, origin.y + at.y, 1));
                crowd.back()->BuildBody(kRobotLarge);
                crowd.back()->ApplyPatternSlots();  // as a unit made in the game has them
            }
        }
        ASSERT_EQ(crowd.size(), 37u);
        std::ranges::stable_sort(crowd, std::greater<>(),
                                 [&](Vorn* unit) { return (unit->position - origin).Length(); });
        StringArray unplaced;
        if (formed) {
            ASSERT_TRUE(arena->SaveSquadFile("Big", origin, crowd, &unplaced));
        } else {
            Squad before;
            for (Vorn* unit : crowd) {
                unit->SetPosition(Vector3(unit->position.x - origin.x, unit->position.y - origin.y, unit->GetRadius()));
                before.Add(unit);
            }
            ASSERT_TRUE(before.Save("Big"));
            before.Clear();
        }
        if (spacing > pressed) {
            EXPECT_TRUE(unplaced.IsEmpty());
            EXPECT_TRUE(!formed || Squad::FileHolds("Big", arena->SquadSaveMembers(origin, crowd)));
        }
        const int32_t kept = int32_t(crowd.size()) - unplaced.Count();
        EXPECT_GT(kept, 30);
        for (Vorn* unit : crowd) arena->DestroyObject(unit, false);

        platform_test::LogLines log;
        ASSERT_TRUE(squad.Load("Big", -1));
        EXPECT_EQ(squad.Count(), kept);
        EXPECT_TRUE(squad.leftOut.IsEmpty()) << Squad::LeftOutText(squad.leftOut).CStr();
        ASSERT_TRUE(squad.Save("Again"));
        EXPECT_EQ(listing("Again"), listing("Big"));
        squad.DestroyMembers();
        StringArray leftOut;
        EXPECT_EQ(arena->LoadSquadFile("Big", Vector3(80, 80, 0), &red, &leftOut), kept);
        EXPECT_TRUE(leftOut.IsEmpty());
        EXPECT_FALSE(log.HasLineWith({"Big.SQD", GetLanguageText("SquadMembersLeftOut").CStr()})) << log.Text();
        arena->ClearBattlefield(true);
    }
}

TEST_F(SquadFileTest, DamagedAndHostileBodiesStopSafely) {
    Squad written;
    written.Add(Unit("One", 0.0f, 0.0f, 5));
    written.Add(Unit("Two", 10.0f, 0.0f, 5));
    std::string text = Text(written);
    written.DestroyMembers();
    platform_test::WriteRaw(folder / "Cut.SQD", text.substr(0, text.rfind("Weapons")));
    ASSERT_TRUE(squad.Load("Cut", -1));
    EXPECT_EQ(squad.Count(), 1);  // the half-read second body is not kept
    text.replace(text.find("Count 2"), 7, "Count 999999");
    platform_test::WriteRaw(folder / "Huge.SQD", text);
    ASSERT_TRUE(squad.Load("Huge", -1));
    EXPECT_EQ(squad.Count(), 0);  // the member list runs into the bodies: nothing is made of it
    StringStream empty("Count 0\nIconData\nVornData\n");
    squad.Read(empty);
    EXPECT_EQ(squad.Count(), 0);
}

TEST_F(SquadFileTest, FindsRemovesAndPlacesMembers) {
    Vorn* a = Unit("Alpha", 0.0f, 0.0f, 10);
    Vorn* b = Unit("Beta", 6.0f, 0.0f, 20);
    Vorn* c = Unit("alpha", -6.0f, 0.0f, 30);
    for (Vorn* unit : {a, b, c}) squad.Add(unit);
    EXPECT_EQ(squad.NearestMember(Vector3(3.0f, 0.0f, 0.0f), ""), a);  // tie: the earlier
    EXPECT_EQ(squad.NearestMember(Vector3(5.0f, 0.0f, 0.0f), "ALPHA"), a);
    EXPECT_EQ(squad.NearestMember(Vector3(0.0f, 0.0f, 0.0f), "nobody"), nullptr);
    EXPECT_EQ(squad.MemberAt(Vector3(a->GetRadius(), 0.0f, 0.0f)), a);
    EXPECT_EQ(squad.MemberAt(Vector3(0.0f, 15.0f, 0.0f)), nullptr);
    EXPECT_FALSE(squad.CanPlace(Vector3(1.0f, 0.0f, 0.0f), 0.5f, nullptr));
    EXPECT_TRUE(squad.CanPlace(Vector3(1.0f, 0.0f, 0.0f), 0.5f, a));
    squad.Remove(b);
    EXPECT_EQ(squad.Count(), 2);
    EXPECT_EQ(squad.members[1], c);
    EXPECT_EQ(squad.totalCost, 40);
    squad.Remove(b);  // not a member any more: nothing happens
    EXPECT_EQ(squad.totalCost, 40);
}

}  // namespace
