// The worms' lattice, rules, waiting for the player, dying and the step rate.
#include <gtest/gtest.h>

#include "platform/sys/Random.h"
#include "screens/WormWorld.h"

namespace {

// Every worm but the first dead, the first on node 0 with no way eaten.
void OnlyTheFirstWorm(WormWorld& world) {
    for (int32_t w = 1; w < WormWorld::kWormCount; ++w) {
        world.nodes[world.worms[w].node].head = WormWorld::kNone;
        world.worms[w].alive = false;
    }
    world.nodes[world.worms[0].node].head = WormWorld::kNone;
    world.worms[0].node = 0;
    world.nodes[0].head = 0;
}

TEST(WormWorldTest, TheLatticeWrapsAndEveryEdgeLeadsBackTheOppositeWay) {
    sys::SRand(7);
    WormWorld world;
    for (int32_t n = 0; n < WormWorld::kNodeCount; ++n) {
        for (int32_t d = 0; d < WormWorld::kDirectionCount; ++d) {
            const int32_t next = world.nodes[n].neighbours[d];
            EXPECT_EQ(world.nodes[next].neighbours[(d + 3) % 6], n) << n << " " << d;
        }
    }
    // Node (0, 0) going "up-left" from an even column wraps to (15, 15).
    EXPECT_EQ(world.nodes[0].neighbours[3], 15 * 16 + 15);
    int32_t heads = 0;
    for (const WormWorld::Node& node : world.nodes) heads += node.head != WormWorld::kNone ? 1 : 0;
    EXPECT_EQ(heads, WormWorld::kWormCount);  // no two worms start on one node
}

TEST(WormWorldTest, TheFirstWormKnowsOnlyOneWayPatternsAndWaitsForTheRest) {
    sys::SRand(3);
    WormWorld world;
    const int32_t* rules = world.worms[0].rules;
    EXPECT_EQ(rules[62], 0);
    EXPECT_EQ(rules[31], 5);
    EXPECT_EQ(rules[63], WormWorld::kDie);
    EXPECT_EQ(rules[0], WormWorld::kNoRule);
    for (int32_t pattern = 0; pattern < 63; ++pattern) {
        const int32_t rule = world.worms[1].rules[pattern];
        ASSERT_GE(rule, 0);
        EXPECT_EQ(pattern & (1 << rule), 0) << pattern;  // a free way of the pattern
    }

    OnlyTheFirstWorm(world);
    // One way left: the first worm moves without asking.
    for (int32_t d = 1; d < 6; ++d) world.nodes[0].eatenBy[d] = 5;
    world.lastMoved = 7;
    world.Step();
    EXPECT_EQ(world.waiting, WormWorld::kNone);
    EXPECT_EQ(world.worms[0].node, world.nodes[0].neighbours[0]);

    // A fresh node with every way open: it waits, a way that is not free changes nothing.
    const int32_t node = world.worms[0].node;
    world.Step();
    ASSERT_EQ(world.waiting, 0);
    EXPECT_FALSE(world.MakeChoice(3));  // the edge it came along is eaten
    EXPECT_FALSE(world.MakeChoice(6));
    EXPECT_FALSE(world.MakeChoice(-2));
    world.Step();
    EXPECT_EQ(world.worms[0].node, node);
    const int32_t pattern = world.PatternOf(node);
    EXPECT_TRUE(world.MakeChoice(1));
    EXPECT_EQ(world.worms[0].rules[pattern], 1);  // the choice is the rule from now on
    world.Step();
    EXPECT_EQ(world.worms[0].node, world.nodes[node].neighbours[1]);
    EXPECT_EQ(world.waiting, WormWorld::kNone);
}

TEST(WormWorldTest, AWormWithNoFreeWayDiesAndLeavesItsSpot) {
    sys::SRand(5);
    WormWorld world;
    OnlyTheFirstWorm(world);
    for (int32_t d = 0; d < 6; ++d) world.nodes[0].eatenBy[d] = 3;
    world.lastMoved = 7;
    world.Step();
    EXPECT_FALSE(world.worms[0].alive);
    EXPECT_EQ(world.nodes[0].filledBy, 0);
    world.Step();  // nothing lives: nothing happens
    world.Update(1.0f);
    EXPECT_EQ(world.LivingCount(), 0);
}

TEST(WormWorldTest, ThreeLivingWormsMakeTwelveStepsASecond) {
    sys::SRand(11);
    WormWorld world;
    for (int32_t w = 0; w < WormWorld::kWormCount; ++w) {
        // Every worm knows every pattern, so nobody waits.
        for (int32_t pattern = 0; pattern < 63; ++pattern) {
            for (int32_t d = 0; d < 6; ++d) {
                if ((pattern & (1 << d)) == 0) {
                    world.worms[w].rules[pattern] = d;
                    break;
                }
            }
        }
        world.worms[w].alive = w < 3;
    }
    // The interval is 0.25 / 3 s; each move eats one edge, seen from both of its ends.
    world.Update(0.5f);
    world.Update(0.51f);
    int32_t eatenEnds = 0;
    for (const WormWorld::Node& node : world.nodes) {
        for (int32_t eater : node.eatenBy) eatenEnds += eater != WormWorld::kNone ? 1 : 0;
    }
    EXPECT_EQ(eatenEnds, 2 * 12);
}

}  // namespace
