// The command names and the matching of events against a tutorial step's requirements.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/Event.h"
#include "game/EventTarget.h"
#include "game/Game.h"
#include "game/PlayerRoster.h"
#include "support/TestArena.h"
#include "units/PatternObject.h"
#include "units/Vorn.h"

namespace {

class NullTarget : public EventTarget {
public:
    void HandleCommand(Event&) override {}
};

class EventMatchTest : public ::testing::Test {
protected:
    Requirement& Require(int32_t type, const char* words, int32_t state = Requirement::kRequired) {
        auto requirement = std::make_unique<Requirement>();
        requirement->Set(&button, type, state);
        String(words).Split(requirement->words, ' ');
        list.Append(requirement.get());
        owned.push_back(std::move(requirement));
        return *owned.back();
    }
    Event Posted(int32_t type) {
        Event event;
        event.type = type;
        event.target = &button;
        return event;
    }

    NullTarget button;
    Array<Requirement*> list;
    std::vector<std::unique_ptr<Requirement>> owned;
};

TEST(EventTest, TypesAreFoundByNameWithoutCase) {
    EXPECT_EQ(Event::FindType("closewindow"), kEventCloseWindow);
    EXPECT_EQ(Event::FindType("ResetWorms"), 229);
    EXPECT_EQ(Event::FindType("NoSuchCommand"), kEventNone);
    // The first type without a name: no script can name it on purpose.
    EXPECT_EQ(Event::FindType(""), 198);
    EXPECT_EQ(Event::TypeName(kEventOpenEscapeMenu), "OpenEscapeMenu");
    EXPECT_TRUE(Event::TypeName(199).IsEmpty());
    EXPECT_TRUE(Event::TypeName(kEventNone).IsEmpty());
    EXPECT_TRUE(Event::TypeName(-1).IsEmpty());
}

TEST_F(EventMatchTest, OnlyTheRightTargetAndTypeMatchAndEachRequirementIsMarked) {
    Requirement& close = Require(kEventCloseWindow, "");
    Event other = Posted(kEventCloseWindow);
    NullTarget elsewhere;
    other.target = &elsewhere;
    EXPECT_FALSE(Event::Matches(list, other));
    EXPECT_FALSE(Event::Matches(list, Posted(kEventPause)));
    EXPECT_TRUE(Event::Matches(list, Posted(kEventCloseWindow)));
    EXPECT_EQ(close.state, Requirement::kSatisfied);
    EXPECT_TRUE(Requirement::AllSatisfied(list));
}

TEST_F(EventMatchTest, OneAlternativeSatisfiesTheWholeGroup) {
    Requirement& first = Require(kEventPickEntry, "Yes", Requirement::kAlternative);
    Requirement& second = Require(kEventPickEntry, "No", Requirement::kAlternative);
    Requirement& alone = Require(kEventPause, "");
    Event pick = Posted(kEventPickEntry);
    pick.text = "no";
    EXPECT_TRUE(Event::Matches(list, pick));
    EXPECT_EQ(first.state, Requirement::kSatisfied);
    EXPECT_EQ(second.state, Requirement::kSatisfied);
    EXPECT_EQ(alone.state, Requirement::kRequired);
    EXPECT_FALSE(Requirement::AllSatisfied(list));
}

TEST_F(EventMatchTest, NumbersAndNamesOfTheArguments) {
    Require(kEventZoomCamera, "ZoomIn");
    Event zoom = Posted(kEventZoomCamera);
    zoom.value = 0;
    EXPECT_FALSE(Event::Matches(list, zoom));
    zoom.value = 3;
    EXPECT_TRUE(Event::Matches(list, zoom));

    list.Clear();
    Require(kEventCopyPattern, "2 5");
    Event copy = Posted(kEventCopyPattern);
    copy.point = Point(2, 4);
    EXPECT_FALSE(Event::Matches(list, copy));
    copy.point = Point(2, 5);
    EXPECT_TRUE(Event::Matches(list, copy));

    // The pattern-object kind of the value; a value outside the table never matches.
    list.Clear();
    Require(kEventPickPatternObjectIcon, PatternObjectKindNames[1]);
    Event icon = Posted(kEventPickPatternObjectIcon);
    icon.value = 1;
    EXPECT_TRUE(Event::Matches(list, icon));
    icon.value = 99;
    EXPECT_FALSE(Event::Matches(list, icon));
}

TEST_F(EventMatchTest, WordsThatEndEarlyFailInsteadOfReadingOn) {
    Require(kEventAddPathPoint, "Circle 1 2");
    Event point = Posted(kEventAddPathPoint);
    EXPECT_FALSE(Event::Matches(list, point));

    list.Clear();
    Require(kEventOpenObjectCountMenu, "Name");
    Event menu = Posted(kEventOpenObjectCountMenu);
    EXPECT_FALSE(Event::Matches(list, menu));

    list.Clear();
    Require(kEventDeleteProperty, "Enemy 1");
    EXPECT_FALSE(Event::Matches(list, Posted(kEventDeleteProperty)));

    // A word-less requirement matches any event of its type; no event has type none.
    list.Clear();
    Require(kEventNone, "");
    EXPECT_FALSE(Event::Matches(list, Posted(kEventCloseWindow)));
}

TEST_F(EventMatchTest, PatternEditorCirclesUsePosition2) {
    Require(kEventAddPatternObject, "Circle 10 10 2");
    Event add = Posted(kEventAddPatternObject);
    add.position2 = Vector2(11.0f, 11.0f);
    EXPECT_TRUE(Event::Matches(list, add));
    add.position2 = Vector2(12.0f, 12.0f);  // 2.83 from the centre
    EXPECT_FALSE(Event::Matches(list, add));
}

TEST_F(EventMatchTest, UnitWordsNeedAUnitAndItsName) {
    Game game;
    std::unique_ptr<Arena> arena = world_test::OpenArena(game);
    WorldObject* rock = world_test::AddObjectOfKind(*arena, kKindRock, 50.0f, 50.0f);
    auto* unit = static_cast<Vorn*>(world_test::AddObjectOfKind(*arena, kKindVorn, 60.0f, 60.0f));
    unit->name = "Scout";
    unit->owner = &GetLocalPlayer();

    Require(kEventSetCameraFollowVorn, "scout");
    Event follow = Posted(kEventSetCameraFollowVorn);
    follow.object = rock;  // not a unit: its fields are never read as one
    EXPECT_FALSE(Event::Matches(list, follow));
    follow.object = unit;
    EXPECT_TRUE(Event::Matches(list, follow));

    list.Clear();
    Require(kEventEditVorn, "Team Friend Name Scout");
    Event edit = Posted(kEventEditVorn);
    edit.object = unit;
    EXPECT_TRUE(Event::Matches(list, edit));
    unit->owner = &GetOpponentPlayer();
    EXPECT_FALSE(Event::Matches(list, edit));

    // "Name" counts only after "Vorn" and only for a unit.
    list.Clear();
    Require(kEventTranslateObject, "Name Scout");
    Event move = Posted(kEventTranslateObject);
    move.object = unit;
    EXPECT_FALSE(Event::Matches(list, move));
    list.Clear();
    Require(kEventTranslateObject, "Vorn Name Scout");
    EXPECT_TRUE(Event::Matches(list, move));
    move.object = rock;
    EXPECT_FALSE(Event::Matches(list, move));
    world_test::CloseArena(*arena);
}

TEST_F(EventMatchTest, BattlefieldCirclesReachAcrossTheWrapAroundEdge) {
    Game game;
    std::unique_ptr<Arena> arena = world_test::OpenArena(game);
    // The arena is 160 units wide: x = 159 lies 2 units from a circle at x = 1.
    Require(kEventSetCameraTargetPosition, "Circle 1 80 3");
    Event target = Posted(kEventSetCameraTargetPosition);
    target.position3 = Vector3(159.0f, 80.0f, 0.0f);
    EXPECT_TRUE(Event::Matches(list, target));
    target.position3 = Vector3(150.0f, 80.0f, 0.0f);
    EXPECT_FALSE(Event::Matches(list, target));

    // A selection dragged from (0, 0) to (20, 0) has radius 10 around (10, 0): it holds a
    // circle of radius 3 at (12, 0) (2 + 3 <= 10) but not one at (18, 0) (8 + 3 > 10).
    list.Clear();
    Require(kEventEndSelectGroup, "Circle 12 0 3");
    Event select = Posted(kEventEndSelectGroup);
    select.position2 = Vector2(0.0f, 0.0f);
    select.position3 = Vector3(20.0f, 0.0f, 0.0f);
    EXPECT_TRUE(Event::Matches(list, select));
    list.Clear();
    Require(kEventEndSelectGroup, "Circle 18 0 3");
    EXPECT_FALSE(Event::Matches(list, select));
    world_test::CloseArena(*arena);
}

}  // namespace
