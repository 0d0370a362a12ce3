// Pattern records and their text form: round trips, hand-written texts and hostile input.
#include <string>

#include <gtest/gtest.h>

#include "core/MemoryBlock.h"
#include "core/StringStream.h"
#include "support/ArenaFixture.h"
#include "units/Action.h"
#include "units/MapConditional.h"
#include "units/PathPoint.h"
#include "units/Pattern.h"
#include "units/PatternObject.h"
#include "units/PolarLayout.h"

namespace {

constexpr int kActionPool = 28;  // the action pool is made last

std::string Saved(const Pattern& pattern) {
    StringStream stream;
    pattern.Save(stream);
    return stream.Text();
}

// Loads the text and answers whether the stream stayed free of errors.
bool LoadText(Pattern& pattern, const std::string& text) {
    StringStream stream(text.c_str());
    pattern.Load(stream);
    return !stream.HasError();
}

void ExpectSamePatterns(const Pattern& a, const Pattern& b) {
    ASSERT_EQ(a.objects.Count(), b.objects.Count());
    for (int i = 1; i < a.objects.Count(); ++i) {
        const PatternObject& x = *a.objects[i];
        const PatternObject& y = *b.objects[i];
        EXPECT_EQ(x.kind, y.kind) << i;
        EXPECT_EQ(x.position, y.position) << i;
        EXPECT_EQ(x.facing, y.facing) << i;
        EXPECT_TRUE(x.SameProperties(y)) << i;
    }
    ASSERT_EQ(a.mapConditionals.Count(), b.mapConditionals.Count());
    for (int i = 0; i < a.mapConditionals.Count(); ++i) {
        EXPECT_EQ(a.mapConditionals[i]->kind, b.mapConditionals[i]->kind);
        EXPECT_EQ(a.mapConditionals[i]->position, b.mapConditionals[i]->position);
    }
    ASSERT_EQ(a.pathPoints.Count(), b.pathPoints.Count());
    for (int i = 0; i < a.pathPoints.Count(); ++i) {
        const PathPoint& p = *a.pathPoints[i];
        const PathPoint& q = *b.pathPoints[i];
        EXPECT_EQ(p.position, q.position) << i;
        EXPECT_EQ(p.facing, q.facing) << i;
        ASSERT_EQ(p.actions.Count(), q.actions.Count()) << i;
        for (int k = 0; k < p.actions.Count(); ++k) {
            EXPECT_EQ(p.actions[k]->kind, q.actions[k]->kind);
            EXPECT_EQ(p.actions[k]->point, q.actions[k]->point);
            EXPECT_EQ(p.actions[k]->seconds, q.actions[k]->seconds);
        }
    }
    EXPECT_EQ(a.conditionals, b.conditionals);
    EXPECT_EQ(a.priority, b.priority);
}

PatternObject* AddObject(Pattern& pattern, int32_t kind, Vector2 position, Vector2 facing) {
    PatternObject* object = gArena->NewPatternObject();
    object->kind = kind;
    object->position = position;
    object->facing = facing;
    pattern.AddObject(object);
    return object;
}

Action* AddAction(PathPoint& point, int32_t kind, Vector2 at, float seconds = 0.0f) {
    Action* action = point.AddAction();
    action->kind = kind;
    action->point = at;
    action->seconds = seconds;
    return action;
}

// A pattern using every part of the text form.
void BuildFullPattern(Pattern& pattern) {
    PatternObject* enemy = AddObject(pattern, kPatternEnemy, {10.0f, 0.0f}, {8.0f, -2.5f});
    enemy->SetProperty(kPropertyInjured, true);
    enemy->SetProperty(kPropertyLargeChassis, true);
    enemy->SetProperty(kPropertyHasBall, true);
    AddObject(pattern, kPatternTree, {-6.25f, 3.5f}, {-6.25f, 3.5f});
    AddObject(pattern, kPatternEnemyGoal, {0.0f, 22.0f}, {1.0f, 22.0f});
    MapConditional* lava = gArena->NewMapConditional();
    lava->kind = kMapLava;
    lava->position = Vector2(3.0f, -4.5f);
    pattern.AddMapConditional(lava);
    MapConditional* lower = gArena->NewMapConditional();
    lower->kind = kMapLower;
    lower->position = Vector2(-1.0f, 0.125f);
    pattern.AddMapConditional(lower);
    AddAction(*pattern.pathPoints[0], kActionSetSwitch1, {3.5f, 0.0f});
    PathPoint* second = pattern.AddPathPoint();
    second->position = Vector2(5.0f, 2.0f);
    second->facing = Vector2(5.0f, 6.0f);
    AddAction(*second, kActionFire1, {10.0f, 0.0f});
    AddAction(*second, kActionSetTimer, {8.5f, 2.0f}, 1.75f);
    AddAction(*second, kActionClearBeacon, {5.0f, -1.5f});
    PathPoint* third = pattern.AddPathPoint();
    third->position = Vector2(-3.0f, -7.0f);
    third->facing = third->position;
    pattern.conditionals.flags[kConditionalSignal2] = 1;
    pattern.conditionals.flags[kConditionalHasBall] = 1;
    pattern.priority = -7;
    pattern.RebuildLayout();
}

class PatternTest : public ArenaFixture {};

TEST_F(PatternTest, NewPatternWritesItsEmptyFormAndIsNotEnabled) {
    Pattern pattern;
    EXPECT_EQ(Saved(pattern),
              "\tObjects 0\n\tMapConditionals 0\n\tPathPoints 1\n\t\t< 0, 0 > < 0, 0 > Actions 0\n"
              "\tConditionals End \n\tPriority 0\n");
    EXPECT_FALSE(pattern.IsEnabled());
    EXPECT_EQ(pattern.score, Pattern::kNoScore);
    ASSERT_EQ(pattern.objects.Count(), 1);
    EXPECT_EQ(pattern.objects[0], pattern.ownObject);
    EXPECT_EQ(pattern.ownObject->kind, kPatternFriend);
    EXPECT_EQ(pattern.ownObject->facing, Vector2(2.1f, 0.0f));
}

TEST_F(PatternTest, FullPatternReadsBackIdentical) {
    Pattern pattern;
    BuildFullPattern(pattern);
    const std::string text = Saved(pattern);
    Pattern loaded;
    ASSERT_TRUE(LoadText(loaded, text));
    ExpectSamePatterns(pattern, loaded);
    EXPECT_EQ(Saved(loaded), text);
    EXPECT_TRUE(loaded.IsEnabled());
    // The reader's objects follow the reader's own object.
    EXPECT_EQ(loaded.objects[0], loaded.ownObject);
}

TEST_F(PatternTest, HandWrittenTextLoadsWithLfOrCrlf) {
    const std::string lines[] = {
        "\tObjects 1",           "\t\tEnemy < 10, 0 > < 8, 0 > End ", "\tMapConditionals 0",
        "\tPathPoints 2",        "\t\t< 0, 0 > < 0, 0 > Actions 0",   "\t\t< 5, 0 > < 5, 0 > Actions 1",
        "\t\t\tFire1 < 10, 0 >", "\tConditionals Switch1 End ",       "\tPriority 2",
    };
    for (const char* end : {"\n", "\r\n"}) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + end;
        }
        Pattern pattern;
        ASSERT_TRUE(LoadText(pattern, text)) << end;
        ASSERT_EQ(pattern.objects.Count(), 2);
        EXPECT_EQ(pattern.objects[1]->kind, kPatternEnemy);
        EXPECT_EQ(pattern.objects[1]->position, Vector2(10.0f, 0.0f));
        EXPECT_EQ(pattern.objects[1]->facing, Vector2(8.0f, 0.0f));
        ASSERT_EQ(pattern.pathPoints.Count(), 2);
        EXPECT_EQ(pattern.pathPoints[1]->position, Vector2(5.0f, 0.0f));
        ASSERT_EQ(pattern.pathPoints[1]->actions.Count(), 1);
        EXPECT_EQ(pattern.pathPoints[1]->actions[0]->kind, kActionFire1);
        EXPECT_EQ(pattern.pathPoints[1]->actions[0]->point, Vector2(10.0f, 0.0f));
        EXPECT_EQ(pattern.conditionals.flags[kConditionalSwitch1], 1);
        EXPECT_EQ(pattern.priority, 2);
        EXPECT_EQ(Saved(pattern), lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n" + lines[3] + "\n" + lines[4] +
                                      "\n" + lines[5] + "\n" + lines[6] + "\n" + lines[7] + "\n" + lines[8] + "\n");
    }
}

TEST_F(PatternTest, SectionWordsAreNotCompared) {
    Pattern pattern;
    ASSERT_TRUE(LoadText(pattern, "Objekts 0 Map 0 Paths 1 < 1, 2 > < 1, 2 > Akshuns 0 Conds End Prio 3\n"));
    EXPECT_EQ(pattern.pathPoints[0]->position, Vector2(1.0f, 2.0f));
    EXPECT_EQ(pattern.priority, 3);
}

TEST_F(PatternTest, SurplusRecordsAreReadAndDropped) {
    std::string text = "\tObjects 12\n";
    for (int i = 0; i < 12; ++i) {
        text += "\t\tRock < " + std::to_string(i) + ", 1 > < " + std::to_string(i) + ", 1 > End \n";
    }
    text += "\tMapConditionals 10\n";
    for (int i = 0; i < 10; ++i) {
        text += "\t\tWater < " + std::to_string(i) + ", 2 > \n";
    }
    text += "\tPathPoints 11\n";
    for (int i = 0; i < 11; ++i) {
        text += "\t\t< " + std::to_string(i) + ", 3 > < " + std::to_string(i) + ", 3 > Actions 1\n";
        text += "\t\t\tSetSwitch2 < 0, 0 >\n";
    }
    text += "\tConditionals Injured End \n\tPriority 4\n";
    Pattern pattern;
    ASSERT_TRUE(LoadText(pattern, text));
    ASSERT_EQ(pattern.objects.Count(), 9);
    EXPECT_EQ(pattern.objects[8]->position, Vector2(7.0f, 1.0f));
    ASSERT_EQ(pattern.mapConditionals.Count(), 8);
    EXPECT_EQ(pattern.mapConditionals[7]->position, Vector2(7.0f, 2.0f));
    ASSERT_EQ(pattern.pathPoints.Count(), 9);
    EXPECT_EQ(pattern.pathPoints[8]->position, Vector2(8.0f, 3.0f));
    // What follows the dropped records is still read in its place.
    EXPECT_EQ(pattern.conditionals.flags[kConditionalInjured], 1);
    EXPECT_EQ(pattern.priority, 4);
    // The dropped path points gave their actions back.
    gArena->FlushObjectPools();
    const int freeActions = gArena->PoolAt(kActionPool)->FreeCount();
    pattern.Reset();
    gArena->FlushObjectPools();
    EXPECT_EQ(gArena->PoolAt(kActionPool)->FreeCount(), freeActions + 9);
}

TEST_F(PatternTest, NegativeCountsReadAsNone) {
    Pattern pattern;
    ASSERT_TRUE(LoadText(pattern,
                         "\tObjects -5\n\tMapConditionals -2147483648\n\tPathPoints -1\n"
                         "\tConditionals Switch2 End \n\tPriority 1\n"));
    EXPECT_EQ(pattern.objects.Count(), 1);
    EXPECT_EQ(pattern.mapConditionals.Count(), 0);
    EXPECT_EQ(pattern.pathPoints.Count(), 1);
    EXPECT_EQ(pattern.conditionals.flags[kConditionalSwitch2], 1);
    EXPECT_EQ(pattern.priority, 1);
}

TEST_F(PatternTest, HugeCountStopsAtTheEndOfTheText) {
    Pattern pattern;
    EXPECT_FALSE(LoadText(pattern, "\tObjects 2147483647\n\t\tTree < 1, 1 > < 1, 1 > End \n"));
    EXPECT_EQ(pattern.objects.Count(), 2);
}

TEST_F(PatternTest, NonFiniteNumbersKeepTheirDefaultsAndReadingGoesOn) {
    for (const char* bad : {"nan", "inf", "1e39"}) {
        Pattern pattern;
        const std::string text = std::string("\tObjects 1\n\t\tEnemy < ") + bad +
                                 ", 3 > < 8, 0 > End \n\tMapConditionals 1\n\t\tLava < 1, 1 > \n"
                                 "\tPathPoints 0\n\tConditionals End \n\tPriority 2\n";
        EXPECT_TRUE(LoadText(pattern, text)) << bad;
        ASSERT_EQ(pattern.objects.Count(), 2) << bad;
        EXPECT_EQ(pattern.objects[1]->position, Vector2(0, 3)) << bad;
        EXPECT_EQ(pattern.mapConditionals.Count(), 1) << bad;
        EXPECT_EQ(pattern.priority, 2) << bad;
    }
}

TEST_F(PatternTest, KindWordsAreCaseSensitive) {
    Pattern pattern;
    ASSERT_TRUE(LoadText(pattern,
                         "\tObjects 1\n\t\tenemy < 3, 0 > < 3, 0 > End \n\tMapConditionals 1\n"
                         "\t\tlava < 1, 1 > \n\tPathPoints 1\n\t\t< 0, 0 > < 0, 0 > Actions 2\n"
                         "\t\t\tfire1 < 2, 0 >\n\t\t\tFire1 < 4, 0 >\n\tConditionals End \n"
                         "\tPriority 0\n"));
    EXPECT_EQ(pattern.objects[1]->kind, kPatternTree);
    EXPECT_EQ(pattern.mapConditionals[0]->kind, kMapDirtGrassStone);
    ASSERT_EQ(pattern.pathPoints[0]->actions.Count(), 1);
    EXPECT_EQ(pattern.pathPoints[0]->actions[0]->point, Vector2(4.0f, 0.0f));
}

TEST_F(PatternTest, UnknownActionIsConsumedAndGoesBackToThePool) {
    MemoryBlock* pool = gArena->PoolAt(kActionPool);
    gArena->FlushObjectPools();
    const int pending = pool->PendingCount();
    PathPoint* point = gArena->NewPathPoint();
    StringStream stream(
        "< 1, 1 > < 1, 1 > Actions 3\n\t\t\tJump < 9, 9 >\n\t\t\tFire2 < 2, 2 >\n"
        "\t\t\tDance < 3, 3 >\nnext");
    PathPoint::Read(stream, *point);
    ASSERT_FALSE(stream.HasError());
    ASSERT_EQ(point->actions.Count(), 1);
    EXPECT_EQ(point->actions[0]->kind, kActionFire2);
    EXPECT_EQ(pool->PendingCount(), pending + 2);
    String rest;
    String::ReadToken(stream, rest);
    EXPECT_STREQ(rest.CStr(), "next");
    gArena->FreePathPoint(point);
}

TEST_F(PatternTest, ActionsBeyondEightAreReadAndDropped) {
    std::string text = "< 0, 0 > < 0, 0 > Actions 10\n";
    for (int i = 0; i < 10; ++i) {
        text += "\t\t\tTurnToFace < " + std::to_string(i) + ", 0 >\n";
    }
    text += "after";
    StringStream stream(text.c_str());
    PathPoint* point = gArena->NewPathPoint();
    PathPoint::Read(stream, *point);
    ASSERT_EQ(point->actions.Count(), 8);
    EXPECT_EQ(point->actions[7]->point, Vector2(7.0f, 0.0f));
    String rest;
    String::ReadToken(stream, rest);
    EXPECT_STREQ(rest.CStr(), "after");
    gArena->FreePathPoint(point);
}

TEST_F(PatternTest, DelayReadsAsSetTimerAndWritesAsSetTimer) {
    Action action;
    StringStream in("Delay < 1.5, -2 > 2.25 ");
    EXPECT_TRUE(Action::Read(in, action));
    EXPECT_EQ(action.kind, kActionSetTimer);
    EXPECT_EQ(action.point, Vector2(1.5f, -2.0f));
    EXPECT_EQ(action.seconds, 2.25f);
    StringStream out;
    Action::Write(out, action);
    EXPECT_STREQ(out.Text(), "SetTimer < 1.5, -2 > 2.25");
}

TEST_F(PatternTest, ActionWithoutKindIsNotWritten) {
    Pattern pattern;
    pattern.pathPoints[0]->AddAction();  // fresh: no kind yet
    AddAction(*pattern.pathPoints[0], kActionClearSignal1, {3.5f, 0.0f});
    Pattern loaded;
    ASSERT_TRUE(LoadText(loaded, Saved(pattern)));
    ASSERT_EQ(loaded.pathPoints[0]->actions.Count(), 1);
    EXPECT_EQ(loaded.pathPoints[0]->actions[0]->kind, kActionClearSignal1);
}

TEST_F(PatternTest, PropertyGroupsAndConditionalListOnReading) {
    PatternObject object;
    StringStream in("Friend < 1, 1 > < 1, 1 > Injured NotInjured SmallChassis LargeChassis VIP Fin tail");
    PatternObject::Read(in, object);
    EXPECT_EQ(object.kind, kPatternFriend);
    const uint8_t expected[8] = {0, 1, 0, 0, 1, 1, 0, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(object.properties[i], expected[i]) << i;
    }
    Conditional flags;
    flags.flags[kConditionalInjured] = 1;
    StringStream list("Switch1 HasBall Whatever tail");
    Conditional::Read(list, flags);
    for (int i = 0; i < kConditionalCount; ++i) {
        EXPECT_EQ(flags.flags[i], i == kConditionalSwitch1 || i == kConditionalHasBall) << i;
    }
    String rest;
    String::ReadToken(list, rest);
    EXPECT_STREQ(rest.CStr(), "tail");
}

TEST_F(PatternTest, ReadingMovesAnUnsetFacingPointWithThePosition) {
    PatternObject object;
    object.kind = kPatternEnemy;
    object.position = Vector2(2.0f, 2.0f);
    object.facing = Vector2(3.0f, 2.0f);  // within the radius: not set
    StringStream in("Enemy < 5, 5 > < nope");
    PatternObject::Read(in, object);
    EXPECT_EQ(object.position, Vector2(5.0f, 5.0f));
    EXPECT_EQ(object.facing, Vector2(5.0f, 5.0f));
}

TEST_F(PatternTest, AssignmentCopiesIntoFreshRecordsAndKeepsTheOwnObject) {
    Pattern source;
    BuildFullPattern(source);
    source.score = 12;
    Pattern target;
    target.ownObject->position = Vector2(0.5f, 0.0f);
    target.ownObject->facing = Vector2(3.0f, 0.0f);
    AddObject(target, kPatternRock, {4.0f, 4.0f}, {4.0f, 4.0f});
    target = source;
    ExpectSamePatterns(source, target);
    EXPECT_EQ(target.score, Pattern::kNoScore);
    EXPECT_EQ(target.ownObject->position, Vector2(0.5f, 0.0f));
    EXPECT_EQ(target.ownObject->facing, Vector2(3.0f, 0.0f));
    for (int i = 0; i < source.objects.Count(); ++i) {
        EXPECT_NE(source.objects[i], target.objects[i]);
    }
    EXPECT_NE(source.pathPoints[1]->actions[0], target.pathPoints[1]->actions[0]);
    EXPECT_EQ(target.Layout().Size(), 3);

    const std::string before = Saved(target);
    Pattern& self = target;
    target = self;
    EXPECT_EQ(Saved(target), before);

    Pattern copy(source);
    ExpectSamePatterns(source, copy);
}

TEST_F(PatternTest, ClearKeepsTheStartPointAndOwnObject) {
    Pattern pattern;
    BuildFullPattern(pattern);
    pattern.ownObject->SetProperty(kPropertyVIP, true);
    pattern.score = 5;
    PathPoint* start = pattern.pathPoints[0];
    PatternObject* own = pattern.ownObject;
    pattern.Reset();
    EXPECT_EQ(Saved(pattern), Saved(Pattern()));
    EXPECT_EQ(pattern.pathPoints[0], start);
    EXPECT_EQ(pattern.objects[0], own);
    EXPECT_EQ(own->PropertyCount(), 0);
    EXPECT_EQ(pattern.score, 5);
    EXPECT_EQ(pattern.Layout().Size(), 0);
}

TEST_F(PatternTest, EachPartEnablesThePattern) {
    Pattern pattern;
    pattern.priority = 1;
    EXPECT_TRUE(pattern.IsEnabled());
    pattern.priority = -1;
    EXPECT_FALSE(pattern.IsEnabled());
    pattern.conditionals.flags[kConditionalTimerExpired] = 1;
    EXPECT_TRUE(pattern.IsEnabled());
    pattern.Reset();
    AddAction(*pattern.pathPoints[0], kActionSetSignal1, {});
    EXPECT_TRUE(pattern.IsEnabled());
    pattern.Reset();
    pattern.AddMapConditional(gArena->NewMapConditional());
    EXPECT_TRUE(pattern.IsEnabled());
}

}  // namespace
