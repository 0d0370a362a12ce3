// The free-ground search against the straightforward one it replaces: every crossing of
// every two circles and every foot, sorted, each tested against every disc.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "world/FreeGround.h"

namespace {

bool Free(const Vector2& p, const std::vector<GroundDisc>& taken, const GroundDisc* bound) {
    if (bound != nullptr && p.Distance(bound->centre) > bound->radius) return false;
    return std::none_of(taken.begin(), taken.end(),
                        [&p](const GroundDisc& disc) { return p.Distance(disc.centre) < disc.radius; });
}

bool ReferenceSearch(const Vector2& wanted, const std::vector<GroundDisc>& taken, const GroundDisc* bound, float room,
                     Vector2& place) {
    if (Free(wanted, taken, bound)) {
        place = wanted;
        return true;
    }
    std::vector<GroundDisc> circles;
    if (bound != nullptr) circles.push_back({bound->centre, bound->radius - room});
    for (const GroundDisc& disc : taken) circles.push_back({disc.centre, disc.radius + room});
    std::vector<Vector2> spots;
    for (size_t i = 0; i < circles.size(); ++i) {
        const Vector2 away = wanted - circles[i].centre;
        spots.push_back(away.Length() < 1e-6f ? circles[i].centre + Vector2(circles[i].radius, 0.0f)
                                              : circles[i].centre + away * (circles[i].radius / away.Length()));
        for (size_t j = i + 1; j < circles.size(); ++j) {
            const GroundDisc& a = circles[i];
            const GroundDisc& b = circles[j];
            const Vector2 between = b.centre - a.centre;
            const float d = between.Length();
            if (d < 1e-6f || d > a.radius + b.radius || d < std::fabs(a.radius - b.radius)) continue;
            const float along = (a.radius * a.radius - b.radius * b.radius + d * d) / (2.0f * d);
            const float across = std::sqrt(std::max(a.radius * a.radius - along * along, 0.0f));
            const Vector2 u = between * (1.0f / d);
            spots.push_back(a.centre + u * along + Vector2(-u.y, u.x) * across);
            spots.push_back(a.centre + u * along - Vector2(-u.y, u.x) * across);
        }
    }
    std::sort(spots.begin(), spots.end(), [&wanted](const Vector2& a, const Vector2& b) {
        return a.DistanceSquared(wanted) < b.DistanceSquared(wanted);
    });
    for (const Vector2& spot : spots) {
        if (Free(spot, taken, bound)) {
            place = spot;
            return true;
        }
    }
    return false;
}

// Random layouts: scattered bodies of mixed sizes, crowds packed tight, piles on one
// spot, with and without a bounding circle; the wanted point often inside a body.
TEST(FreeGroundTest, FindsWhatTheStraightforwardSearchFinds) {
    std::mt19937 random(20261210);
    const auto uniform = [&random](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    };
    int found = 0;
    int full = 0;
    for (int layout = 0; layout < 400; ++layout) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        const float span = uniform(4.0f, 30.0f);
        std::vector<GroundDisc> taken;
        const int count = int(uniform(0.0f, 120.0f));
        for (int i = 0; i < count; ++i) {
            const Vector2 centre = layout % 5 == 0 && i % 3 != 0 ? Vector2(1.0f, 2.0f)
                                                                 : Vector2(uniform(-span, span), uniform(-span, span));
            taken.push_back({centre, layout % 2 == 0 ? 3.01f : uniform(0.5f, 5.0f)});
        }
        const GroundDisc bound{Vector2(uniform(-3.0f, 3.0f), uniform(-3.0f, 3.0f)), uniform(2.0f, 16.0f)};
        const GroundDisc* within = layout % 3 == 0 ? &bound : nullptr;
        const Vector2 wanted = count > 0 && layout % 4 != 0 ? taken[size_t(count / 2)].centre
                                                            : Vector2(uniform(-span, span), uniform(-span, span));
        Vector2 expected;
        Vector2 place;
        const bool there = ReferenceSearch(wanted, taken, within, 0.001f, expected);
        ASSERT_EQ(NearestFreePoint(wanted, taken, within, 0.001f, place), there);
        if (!there) {
            ++full;
            continue;
        }
        ++found;
        EXPECT_NEAR(place.Distance(wanted), expected.Distance(wanted), 1e-4f);
        EXPECT_TRUE(Free(place, taken, within));
        // Reach: the same point when within it, none when not.
        FreePointRule rule;
        rule.reach = expected.Distance(wanted) + 0.01f;
        EXPECT_TRUE(NearestFreePoint(wanted, taken, within, 0.001f, place, &rule));
        if (expected.Distance(wanted) > 0.02f) {
            rule.reach = expected.Distance(wanted) - 0.01f;
            EXPECT_FALSE(NearestFreePoint(wanted, taken, within, 0.001f, place, &rule));
        }
    }
    // Both kinds of answer were met.
    EXPECT_GT(found, 100);
    EXPECT_GT(full, 10);
}

// A free point refused by the rule: the search goes on to the nearest one accepted, with
// the grid of sampled points where no disc's edge lies.
TEST(FreeGroundTest, GoesOnPastRefusedGround) {
    const std::vector<GroundDisc> taken = {{Vector2(0.0f, 0.0f), 2.0f}};
    FreePointRule rule;
    rule.reach = 10.0f;
    rule.step = 0.5f;
    rule.accept = [](const Vector2& p) { return p.x < -1.0f; };
    Vector2 place;
    ASSERT_TRUE(NearestFreePoint(Vector2(0.5f, 0.0f), taken, nullptr, 0.001f, place, &rule));
    EXPECT_LT(place.x, -1.0f);
    EXPECT_GE(place.Length(), 2.0f);
    EXPECT_LT(place.Length(), 2.6f);
    rule.accept = [](const Vector2&) { return false; };
    bool metFree = false;
    rule.metFree = &metFree;
    EXPECT_FALSE(NearestFreePoint(Vector2(0.5f, 0.0f), taken, nullptr, 0.001f, place, &rule));
    EXPECT_TRUE(metFree);
}

// Numbers no caller sends today: a wanted point that is not a number finds nothing, a
// disc that is not finite or lies far beyond reach is left out, a bound that is not
// finite finds nothing, and a disc too large to measure that reaches the wanted point
// finds nothing rather than a point inside it.
TEST(FreeGroundTest, OddNumbersFindTheSoundAnswer) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const Vector2 wanted(0.5f, 0.0f);
    const std::vector<GroundDisc> ground = {{Vector2(0.0f, 0.0f), 2.0f}, {Vector2(3.0f, 0.0f), 2.0f}};
    const GroundDisc area{Vector2(0.0f, 0.0f), 10.0f};
    Vector2 unbounded;
    Vector2 bounded;
    ASSERT_TRUE(NearestFreePoint(wanted, ground, nullptr, 0.001f, unbounded));
    ASSERT_TRUE(NearestFreePoint(wanted, ground, &area, 0.001f, bounded));
    Vector2 place;
    EXPECT_FALSE(NearestFreePoint(Vector2(kNaN, 0.0f), ground, &area, 0.001f, place));
    EXPECT_FALSE(NearestFreePoint(Vector2(0.0f, kInf), ground, nullptr, 0.001f, place));

    const std::vector<GroundDisc> odd = {{Vector2(kNaN, 1.0f), 1.0f},   {Vector2(1.0f, 1.0f), kNaN},
                                         {Vector2(-kInf, 0.0f), 1.0f},  {Vector2(0.0f, 0.0f), kInf},
                                         {Vector2(6e9f, 0.0f), 1.0f},   {Vector2(3e38f, 3e38f), 1e38f},
                                         {Vector2(-3e38f, 0.0f), 1e38f}, {Vector2(0.5f, 0.0f), -1e30f}};
    for (const GroundDisc& disc : odd) {
        SCOPED_TRACE(testing::Message() << "disc " << disc.centre.x << ", " << disc.centre.y << " r " << disc.radius);
        std::vector<GroundDisc> taken = ground;
        taken.insert(taken.begin() + 1, disc);
        ASSERT_TRUE(NearestFreePoint(wanted, taken, nullptr, 0.001f, place));
        EXPECT_EQ(place, unbounded);
        ASSERT_TRUE(NearestFreePoint(wanted, taken, &area, 0.001f, place));
        EXPECT_EQ(place, bounded);
        // The same as a full area: left out.
        FreePointRule rule;
        rule.full = std::span<const GroundDisc>(&disc, 1);
        ASSERT_TRUE(NearestFreePoint(wanted, ground, &area, 0.001f, place, &rule));
        EXPECT_EQ(place, bounded);
        // As the bound: no point when it is not finite or cannot be measured; the ground
        // of the one at 6e9 is found.
        EXPECT_EQ(NearestFreePoint(wanted, ground, &disc, 0.001f, place), disc.centre.x == 6e9f);
    }
    // A disc beyond measure whose inside holds the wanted point: no point rather than one
    // inside it.
    std::vector<GroundDisc> covered = ground;
    covered.push_back({Vector2(2e30f, 0.0f), 3e30f});
    EXPECT_FALSE(NearestFreePoint(wanted, covered, nullptr, 0.001f, place));
    // A grid far finer than its reach, every point refused: the search ends.
    FreePointRule refuseAll;
    refuseAll.step = 1e-3f;
    refuseAll.accept = [](const Vector2&) { return false; };
    EXPECT_FALSE(NearestFreePoint(wanted, ground, nullptr, 0.001f, place, &refuseAll));
}

}  // namespace
