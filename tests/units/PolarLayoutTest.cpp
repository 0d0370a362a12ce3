// The polar layout: order around the unit, relations of pairs and contact with the unit.
#include <cmath>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "core/MathUtil.h"
#include "support/MatcherWorld.h"
#include "units/PolarLayout.h"

namespace {

// A layout of unit-radius 1.4 with non-solid objects of radius 1 at the given angles,
// 10 from the unit.
PolarLayout AtAngles(std::initializer_list<float> angles) {
    PolarLayout layout;
    layout.Begin(1.4f);
    int index = 0;
    for (float a : angles) {
        layout.AddEntry(index++, Vector2(10.0f * std::cos(a), 10.0f * std::sin(a)), 1.0f, false);
    }
    layout.Complete();
    return layout;
}

std::vector<int> OrderOf(const PolarLayout& layout) {
    std::vector<int> order;
    for (int p = 0; p < layout.Size(); ++p) {
        order.push_back(layout.EntryAt(p).index);
    }
    return order;
}

TEST(PolarLayoutTest, EmptyAndSingleLayouts) {
    PolarLayout empty;
    empty.Begin(1.4f);
    empty.Complete();
    EXPECT_EQ(empty.Size(), 0);
    EXPECT_EQ(empty.FindPosition(0), -1);

    // Touch: within the unit's radius (1.4) or the object's own: 1; beyond: -1; solid: 0.
    PolarLayout layout;
    layout.Begin(1.4f);
    layout.AddEntry(0, Vector2(1.0f, 0.0f), 0.5f, false);
    layout.Complete();
    EXPECT_EQ(layout.Touch(0), 1);
    layout.Begin(1.4f);
    layout.AddEntry(0, Vector2(5.0f, 0.0f), 8.0f, false);  // a field around the unit
    layout.Complete();
    EXPECT_EQ(layout.Touch(0), 1);
    layout.Begin(1.4f);
    layout.AddEntry(7, Vector2(0.0f, -10.0f), 1.0f, false);
    layout.Complete();
    EXPECT_EQ(layout.Touch(0), -1);
    EXPECT_NEAR(layout.EntryAt(0).angle, 1.5f * kPi, 1e-5f);
    EXPECT_EQ(layout.FindPosition(7), 0);
    EXPECT_EQ(layout.FindPosition(0), -1);
    layout.Begin(1.4f);
    layout.AddEntry(0, Vector2(), 1.0f, true);
    layout.Complete();
    EXPECT_EQ(layout.Touch(0), 0);
    EXPECT_EQ(layout.EntryAt(0).angle, 0.0f);
    EXPECT_EQ(layout.EntryAt(0).distance, 0.0f);
}

TEST(PolarLayoutTest, OrderBeginsAfterAClearGapOrBehindTheUnit) {
    // Gaps 0.1, 3.8 and the wrap 2.383: 3.8 >= 1.5 x 2.383 and >= pi/3.
    EXPECT_EQ(OrderOf(AtAngles({0.1f, 0.2f, 4.0f})), (std::vector<int>{2, 0, 1}));
    // Gaps 1, 1, 1 and the wrap 3.283: the order begins after the wrap gap.
    EXPECT_EQ(OrderOf(AtAngles({3.0f, 1.0f, 4.0f, 2.0f})), (std::vector<int>{1, 3, 0, 2}));
    // Gaps 1.5, 1.5, 1.5 and the wrap 1.783 < 1.5 x 1.5: first angle above pi.
    EXPECT_EQ(OrderOf(AtAngles({0.5f, 2.0f, 3.5f, 5.0f})), (std::vector<int>{2, 3, 0, 1}));
    // Gap 1.5 and the wrap 4.783: begins at angle 1.
    EXPECT_EQ(OrderOf(AtAngles({2.5f, 1.0f})), (std::vector<int>{1, 0}));
    // Gaps 1 and 1 and the wrap 4.28 (>= 1.5, >= pi/3): begins at 0.5 even though
    // nothing lies behind the unit.
    EXPECT_EQ(OrderOf(AtAngles({1.5f, 0.5f, 2.5f})), (std::vector<int>{1, 0, 2}));
}

TEST(PolarLayoutTest, EqualAnglesComeOutAsTheQuicksortLeavesThem) {
    // Two entries at angle pi/2: mid = lo, so the pivot is entry 0 (key pi/2); i stops
    // at 1, j at 0, they are exchanged, and the next scans cross: sorted [1, 0]. The gaps
    // are 0 and the wrap 2 pi, so the order begins at sorted[0], entry 1.
    PolarLayout layout;
    layout.Begin(1.4f);
    layout.AddEntry(0, Vector2(0.0f, 5.0f), 1.0f, false);
    layout.AddEntry(1, Vector2(0.0f, 10.0f), 1.0f, false);
    layout.Complete();
    EXPECT_EQ(OrderOf(layout), (std::vector<int>{1, 0}));
}

// The faster sort must leave every list, ties and all, as the quicksort does: the
// matcher's tie-breaks and every replay depend on it.
TEST(PolarLayoutTest, TheFasterSortLeavesWhatTheQuicksortLeaves) {
    struct Item {
        float key;
        int index;
    };
    auto key = [](const Item& item) { return item.key; };
    uint32_t state = 7;
    auto next = [&state]() { return (state = state * 214013u + 2531011u) >> 16 & 0x7FFF; };
    Array<Item> original;
    for (int count : {0, 1, 2, 5, 24, 25, 130}) {
        for (int keys : {count + 1000, 3}) {  // all apart (almost surely), then many ties
            for (bool withNan : {false, true}) {
                std::vector<Item> a(count);
                for (int k = 0; k < count; ++k) {
                    a[k] = {static_cast<float>(next() % keys) * 0.25f, k};
                }
                if (withNan && count > 3) {
                    a[count / 2].key = std::nanf("");
                }
                std::vector<Item> b = a;
                QuickSortByFloat(a.data(), 0, count - 1, key);
                SortByFloat(b.data(), count, key, original);
                for (int k = 0; k < count; ++k) {
                    EXPECT_EQ(a[k].index, b[k].index) << count << " " << keys << " " << withNan << " at " << k;
                }
            }
        }
    }
}

TEST(PolarLayoutTest, PairInFrontOfTheUnitSeesItOnItsLeft) {
    // a (10, -5) at angle 5.8195, b (10, 5) at 0.4636: gap 5.356 against the wrap 0.927,
    // so the order is a, b. Line a -> b runs +y, the unit's foot on it is (10, 0) at
    // t = 5 of 10 (between, near neither end), 10 from the unit (> 1.4 + 0.5): R1 = the
    // side of the origin, cross((0, 1), (-10, 5)) = 10 > 0, so +1.
    PolarLayout layout;
    layout.Begin(1.4f);
    layout.AddEntry(0, Vector2(10.0f, -5.0f), 1.4f, false);
    layout.AddEntry(1, Vector2(10.0f, 5.0f), 1.4f, false);
    layout.Complete();
    ASSERT_EQ(OrderOf(layout), (std::vector<int>{0, 1}));
    EXPECT_NEAR(layout.A(1, 0), 2.0f * std::atan(0.5f), 1e-5f);  // 0.9273
    EXPECT_NEAR(layout.A(0, 1), layout.A(1, 0), 0.0f);
    EXPECT_EQ(layout.D(1, 0), 0.0f);
    EXPECT_EQ(layout.R1(1, 0), 1);
    EXPECT_EQ(layout.R1(0, 1), -1);
    EXPECT_EQ(layout.R2(1, 0), 0);
    EXPECT_EQ(layout.R3(1, 0), -1);
    EXPECT_EQ(layout.Touch(0), -1);
    EXPECT_EQ(layout.Touch(1), -1);
}

TEST(PolarLayoutTest, PairsInLineWithTheUnit) {
    // a (2, 0) r 1, b (2, 8) r 1: the foot is a itself (t = 0), near a only: R2 = -1.
    // a lies within 1 + 1.4 of the unit, so R1 = 0.
    PolarLayout touching;
    touching.Begin(1.4f);
    touching.AddEntry(0, Vector2(2.0f, 0.0f), 1.0f, false);
    touching.AddEntry(1, Vector2(2.0f, 8.0f), 1.0f, false);
    touching.Complete();
    ASSERT_EQ(OrderOf(touching), (std::vector<int>{0, 1}));
    EXPECT_EQ(touching.R2(1, 0), -1);
    EXPECT_EQ(touching.R2(0, 1), 1);
    EXPECT_EQ(touching.R1(1, 0), 0);

    // a (5, 0) stands on the sight line to b (10, 0.5): t = -4.975 (behind), near no
    // end: R2 = -2. The nearest point of 0 -> b to a is (4.9875, 0.2494), 0.2497 from a
    // (<= 1 + 0.5): R1 = 0. D = 10.0125 - 5.
    PolarLayout blocked;
    blocked.Begin(1.4f);
    blocked.AddEntry(0, Vector2(5.0f, 0.0f), 1.0f, false);
    blocked.AddEntry(1, Vector2(10.0f, 0.5f), 1.0f, false);
    blocked.Complete();
    ASSERT_EQ(OrderOf(blocked), (std::vector<int>{0, 1}));
    EXPECT_EQ(blocked.R2(1, 0), -2);
    EXPECT_EQ(blocked.R1(1, 0), 0);
    EXPECT_NEAR(blocked.D(1, 0), 5.0125f, 1e-4f);

    // b at (10, 5) instead: the nearest point of 0 -> b to a is (4, 2), sqrt 5 from a
    // (> 1.5): R1 is the side, cross((0.7071, 0.7071), (-5, 0)) > 0, so +1; still behind.
    PolarLayout open;
    open.Begin(1.4f);
    open.AddEntry(0, Vector2(5.0f, 0.0f), 1.0f, false);
    open.AddEntry(1, Vector2(10.0f, 5.0f), 1.0f, false);
    open.Complete();
    EXPECT_EQ(open.R2(1, 0), -2);
    EXPECT_EQ(open.R1(1, 0), 1);
    EXPECT_EQ(open.R1(0, 1), -1);
}

TEST(PolarLayoutTest, ObjectsOnOneSpotOverlapUnlessBothAreSolid) {
    PolarLayout layout;
    layout.Begin(1.4f);
    layout.AddEntry(0, Vector2(6.0f, 3.0f), 1.0f, false);
    layout.AddEntry(1, Vector2(6.0f, 3.0f), 1.0f, true);
    layout.Complete();
    EXPECT_EQ(layout.R1(1, 0), 0);
    EXPECT_EQ(layout.R2(1, 0), 0);
    EXPECT_EQ(layout.R3(1, 0), 1);
    EXPECT_EQ(layout.R3(0, 1), 1);

    layout.Begin(1.4f);
    layout.AddEntry(0, Vector2(6.0f, 3.0f), 1.0f, true);
    layout.AddEntry(1, Vector2(6.0f, 3.0f), 1.0f, true);
    layout.Complete();
    EXPECT_EQ(layout.R3(1, 0), 0);
    // Apart and both solid: 0 as well.
    layout.Begin(1.4f);
    layout.AddEntry(0, Vector2(6.0f, 3.0f), 1.0f, true);
    layout.AddEntry(1, Vector2(6.0f, -3.0f), 1.0f, true);
    layout.Complete();
    EXPECT_EQ(layout.R3(1, 0), 0);
}

TEST(PolarLayoutTest, RebuildingKeepsTheStorage) {
    PolarLayout layout = AtAngles({0.1f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 0.5f});
    const int capacity = layout.MatrixCapacity();
    for (int round = 0; round < 3; ++round) {
        layout.Begin(1.4f);
        for (int i = 0; i < 8; ++i) {
            layout.AddEntry(i, Vector2(float(i + 1), float(round)), 1.0f, false);
        }
        layout.Complete();
    }
    EXPECT_EQ(layout.MatrixCapacity(), capacity);
}

// One layout rebuilt again and again (as the matcher's is) relates every pair as a
// layout built afresh does, whatever pairs the earlier layouts related.
TEST(PolarLayoutTest, ARebuiltLayoutRelatesItsNewEntriesAfresh) {
    const std::vector<std::vector<Vector2>> rounds = {
        {{10.0f, -5.0f}, {10.0f, 5.0f}},
        {{10.0f, -5.0f}, {20.0f, 5.0f}, {-3.0f, 4.0f}},
        {{-10.0f, 5.0f}, {-10.0f, -5.0f}},
    };
    auto build = [](PolarLayout& layout, const std::vector<Vector2>& points) {
        layout.Begin(1.4f);
        for (size_t i = 0; i < points.size(); ++i) layout.AddEntry(int(i), points[i], 1.4f, false);
        layout.Complete();
    };
    PolarLayout reused;
    for (const std::vector<Vector2>& points : rounds) {
        build(reused, points);
        PolarLayout fresh;
        build(fresh, points);
        for (int r = 0; r < fresh.Size(); ++r) {
            for (int c = 0; c < fresh.Size(); ++c) {
                if (r == c) continue;
                EXPECT_EQ(reused.A(r, c), fresh.A(r, c)) << r << ", " << c;
                EXPECT_EQ(reused.D(r, c), fresh.D(r, c)) << r << ", " << c;
                EXPECT_EQ(reused.R1(r, c), fresh.R1(r, c)) << r << ", " << c;
                EXPECT_EQ(reused.R2(r, c), fresh.R2(r, c)) << r << ", " << c;
            }
        }
    }
}

using PolarLayoutWorldTest = MatcherWorld;

TEST_F(PolarLayoutWorldTest, PatternLayoutLeavesOutTheOwnObject) {
    Pattern pattern;
    PatternObject* enemy = AddObject(pattern, kPatternEnemy, 10.0f, 0.0f);
    AddObject(pattern, kPatternHealthField, 0.0f, 5.0f);
    const PolarLayout& layout = pattern.Layout();
    ASSERT_EQ(layout.Size(), 2);
    EXPECT_EQ(layout.OwnRadius(), 1.4f);
    // Angles 0 and pi/2; the wrap gap 3 pi / 2 begins the order at the enemy.
    EXPECT_EQ(layout.EntryAt(0).index, pattern.FindObject(enemy));
    EXPECT_EQ(layout.EntryAt(0).radius, 1.4f);
    EXPECT_EQ(layout.EntryAt(0).solid, 1);
    EXPECT_EQ(layout.Touch(0), 0);
    // The field (radius 8) covers the unit 5 away.
    EXPECT_EQ(layout.EntryAt(1).index, 2);
    EXPECT_EQ(layout.EntryAt(1).solid, 0);
    EXPECT_EQ(layout.Touch(1), 1);
}

TEST_F(PolarLayoutWorldTest, WorldLayoutUsesFacingOriginsAndLeavesOutTheUnit) {
    WorldObject* unit = AddKind(kKindRock, 80.0f, 80.0f);
    WorldObject* tree = AddKind(kKindTree, 90.0f, 80.0f);
    WorldObject* field = AddKind(kKindHealthField, 80.0f, 70.0f);
    tree->facingOrigin = Vector2(10.0f, 0.0f);
    field->facingOrigin = Vector2(0.0f, -10.0f);
    Array<WorldObject*> objects;
    objects.Append(field);
    objects.Append(unit);
    objects.Append(tree);
    PolarLayout layout;
    layout.BuildFromWorld(*unit, objects);
    ASSERT_EQ(layout.Size(), 2);
    EXPECT_EQ(layout.OwnRadius(), unit->GetRadius());
    // Angles 3 pi / 2 (field) and 0 (tree): gaps 4.712 and the wrap 1.571; the order
    // begins after the larger one, at the field.
    EXPECT_EQ(layout.EntryAt(0).index, 0);
    EXPECT_EQ(layout.EntryAt(1).index, 2);
    EXPECT_EQ(layout.EntryAt(1).solid, 1);
    EXPECT_EQ(layout.EntryAt(1).radius, tree->GetRadius());
}

}  // namespace
