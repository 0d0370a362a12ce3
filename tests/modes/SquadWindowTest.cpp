// The squad editor's placements: within the area, the budget and the unit file; the
// rings around a crowded drop point; lines and circles; deleting and clearing.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/EffectSounds.h"
#include "core/Image.h"
#include "core/MathUtil.h"
#include "game/Event.h"
#include "game/Squad.h"
#include "modes/SquadWindow.h"
#include "support/TempFolder.h"
#include "support/VornTestWorld.h"
#include "support/WorkingFolder.h"
#include "ui/SquadNameEditBox.h"
#include "ui/WindowManager.h"
#include "world/SaveFilePaths.h"

namespace {

class SquadWindowTest : public VornTestWorld {
protected:
    void SetUp() override {
        VornTestWorld::SetUp();
        const String base((folder.Path() + "/").c_str());
        SetDataFolders(base, base, base);
        SaveUnit("Cheap", 10);
        SaveUnit("Dear", 500);
        window.squad = &red.squads[0];
        window.budget = 100;
        RecordEffectSoundRequests(true);
    }
    void TearDown() override {
        RecordEffectSoundRequests(false);
        red.squads[0].DestroyMembers();
        SetDataFolders("Vorns\\", "Squads\\", "Scenarios\\");
        VornTestWorld::TearDown();
    }
    void SaveUnit(const char* name, int32_t cost, int32_t chassis = kRobotSmall) {
        Vorn* unit = arena->NewVorn(0);
        unit->BuildBody(chassis);
        unit->cost = cost;
        ASSERT_TRUE(unit->SaveFile(name));
        arena->DestroyObject(unit, false);
    }
    std::string LastSound() const {
        const auto& requests = GetEffectSoundRequests();
        return requests.empty() ? std::string() : std::string(requests.back().name.CStr());
    }
    Squad& squad() { return red.squads[0]; }
    // The editor's pictures and models in the working folder, plain stand-ins.
    static void WritePicturesAndModels() {
        std::filesystem::create_directories("Textures");
        std::filesystem::create_directories("Actors");
        Image picture(16, 16);
        picture.Fill(Color(0xFF808080));
        for (const char* name : {"SaveSquadButton", "NoButton64", "LayoutCircleButton", "LayoutLineButton",
                                 "LayoutRandomButton", "SquadCircle", "FriendPatternWedge", "Highlight"}) {
            ASSERT_TRUE(picture.SaveTGA(std::string("Textures/") + name + ".tga"));
        }
        for (const char* name : {"Arrowhead", "GreenBall"}) {
            std::ofstream(std::string("Actors/") + name + "_c_painted.obj") << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
            ASSERT_TRUE(picture.SaveTGA(std::string("Actors/") + name + "_c_painted.tga"));
        }
    }

    platform_test::TempFolder folder;
    SquadWindow window{red};
};

TEST_F(SquadWindowTest, AddingKeepsToTheAreaTheBudgetAndTheFile) {
    // What an earlier launch screen had chosen counts for nothing where no launch tray
    // shows (a lesson): the budget left is what the edited squad leaves.
    window.launchedCost = 120;
    Vorn* unit = window.AddUnitAt("Cheap", Vector3(30.0f, 40.0f, 0.0f), 1.5f, window.SquadBudget());
    ASSERT_NE(unit, nullptr);
    EXPECT_NEAR(std::hypot(unit->position.x, unit->position.y), SquadWindow::kPlaceLimit, 1e-3f);
    EXPECT_EQ(unit->name, "Cheap");
    EXPECT_EQ(unit->owner, &red);
    const int32_t cost = unit->cost;
    EXPECT_EQ(squad().totalCost, cost);
    EXPECT_EQ(window.BudgetLeft(), 100 - cost);

    EXPECT_EQ(window.AddUnitAt("Dear", Vector3(), 1.5f, window.SquadBudget()), nullptr);
    EXPECT_EQ(LastSound(), "SOUNDS\\ILLEGAL.OGG");
    EXPECT_EQ(window.AddUnitAt("Missing", Vector3(), 1.5f, 1000), nullptr);
    EXPECT_EQ(squad().Count(), 1);
    EXPECT_EQ(squad().totalCost, cost);
}

TEST_F(SquadWindowTest, ACrowdedDropPointUsesTheRingsAround) {
    ASSERT_NE(window.PlaceNear("Cheap", Vector3(), 1.5f), nullptr);
    Vorn* second = window.PlaceNear("Cheap", Vector3(), 1.5f);
    ASSERT_NE(second, nullptr);
    // Rings are a radius apart; the first two still touch the unit at the centre.
    EXPECT_NEAR(second->position.x, 4.5f, 1e-4f);
    EXPECT_NEAR(second->position.y, 0.0f, 1e-4f);
}

TEST_F(SquadWindowTest, LinesAndCirclesSpreadTheirUnits) {
    window.budget = 1000;  // the budget holds the whole line
    window.PlaceLine("Cheap", 5, 1.5f, Vector3(-8.0f, 0.0f, 0.0f), Vector3(8.0f, 0.0f, 0.0f));
    ASSERT_EQ(window.batch.Count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(window.batch[i]->position.x, -8.0f + 4.0f * i, 1e-4f);
    EXPECT_NEAR(window.batchMidpoint.x, 0.0f, 1e-4f);

    // A line of one stands at its start instead of dividing by zero.
    window.PlaceLine("Cheap", 1, 1.5f, Vector3(0.0f, 10.0f, 0.0f), Vector3(5.0f, 10.0f, 0.0f));
    ASSERT_EQ(window.batch.Count(), 1);
    EXPECT_NEAR(window.batch[0]->position.x, 0.0f, 1e-4f);

    squad().DestroyMembers();
    window.PlaceCircle("Cheap", 4, 1.5f, Vector3(0.0f, 10.0f, 0.0f));
    ASSERT_EQ(squad().Count(), 4);
    EXPECT_NEAR(squad().members[0]->position.y, 10.0f, 1e-4f);
    for (Vorn* unit : squad().members) EXPECT_NEAR(std::hypot(unit->position.x, unit->position.y), 10.0f, 1e-3f);
    EXPECT_EQ(LastSound(), "SOUNDS\\THUD.OGG");
}

// After a circle of small units, a large unit dropped by itself is tried with its own
// radius: beside a small member it is refused, and the saved squad reads back whole.
TEST_F(SquadWindowTest, ASingleDropUsesItsOwnUnitsRadiusAfterACircle) {
    SaveUnit("Big", 10, kRobotLarge);
    window.layout = SquadWindow::kCircle;
    window.PlaceUnits("Cheap", 3, kChassisRadiusBySize[0]);
    window.PlaceCircle("Cheap", 3, kChassisRadiusBySize[0], Vector3(0.0f, 10.0f, 0.0f));
    ASSERT_EQ(squad().Count(), 3);
    const Vector3 small = squad().members[0]->position;
    Event drop;
    drop.type = kEventAddSquadMember;
    drop.text = "Big";
    // 3.2 from the small member's centre: room for another small unit, not for a large one.
    drop.position3 = small + Vector3(3.2f, 0.0f, 0.0f);
    drop.value = int32_t(kChassisRadiusBySize[2] * 100.0f);
    window.HandleCommand(drop);
    EXPECT_EQ(squad().Count(), 3);
    // Saved through the editor's button after a battlefield selection was saved: the
    // members keep their places around the squad's own centre, not the selection's.
    SquadNameEditBox& box = GetSquadNameEditBox();
    box.referencePoint = Vector2(90.0f, 40.0f);
    Event save;
    save.type = kEventPickEntry;
    save.text = "Save";
    window.HandleCommand(save);
    box.text = "Kept";
    box.Save();
    GetWindowManager().CloseWindow(&box);
    Squad reloaded;
    ASSERT_TRUE(reloaded.Load("Kept", 1000));
    ASSERT_EQ(reloaded.Count(), squad().Count());
    EXPECT_NEAR(reloaded.members[0]->position.x, small.x, 0.001f);
    EXPECT_NEAR(reloaded.members[0]->position.y, small.y, 0.001f);
    reloaded.DestroyMembers();
}

TEST_F(SquadWindowTest, DeleteAndClearCommandsEmptyTheSquad) {
    Vorn* unit = window.PlaceNear("Cheap", Vector3(5.0f, 0.0f, 0.0f), 1.5f);
    Vorn* kept = window.PlaceNear("Cheap", Vector3(-5.0f, 0.0f, 0.0f), 1.5f);
    ASSERT_NE(unit, nullptr);
    ASSERT_NE(kept, nullptr);
    Event remove;
    remove.type = kEventDeleteSquadMember;
    remove.position3 = Vector3(5.0f, 0.0f, 0.0f);
    window.HandleCommand(remove);
    EXPECT_EQ(squad().Count(), 1);
    EXPECT_EQ(squad().totalCost, kept->cost);
    Event clear;
    clear.type = kEventPickEntry;
    clear.text = "Clear";
    window.HandleCommand(clear);
    EXPECT_EQ(squad().Count(), 0);
    EXPECT_EQ(LastSound(), "SOUNDS\\DELETE.OGG");
}

// A countdown that ends while a line is being faced and a circle drawn sends the squad:
// its members go back to the pool and the screens close. The next squad screen turns
// none of those records and places no circle nobody drew there.
TEST_F(SquadWindowTest, ASquadSentMidDragLeavesNothingForTheNextScreen) {
    app_test::WorkingFolder inside(folder.Path());
    WritePicturesAndModels();
    WindowManager& manager = GetWindowManager();
    manager.OpenWindow(&window);
    window.budget = 1000;
    window.layout = SquadWindow::kLine;
    window.PlaceUnits("Cheap", 3, 1.5f);
    Event line;
    line.type = kEventPlaceSquadLineOfVorns;
    line.position3 = Vector3(12.0f, 0.0f, 0.0f);
    window.HandleCommand(line);
    ASSERT_TRUE(window.lookAtDrag);
    window.layout = SquadWindow::kCircle;
    window.PlaceUnits("Cheap", 3, 1.5f);
    const Array<Vorn*> givenBack = window.batch;
    ASSERT_EQ(givenBack.Count(), 3);

    red.ClearSquads();
    manager.CloseAllWindows();
    std::vector<float> headings;
    for (Vorn* record : givenBack) headings.push_back(record->heading);
    manager.OpenWindow(&window);
    const int32_t pending = game.pendingEvents.Count();
    InputEvent input;
    input.kind = kInputPointerMove;
    input.x = window.left + 10;
    input.y = window.top + 10;
    window.HandleMouse(input);
    input.kind = kInputUp;
    input.code = kInputButtonLeft;
    window.HandleMouse(input);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(givenBack[i]->heading, headings[i]) << "record " << i;
    EXPECT_EQ(game.pendingEvents.Count(), pending);
    manager.CloseAllWindows();
}

TEST_F(SquadWindowTest, DragPreviewsShowWherePlacementsGo) {
    // The green balls of a line and a circle stand where the units would be tried,
    // pulled into the area as the placement pulls them.
    Array<Vector3> spots;
    SquadWindow::LinePoints(3, Vector3(-30.0f, 0.0f, 0.0f), Vector3(10.0f, 0.0f, 0.0f), spots);
    ASSERT_EQ(spots.Count(), 3);
    EXPECT_NEAR(spots[0].x, -SquadWindow::kPlaceLimit, 1e-3f);
    EXPECT_NEAR(spots[1].x, -10.0f, 1e-4f);
    EXPECT_NEAR(spots[2].x, 10.0f, 1e-4f);
    SquadWindow::CirclePoints(4, Vector3(0.0f, 10.0f, 0.0f), spots);
    window.PlaceCircle("Cheap", 4, 1.5f, Vector3(0.0f, 10.0f, 0.0f));
    ASSERT_EQ(squad().Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(spots[i].x, squad().members[i]->position.x, 1e-4f);
        EXPECT_NEAR(spots[i].y, squad().members[i]->position.y, 1e-4f);
    }

    // One arrowhead per whole unit of ground distance, crawling with the phase.
    const float heading = SquadWindow::ArrowRow(Vector3(), Vector3(0.0f, 4.5f, 3.0f), 0.5f, spots);
    ASSERT_EQ(spots.Count(), 4);
    EXPECT_NEAR(heading, kPi / 2, 1e-4f);
    EXPECT_NEAR(spots[0].y, 4.5f * 0.5f / 4.0f, 1e-4f);
    EXPECT_NEAR(spots[3].y, 4.5f * 3.5f / 4.0f, 1e-4f);
    EXPECT_NEAR(spots[3].z, 0.1f, 1e-6f);
    SquadWindow::ArrowRow(Vector3(), Vector3(0.5f, 0.0f, 0.0f), 0.0f, spots);
    EXPECT_TRUE(spots.IsEmpty());

    // The spins wrap instead of growing without end.
    window.AdvanceSpins(100.25f);
    EXPECT_GE(window.arrowPhase, 0.0f);
    EXPECT_LE(window.arrowPhase, 1.0f);
    EXPECT_LT(window.ringPulse, 0.25f);
    EXPECT_LT(window.ringTurn, 2.0f * kPi);
}

TEST_F(SquadWindowTest, AFrameDrawsEveryPreviewAtOnce) {
    app_test::WorkingFolder inside(folder.Path());
    WritePicturesAndModels();
    window.CreateResources();
    window.hoveredMember = window.PlaceNear("Cheap", Vector3(), 1.5f);
    window.lineDrag = window.circleDrag = window.lookAtDrag = true;
    window.pendingCount = 3;
    window.pointerPoint = window.clampedPointer = Vector3(10.0f, 0.0f, 0.0f);
    window.DrawContents();
    window.layout = SquadWindow::kLine;
    window.DrawContents();
    EXPECT_EQ(squad().Count(), 1);
}

}  // namespace
