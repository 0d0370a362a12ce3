// The pattern matcher on situations worked out by hand: which pattern a unit chooses,
// how its objects pair with the world's and what each pattern scores.
//
// Common ground: the arena is 160 x 160 (grid cells of 5), flat grass; the unit U is red
// at (80, 80) facing +x unless a test says otherwise, so a world object at (80 + x,
// 80 + y) stands at (x, y) in pattern coordinates. The scale s is 200: an unmatched
// world object costs 200, an unmatched pattern object 1600, a property -100, a differing
// conditional 600000, a point of priority -60000. Units have shape radius 1 and are solid,
// as are trees; every solid object touches nothing (touch 0).
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <new>

#include <gtest/gtest.h>

#include "core/MathUtil.h"
#include "support/MatcherWorld.h"
#include "units/VornAction.h"
#include "world/Terrain.h"

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

// Counts every allocation of the program, for the warm-run check below. The
// replacements pair malloc with free, which the compiler cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++gAllocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

class PatternMatcherTest : public MatcherWorld {
protected:
    void SetUp() override {
        MatcherWorld::SetUp();
        unit = AddVorn(&red, 80.0f, 80.0f, 0.0f);
    }

    int IndexOf(const Pattern* pattern) const {
        for (int i = 0; i < unit->patternCount; ++i) {
            if (&unit->PatternAt(i) == pattern) {
                return i;
            }
        }
        return -1;
    }

    Vorn* unit = nullptr;
};

// World: friend F (0, 10), enemy E (10, 0), tree T (-10, 0).
class SeveralPatternsTest : public PatternMatcherTest {
protected:
    void SetUp() override {
        PatternMatcherTest::SetUp();
        friendUnit = AddVorn(&red, 80.0f, 90.0f, 0.0f);
        enemy = AddVorn(&blue, 90.0f, 80.0f, kPi);
        tree = AddKind(kKindTree, 70.0f, 80.0f);
    }

    Vorn* friendUnit = nullptr;
    Vorn* enemy = nullptr;
    WorldObject* tree = nullptr;
};

TEST_F(SeveralPatternsTest, ChoosesTheBestFitAndPairsItsObjects) {
    // P0: an enemy at (10, 0). E matches it exactly (placement 0; a single solid entry
    // adds no relation term); F and T stay unmatched: 2 x 200 = 400.
    Pattern& attack = NewPattern(unit, 0);
    AddObject(attack, kPatternEnemy, 10.0f, 0.0f);
    // P1: a tree at (-10, 0): T exactly; F and E unmatched: 400.
    Pattern& hide = NewPattern(unit, 1);
    AddObject(hide, kPatternTree, -10.0f, 0.0f);
    // P2: enemy (10, 0) and friend (0, 10), as the world has them. Only T is unmatched:
    // 200. The one pair agrees in R1 (+1 both: the unit lies left of the line from the
    // enemy to the friend, whose foot (5, 5) is 7.07 away) and R2 (0: between), while R3
    // (0, two solid objects) and touch (0) count for nothing: e = 2, f = 0. A and D
    // agree exactly: misfit = -2, x 200 = -400. Score 200 - 400 = -200.
    Pattern& pincer = NewPattern(unit, 2);
    PatternObject* pincerEnemy = AddObject(pincer, kPatternEnemy, 10.0f, 0.0f);
    PatternObject* pincerFriend = AddObject(pincer, kPatternFriend, 0.0f, 10.0f);
    // P3: P0 asking for Switch1, which the unit has not: 400 + 600000, not valid.
    Pattern& switched = NewPattern(unit, 3);
    AddObject(switched, kPatternEnemy, 10.0f, 0.0f);
    switched.conditionals.flags[kConditionalSwitch1] = 1;
    // P4 says nothing: disabled.
    NewPattern(unit, 4);
    // P5: P2 with the friend asking for "Injured"; F is not (health 10 of 10), so the
    // friend stays unmatched (1600) and so does F: 200 + 200 + 1600 = 2000, not valid.
    Pattern& injured = NewPattern(unit, 5);
    AddObject(injured, kPatternEnemy, 10.0f, 0.0f);
    AddObject(injured, kPatternFriend, 0.0f, 10.0f)->SetProperty(kPropertyInjured, true);

    matcher->Evaluate(*unit);

    EXPECT_EQ(attack.score, 400);
    EXPECT_EQ(hide.score, 400);
    EXPECT_EQ(pincer.score, -200);
    EXPECT_EQ(switched.score, 600400);
    EXPECT_EQ(unit->PatternAt(4).score, PatternMatcher::kNoScore);
    EXPECT_EQ(injured.score, 2000);
    EXPECT_EQ(attack.valid, 1);
    EXPECT_EQ(pincer.valid, 1);
    EXPECT_EQ(switched.valid, 0);
    EXPECT_EQ(injured.valid, 0);

    EXPECT_EQ(unit->currentPattern, &pincer);
    EXPECT_EQ(unit->actingAtRandom, 0);
    EXPECT_EQ(pincerEnemy->linkedObject, enemy);
    EXPECT_EQ(pincerFriend->linkedObject, friendUnit);
    EXPECT_EQ(pincer.ownObject->linkedObject, unit);
    EXPECT_EQ(enemy->matchedPatternObject, pincerEnemy);
    EXPECT_EQ(tree->matchedPatternObject, nullptr);
    // Per object: each of the pair carries the relation term -2.
    EXPECT_FLOAT_EQ(pincerEnemy->cost, -2.0f);
    EXPECT_FLOAT_EQ(pincerFriend->cost, -2.0f);
}

TEST_F(SeveralPatternsTest, GatheringOrderAndLayoutOfTheWorld) {
    // A facing handle, so that the matcher works out the world enemy's facing.
    Pattern& pattern = NewPattern(unit, 0);
    AddObject(pattern, kPatternEnemy, 10.0f, 0.0f)->facing = Vector2(8.0f, 0.0f);
    pattern.RebuildLayout();
    matcher->Evaluate(*unit);
    // The grid is walked column by column from (60, 60): T's column (x 13), then U's
    // and F's (15), then E's (17).
    const Array<WorldObject*>& objects = matcher->WorldObjects();
    ASSERT_EQ(objects.Count(), 4);
    EXPECT_EQ(objects[0], tree);
    EXPECT_EQ(objects[1], unit);
    EXPECT_EQ(objects[2], friendUnit);
    EXPECT_EQ(objects[3], enemy);
    EXPECT_EQ(tree->facingOrigin, Vector2(-10.0f, 0.0f));
    EXPECT_EQ(friendUnit->facingOrigin, Vector2(0.0f, 10.0f));
    // E faces the unit: heading pi, seen at (10, 0) facing back along -x.
    EXPECT_NEAR(std::fabs(enemy->facingAngle), kPi, 1e-5f);
    // Layout: angles 0 (E), pi/2 (F), pi (T); the wrap gap pi is the largest.
    const PolarLayout& layout = matcher->WorldLayout();
    ASSERT_EQ(layout.Size(), 3);
    EXPECT_EQ(layout.EntryAt(0).index, 3);
    EXPECT_EQ(layout.EntryAt(1).index, 2);
    EXPECT_EQ(layout.EntryAt(2).index, 0);
}

// The pairing rule: kinds, owners, asked properties and, for beacons and goals, the same
// side of the near distance in pattern and world; an unknown kind pairs with nothing.
TEST_F(SeveralPatternsTest, PairingFollowsKindOwnerPropertiesAndTheNearDistance) {
    Pattern& pattern = NewPattern(unit, 0);
    PatternObject* friendObject = AddObject(pattern, kPatternFriend, 0.0f, 10.0f);
    PatternObject* damagedEnemy = AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    damagedEnemy->properties[0] = 1;
    PatternObject* nearGoal = AddObject(pattern, kPatternFriendGoal, 5.0f, 0.0f);
    PatternObject* farGoal = AddObject(pattern, kPatternFriendGoal, 30.0f, 0.0f);
    PatternObject* beacon = AddObject(pattern, kPatternBeacon, 5.0f, 5.0f);
    PatternObject* unknown = AddObject(pattern, kPatternTree, 1.0f, 1.0f);
    unknown->kind = 255;
    Goal* ownGoal = AddGoal(&red, 85.0f, 80.0f);
    Goal* enemyGoal = AddGoal(&blue, 75.0f, 80.0f);
    Beacon* ownBeacon = AddBeacon(friendUnit, 85.0f, 85.0f);
    Beacon* enemyBeacon = AddBeacon(enemy, 75.0f, 75.0f);
    auto pairs = [&](const PatternObject* p, const WorldObject* w) { return matcher->PairTest(*unit, *p, *w); };
    EXPECT_TRUE(pairs(friendObject, friendUnit));
    EXPECT_FALSE(pairs(friendObject, enemy));
    EXPECT_FALSE(pairs(friendObject, tree));
    EXPECT_FALSE(pairs(damagedEnemy, enemy));
    enemy->SetHealth(5.0f);
    EXPECT_TRUE(pairs(damagedEnemy, enemy));
    EXPECT_TRUE(pairs(nearGoal, ownGoal));
    EXPECT_FALSE(pairs(farGoal, ownGoal));
    EXPECT_FALSE(pairs(nearGoal, enemyGoal));
    EXPECT_TRUE(pairs(beacon, ownBeacon));
    EXPECT_FALSE(pairs(beacon, enemyBeacon));
    for (const WorldObject* w : std::initializer_list<const WorldObject*>{friendUnit, tree, ownGoal}) {
        EXPECT_FALSE(pairs(unknown, w));
    }
}

TEST_F(SeveralPatternsTest, PropertiesLowerTheScore) {
    // P2 of the first test with the friend asking for "NotInjured" (F has 10 of 10) and
    // the own object asking for "NotInjured" and "NotVIP": three properties, -300.
    Pattern& pincer = NewPattern(unit, 0);
    AddObject(pincer, kPatternEnemy, 10.0f, 0.0f);
    AddObject(pincer, kPatternFriend, 0.0f, 10.0f)->SetProperty(kPropertyNotInjured, true);
    pincer.ownObject->SetProperty(kPropertyNotInjured, true);
    pincer.ownObject->SetProperty(kPropertyNotVIP, true);
    pincer.RebuildLayout();
    matcher->Evaluate(*unit);
    EXPECT_EQ(pincer.score, -200 - 300);
    EXPECT_FLOAT_EQ(pincer.ownObject->cost, -200.0f);
}

TEST_F(PatternMatcherTest, EqualLowestScoresAreDrawnByTheGenerator) {
    AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    AddKind(kKindTree, 70.0f, 80.0f);
    // Both score 200: the other object stays unmatched.
    AddObject(NewPattern(unit, 0), kPatternEnemy, 10.0f, 0.0f);
    AddObject(NewPattern(unit, 1), kPatternTree, -10.0f, 0.0f);
    // Seed 1: the first draw is (214013 + 2531011) >> 16 = 41; 41 mod 2 = 1.
    sys::SRand(1);
    matcher->Evaluate(*unit);
    EXPECT_EQ(unit->PatternAt(0).score, 200);
    EXPECT_EQ(unit->PatternAt(1).score, 200);
    EXPECT_EQ(IndexOf(unit->currentPattern), 1);
    // Seed 3: (3 x 214013 + 2531011) >> 16 = 48; 48 mod 2 = 0.
    sys::SRand(3);
    matcher->Evaluate(*unit);
    EXPECT_EQ(IndexOf(unit->currentPattern), 0);
}

TEST_F(PatternMatcherTest, CrazyUnitsAndUnitsInWaterChooseAtRandomAmongEnabledPatterns) {
    AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    AddObject(NewPattern(unit, 0), kPatternEnemy, 10.0f, 0.0f);  // 0
    NewPattern(unit, 1);                                         // disabled
    Pattern& bad = NewPattern(unit, 2);                          // 600000
    AddObject(bad, kPatternEnemy, 10.0f, 0.0f);
    bad.conditionals.flags[kConditionalSignal2] = 1;
    AddObject(NewPattern(unit, 3), kPatternTree, 10.0f, 0.0f);  // 1600 + 200

    // Pick list [0, 2, 3]; seed 1 draws 41, 41 mod 3 = 2: slot 3.
    unit->crazy = 1;
    sys::SRand(1);
    matcher->Evaluate(*unit);
    EXPECT_EQ(unit->actingAtRandom, 1);
    EXPECT_EQ(IndexOf(unit->currentPattern), 3);
    // Seed 3 draws 48, 48 mod 3 = 0: slot 0. Scores are still computed.
    sys::SRand(3);
    matcher->Evaluate(*unit);
    EXPECT_EQ(IndexOf(unit->currentPattern), 0);
    EXPECT_EQ(bad.score, 600000);

    // Standing on water (the grid point (8, 8) under the unit): at random too.
    unit->crazy = 0;
    arena->GetTerrain().CellAt(8, 8).type = kTerrainWater;
    sys::SRand(1);
    matcher->Evaluate(*unit);
    EXPECT_EQ(unit->actingAtRandom, 1);
    EXPECT_EQ(IndexOf(unit->currentPattern), 3);
    // Whatever the draw, never the disabled slot.
    for (unsigned seed = 1; seed < 40; ++seed) {
        sys::SRand(seed);
        matcher->Evaluate(*unit);
        EXPECT_NE(IndexOf(unit->currentPattern), 1);
    }
}

TEST_F(PatternMatcherTest, NoEnabledPatternChoosesNone) {
    NewPattern(unit, 0);
    matcher->Evaluate(*unit);
    EXPECT_EQ(unit->currentPattern, nullptr);
    EXPECT_TRUE(unit->actionQueue.IsEmpty());
    EXPECT_EQ(unit->PatternAt(0).score, PatternMatcher::kNoScore);
}

TEST_F(PatternMatcherTest, ConditionalsArePartOfTheFit) {
    // A pattern with only conditionals: no objects, so the cost is the unmatched world
    // (none here) and the conditionals. Switch1, Injured and TimerExpired set on both
    // sides: 0.
    Pattern& same = NewPattern(unit, 0);
    same.conditionals.flags[kConditionalSwitch1] = 1;
    same.conditionals.flags[kConditionalInjured] = 1;
    same.conditionals.flags[kConditionalTimerExpired] = 1;
    // Only Switch1: Injured and TimerExpired differ, 2 x 600000, and not valid, so
    // priority 1 is lost.
    Pattern& partial = NewPattern(unit, 1);
    partial.conditionals.flags[kConditionalSwitch1] = 1;
    partial.priority = 1;
    unit->conditionals[Vorn::kSwitch1] = 1;
    unit->conditionals[Vorn::kInjured] = 1;
    unit->conditionals[Vorn::kTimerExpired] = 1;
    matcher->Evaluate(*unit);
    EXPECT_EQ(same.score, 0);
    EXPECT_EQ(same.valid, 1);
    EXPECT_EQ(partial.score, 1200000);
    EXPECT_EQ(partial.valid, 0);
    EXPECT_EQ(unit->currentPattern, &same);
    // The one-shot conditionals are cleared by every run; Switch1 stays.
    EXPECT_EQ(unit->conditionals[Vorn::kInjured], 0);
    EXPECT_EQ(unit->conditionals[Vorn::kTimerExpired], 0);
    EXPECT_EQ(unit->conditionals[Vorn::kSwitch1], 1);
}

TEST_F(PatternMatcherTest, PriorityIsSaturatedNotOverflowed) {
    AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    // Valid, cost 0: 1 point of priority is -60000.
    Pattern& one = NewPattern(unit, 0);
    AddObject(one, kPatternEnemy, 10.0f, 0.0f);
    one.priority = 1;
    // A file may hold any int32: -300 x 200 x 2147483647 is far below the int32 range.
    Pattern& huge = NewPattern(unit, 1);
    AddObject(huge, kPatternEnemy, 10.0f, 0.0f);
    huge.priority = INT32_MAX;
    Pattern& negative = NewPattern(unit, 2);
    AddObject(negative, kPatternEnemy, 10.0f, 0.0f);
    negative.priority = INT32_MIN;
    matcher->Evaluate(*unit);
    EXPECT_EQ(one.score, -60000);
    EXPECT_EQ(huge.score, INT32_MIN);
    EXPECT_EQ(negative.score, INT32_MAX);
    EXPECT_EQ(unit->currentPattern, &huge);
}

TEST_F(PatternMatcherTest, EqualAnglesArePairedAsTheQuicksortOrdersThem) {
    // Two enemies on one spot (10, 0), gathered E1 then E2. The world layout sorts the
    // two equal angles into [E2, E1] (the pivot is the first entry; the one exchange
    // swaps them), and the wrap gap 2 pi begins the order there: E2 at 0, E1 at 1. The
    // candidates (0, 0) and (0, 1) have the same angle difference 0, and the sort swaps
    // them too: the greedy pass takes (0, 1), E1. Taking E2 instead costs the same
    // (200 for the one left over), so the improvement keeps E1. A stable sort would
    // have paired E2.
    Vorn* first = AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    Vorn* second = AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    Pattern& pattern = NewPattern(unit, 0);
    PatternObject* target = AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    matcher->Evaluate(*unit);
    ASSERT_EQ(matcher->WorldObjects()[1], first);
    ASSERT_EQ(matcher->WorldObjects()[2], second);
    EXPECT_EQ(target->linkedObject, first);
    EXPECT_EQ(target->matchedIndex, 1);
    EXPECT_EQ(pattern.score, 200);
}

TEST_F(PatternMatcherTest, AlikeObjectsTakeTheWorldObjectsTheAnglesChoseInLayoutOrder) {
    // Three pattern trees at (10, 0), (0, 10) and (-10, 0); four world trees 10 from
    // the unit at angles 0.05 (Wa), pi/2 + 0.3 (Wb), pi - 0.2 (Wc) and 3 pi / 2 (Wd).
    // Greedy: (tree 0, Wa) has the best agreement (0.05); the other two trees form its
    // group and walk the rest in angle order: (tree 2, Wc) at 0.2, (tree 1, Wb) at 0.3.
    // Wd (angle differences pi/2 and more) is left. In layout order the pattern trees
    // are 0, 1, 2 (angles 0, pi/2, pi) and the chosen world trees Wa, Wb, Wc (the world
    // order begins at Wd, the first angle past pi: no gap stands out), so they pair
    // Wa, Wb, Wc.
    //
    // Score: Wd unmatched 200. Misfit: each pair agrees in R1 and R2 (e = 2; R3 0 and
    // touch 0 count nothing) and D is 0; A differs by 0.25, 0.5 and 0.25 (pairs 0-1,
    // 1-2, 0-2), x 20 / 200: 0.025 + 0.05 + 0.025. Misfit = -6 + 0.1 = -5.9, x 200 =
    // -1180. Placement 20 x angle / 2 pi: 0.1592 + 0.9549 + 0.6366 = 1.7507.
    // 200 - 1180 + 1.75 = -978.25, truncated -978.
    const float angles[4] = {0.05f, kPi / 2.0f + 0.3f, kPi - 0.2f, 1.5f * kPi};
    WorldObject* trees[4];
    for (int k = 0; k < 4; ++k) {
        trees[k] = AddKind(kKindTree, 80.0f + 10.0f * std::cos(angles[k]), 80.0f + 10.0f * std::sin(angles[k]));
    }
    Pattern& pattern = NewPattern(unit, 0);
    PatternObject* a = AddObject(pattern, kPatternTree, 10.0f, 0.0f);
    PatternObject* b = AddObject(pattern, kPatternTree, 0.0f, 10.0f);
    PatternObject* c = AddObject(pattern, kPatternTree, -10.0f, 0.0f);
    matcher->Evaluate(*unit);
    EXPECT_EQ(a->linkedObject, trees[0]);
    EXPECT_EQ(b->linkedObject, trees[1]);
    EXPECT_EQ(c->linkedObject, trees[2]);
    EXPECT_EQ(trees[3]->matchedPatternObject, nullptr);
    EXPECT_EQ(pattern.score, -978);
}

TEST_F(PatternMatcherTest, ImprovementMovesTheCostliestObjectOnly) {
    // Pattern: a plain enemy A at (10, 0) and an enemy B at (0, 10) asking for "VIP".
    // World: a VIP enemy V at (10, 0) and a plain enemy N at (0, 10). A may take V or N,
    // B only V.
    // Greedy: (A, V) has angle difference 0 and comes first; B is no group member of A
    // (other properties) and V is taken: B stays unmatched.
    // Improvement, visiting order [A, B]: N unmatched 200 + B unmatched 1600 = 1800;
    // object costs A 0, B 1600. B is the costliest. Its only trial is the exchange with
    // A: B takes V (-100 for the property, placement |10 - 10| + 20 (pi/2) / 2 pi = 5),
    // A is freed (1600), N unmatched (200): 1705 < 1800, kept; the visiting order is now
    // [B, A]. The costliest is now A at visiting position 1, the position just visited:
    // it is marked done without a trial. B then finds nothing better (back to 1800) and
    // is done. So A never takes N, and the score is 1705.
    Vorn* vip = AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    vip->vip = 1;
    Vorn* plain = AddVorn(&blue, 80.0f, 90.0f, 0.0f);
    Pattern& pattern = NewPattern(unit, 0);
    PatternObject* any = AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    PatternObject* wanted = AddObject(pattern, kPatternEnemy, 0.0f, 10.0f);
    wanted->SetProperty(kPropertyVIP, true);
    matcher->Evaluate(*unit);
    EXPECT_EQ(wanted->linkedObject, vip);
    EXPECT_EQ(any->linkedObject, nullptr);
    EXPECT_EQ(plain->matchedPatternObject, nullptr);
    EXPECT_EQ(pattern.score, 1705);
}

TEST_F(PatternMatcherTest, FacingTermPrefersAnEnemyThatFacesAsDrawn) {
    // The pattern enemy at (10, 0) faces the unit (handle at (8, 0), direction (-1, 0)).
    // The world enemy stands at (0, 10): placement |10 - 10| + 20 x (pi/2) / 2 pi = 5,
    // and delta = theta_p - theta_w = -pi/2. Facing the unit (heading -pi/2, h = (0, -1))
    // it turns by delta to (-1, 0): beta = 0. Facing +x (h = (1, 0)) it turns to
    // (0, -1): beta = pi/2, + 20 x pi/2 = 31.42.
    Pattern& pattern = NewPattern(unit, 0);
    PatternObject* target = AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    target->facing = Vector2(8.0f, 0.0f);
    pattern.RebuildLayout();
    ASSERT_TRUE(target->HasFacing());
    Vorn* enemy = AddVorn(&blue, 80.0f, 90.0f, -kPi / 2.0f);
    matcher->Evaluate(*unit);
    const float facingUnit = target->cost;
    enemy->heading = 0.0f;
    matcher->Evaluate(*unit);
    const float sideways = target->cost;
    // acos near 1 magnifies the rounding of the turned vector: a few thousandths.
    EXPECT_NEAR(facingUnit, 5.0f, 0.01f);
    EXPECT_NEAR(sideways, 5.0f + 10.0f * kPi, 0.01f);
    EXPECT_LT(facingUnit, sideways);

    // Straight ahead (delta 0), facing the unit against facing sideways: 0 and 31.42.
    enemy->PlaceAt(Vector3(90.0f, 80.0f, 0.0f));
    arena->RebuildGrid();
    enemy->heading = kPi;
    matcher->Evaluate(*unit);
    EXPECT_NEAR(target->cost, 0.0f, 0.01f);
    enemy->heading = kPi / 2.0f;
    matcher->Evaluate(*unit);
    EXPECT_NEAR(target->cost, 10.0f * kPi, 0.01f);
}

TEST_F(PatternMatcherTest, MapConditionalsTestTheGroundWhereThePatternPutsThem) {
    // Enemy at (10, 0); a map conditional at (0, 15) is mapped through the own line to
    // the enemy (t = 0, 15 to its left): world (80, 95). Its samples at x 78.6 and 81.4,
    // y 93.6 and 96.4 read the grid points (8, 9) and (8, 10).
    AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    Pattern& wet = NewPattern(unit, 0);
    AddObject(wet, kPatternEnemy, 10.0f, 0.0f);
    AddMapConditional(wet, kMapWater, 0.0f, 15.0f);
    wet.priority = 1;
    Pattern& lava = NewPattern(unit, 1);
    AddObject(lava, kPatternEnemy, 10.0f, 0.0f);
    AddMapConditional(lava, kMapLava, 0.0f, 15.0f);
    AddMapConditional(lava, kMapWater, 0.0f, 15.0f);
    lava.priority = 1;
    Pattern& higher = NewPattern(unit, 2);
    AddObject(higher, kPatternEnemy, 10.0f, 0.0f);
    AddMapConditional(higher, kMapHigher, 0.0f, 15.0f);
    AddMapConditional(higher, kMapDirtGrassStone, 0.0f, 0.0f);

    arena->GetTerrain().CellAt(8, 9).type = kTerrainWater;
    arena->GetTerrain().CellAt(8, 10).height = 4.0f;
    matcher->Evaluate(*unit);
    // Holding: -1, and the priority counts: -1 - 60000.
    EXPECT_EQ(wet.score, -60001);
    EXPECT_EQ(wet.valid, 1);
    // Lava fails (+3000, not valid: no priority), water holds (-1).
    EXPECT_EQ(lava.score, 2999);
    EXPECT_EQ(lava.valid, 0);
    // Higher holds (the mean height there is above the unit's 0), grass at the unit too.
    EXPECT_EQ(higher.score, -2);
    EXPECT_EQ(unit->currentPattern, &wet);
}

TEST_F(PatternMatcherTest, ObjectsAcrossTheWrapAreSeenAtTheirNearestImage) {
    // The unit at (3, 3); an enemy at (157, 157) has its nearest image at (-3, -3),
    // (-6, -6) from the unit across the corner; a tree at (155, 3) has it at (-5, 3),
    // (-8, 0) across the left edge. Both lie in grid cells -4..-1 of the walk, which wrap
    // to 28..31.
    unit->PlaceAt(Vector3(3.0f, 3.0f, 0.0f));
    arena->RebuildGrid();
    Vorn* enemy = AddVorn(&blue, 157.0f, 157.0f, 0.0f);
    WorldObject* tree = AddKind(kKindTree, 155.0f, 3.0f);
    Pattern& pattern = NewPattern(unit, 0);
    PatternObject* e = AddObject(pattern, kPatternEnemy, -6.0f, -6.0f);
    PatternObject* t = AddObject(pattern, kPatternTree, -8.0f, 0.0f);
    matcher->Evaluate(*unit);
    EXPECT_EQ(matcher->WorldObjects().Count(), 3);
    EXPECT_EQ(e->linkedObject, enemy);
    EXPECT_EQ(t->linkedObject, tree);
    ExpectAt(enemy->previousPosition, -3.0f, -3.0f);
    ExpectAt(tree->previousPosition, -5.0f, 3.0f);
    EXPECT_EQ(enemy->facingOrigin, Vector2(-6.0f, -6.0f));
    EXPECT_EQ(tree->facingOrigin, Vector2(-8.0f, 0.0f));
    // Both sides alike, so A and D agree exactly. The pair (tree at layout position 0,
    // enemy at 1): the unit's foot on the line lies 2.53 from the tree, within its
    // radius 2.6: R2 = -1 (near the tree). The sight line to the enemy passes the tree
    // at (-4, -4), sqrt 32 > 2.6 + 0.5 away: R1 = the side of the unit, +1. e = 2:
    // misfit -2, -400; nothing unmatched, placements 0.
    EXPECT_EQ(pattern.score, -400);
}

TEST_F(PatternMatcherTest, FarGoalsAreSeenOnTheEdgeOfThePatternArea) {
    // The red goal at (20, 80) is 60 behind the unit (its nearest image; the other way
    // round is 100). The line from it to the unit enters the pattern area (-25..25) at
    // (-25, 0): world (55, 80).
    Goal* goal = AddGoal(&red, 20.0f, 80.0f);
    Pattern& far = NewPattern(unit, 0);
    PatternObject* drawnFar = AddObject(far, kPatternFriendGoal, -22.5f, 0.0f);
    Pattern& near = NewPattern(unit, 1);
    PatternObject* drawnNear = AddObject(near, kPatternFriendGoal, -15.0f, 0.0f);
    Pattern& enemyGoal = NewPattern(unit, 2);
    PatternObject* drawnEnemy = AddObject(enemyGoal, kPatternEnemyGoal, -22.0f, 0.0f);
    matcher->Evaluate(*unit);
    ASSERT_EQ(matcher->WorldObjects()[0], goal);
    ExpectAt(goal->previousPosition, 55.0f, 80.0f);
    ExpectAt(Vector3(goal->facingOrigin.x, goal->facingOrigin.y, 0.0f), -25.0f, 0.0f);
    // Drawn 22.5 out: matches; placement |25 - 22.5| = 2.5. Misfit: a single non-solid
    // entry touching nothing on both sides (touch -1): e = 1, -1 x 200. -197.5 -> -197.
    EXPECT_EQ(drawnFar->linkedObject, goal);
    EXPECT_EQ(far.score, -197);
    // Drawn 15 out: the distance rule refuses it: 1600 + the goal 200.
    EXPECT_EQ(drawnNear->linkedObject, nullptr);
    EXPECT_EQ(near.score, 1800);
    // Not an enemy goal.
    EXPECT_EQ(drawnEnemy->linkedObject, nullptr);
    // Back where it stands after the run.
    EXPECT_EQ(goal->position.x, 20.0f);
    EXPECT_EQ(goal->position.y, 80.0f);
}

TEST_F(PatternMatcherTest, OnlyTheNearestOwnBeaconTakesPart) {
    Vorn* mate = AddVorn(&red, 100.0f, 100.0f, 0.0f);
    Vorn* rival = AddVorn(&blue, 60.0f, 100.0f, 0.0f);
    Beacon* nearer = AddBeacon(mate, 80.0f, 90.0f);   // 10 away
    Beacon* farther = AddBeacon(unit, 92.0f, 80.0f);  // 12 away
    Beacon* theirs = AddBeacon(rival, 85.0f, 80.0f);  // 5 away, blue
    Pattern& pattern = NewPattern(unit, 0);
    PatternObject* drawn = AddObject(pattern, kPatternBeacon, 0.0f, 10.0f);
    matcher->Evaluate(*unit);
    const Array<WorldObject*>& objects = matcher->WorldObjects();
    ASSERT_GE(objects.Count(), 1);
    EXPECT_EQ(objects[0], nearer);
    EXPECT_EQ(objects.Find(farther), -1);
    EXPECT_EQ(objects.Find(theirs), -1);
    EXPECT_EQ(drawn->linkedObject, nearer);
}

TEST_F(PatternMatcherTest, WarmRunsAllocateNothing) {
    // 16 patterns of 8 objects among a crowd, the same crowd run after run.
    for (int k = 0; k < 30; ++k) {
        const float a = 0.7f * float(k);
        const float r = 4.0f + float(k % 15);
        const float x = 80.0f + r * std::cos(a);
        const float y = 80.0f + r * std::sin(a);
        if (k % 3 == 0) {
            AddKind(kKindTree, x, y);
        } else {
            AddVorn(k % 3 == 1 ? &red : &blue, x, y, a);
        }
    }
    const int kinds[3] = {kPatternTree, kPatternFriend, kPatternEnemy};
    for (int i = 0; i < 16; ++i) {
        Pattern& pattern = NewPattern(unit, i);
        for (int k = 0; k < 8; ++k) {
            const float a = 0.9f * float(k + i);
            AddObject(pattern, kinds[(k + i) % 3], 12.0f * std::cos(a), 12.0f * std::sin(a));
        }
        PathPoint* point = AddPathPoint(pattern, 5.0f, float(i % 5));
        AddAction(point, kActionFire1, 10.0f, 0.0f);
        AddMapConditional(pattern, kMapDirtGrassStone, 3.0f, 3.0f);
    }
    game.selectedVorn = unit;  // every enabled pattern placed as well
    for (int round = 0; round < 3; ++round) {
        matcher->Evaluate(*unit);
        arena->FlushObjectPools();
    }
    const int64_t capacity = matcher->WorkCapacity();
    const long before = gAllocations.load();
    for (int round = 0; round < 20; ++round) {
        matcher->Evaluate(*unit);
        arena->FlushObjectPools();
    }
    EXPECT_EQ(gAllocations.load() - before, 0);
    EXPECT_EQ(matcher->WorkCapacity(), capacity);
    EXPECT_NE(unit->currentPattern, nullptr);
}

TEST_F(PatternMatcherTest, APatternPlacedForTheFirstTimeInAWarmRunAllocatesNothing) {
    // A lone tree pattern wins until Switch1 is set; then the four-object pattern, never
    // placed before, wins and needs more lines on both sides than any placement so far.
    AddKind(kKindTree, 90.0f, 80.0f);
    AddVorn(&red, 80.0f, 90.0f, 0.0f);
    AddVorn(&blue, 70.0f, 80.0f, 0.0f);
    AddVorn(&blue, 80.0f, 70.0f, 0.0f);
    Pattern& lone = NewPattern(unit, 0);
    AddObject(lone, kPatternTree, 10.0f, 0.0f);
    Pattern& crowd = NewPattern(unit, 1);
    AddObject(crowd, kPatternTree, 10.0f, 0.0f);
    AddObject(crowd, kPatternFriend, 0.0f, 10.0f);
    AddObject(crowd, kPatternEnemy, -10.0f, 0.0f);
    AddObject(crowd, kPatternEnemy, 0.0f, -10.0f);
    crowd.conditionals.flags[kConditionalSwitch1] = 1;
    for (int round = 0; round < 3; ++round) {
        matcher->Evaluate(*unit);
        arena->FlushObjectPools();
    }
    ASSERT_EQ(unit->currentPattern, &lone);
    unit->conditionals[Vorn::kSwitch1] = 1;
    const long before = gAllocations.load();
    matcher->Evaluate(*unit);
    EXPECT_EQ(gAllocations.load() - before, 0);
    EXPECT_EQ(unit->currentPattern, &crowd);
    EXPECT_EQ(matcher->WorldLines().Count(), 10);
}

TEST_F(PatternMatcherTest, TheSelectedUnitEndsWithTheChosenPatternQueued) {
    AddVorn(&blue, 90.0f, 80.0f, 0.0f);
    Pattern& chosen = NewPattern(unit, 0);
    AddObject(chosen, kPatternEnemy, 10.0f, 0.0f);
    AddAction(AddPathPoint(chosen, 5.0f, 0.0f), kActionFire1, 10.0f, 0.0f);
    Pattern& other = NewPattern(unit, 1);
    AddObject(other, kPatternTree, 10.0f, 0.0f);
    AddPathPoint(other, -5.0f, 0.0f);
    game.selectedVorn = unit;
    matcher->Evaluate(*unit);
    EXPECT_EQ(unit->currentPattern, &chosen);
    // The walk to (85, 80), then the shot at the enemy.
    ASSERT_EQ(unit->actionQueue.Count(), 2);
    EXPECT_EQ(unit->actionQueue[0]->kind, VornAction::kWalk);
    ExpectAt(unit->actionQueue[0]->pointA, 85.0f, 80.0f);
    EXPECT_EQ(unit->actionQueue[1]->kind, VornAction::kFire1);
    ExpectAt(unit->actionQueue[1]->pointA, 90.0f, 80.0f);
    // The other pattern was placed too (the debugger shows it): its path is in the world.
    ExpectAt(other.pathPoints[1]->worldPosition, 75.0f, 80.0f);
}

}  // namespace
