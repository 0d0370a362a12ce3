#pragma once
// The worms' world: eight worms eat their way over a wrapping lattice of 16 x 16 nodes,
// each with six neighbours. Each step a worm takes the direction its rule table gives
// for the pattern of edges still free around its node; the first worm's table starts
// almost empty, and where it has no rule the world waits for the player's choice, which
// becomes the rule. A worm with no free edge dies.
#include <cstdint>

#include "core/Color.h"
#include "core/Point.h"

class WormWorld {
public:
    static constexpr int32_t kSide = 16;
    static constexpr int32_t kNodeCount = kSide * kSide;
    static constexpr int32_t kWormCount = 8;
    static constexpr int32_t kDirectionCount = 6;
    static constexpr int32_t kPatternCount = 64;
    static constexpr int32_t kNone = -1;
    // Rule values besides the directions 0..5.
    static constexpr int32_t kNoRule = -1;
    static constexpr int32_t kDie = -2;
    // Every living worm moves about this often a second.
    static constexpr float kStepsPerWormSecond = 4.0f;

    struct Node {
        int32_t x = 0;
        int32_t y = 0;
        int32_t filledBy = kNone;  // the worm that used it up or died on it
        int32_t head = kNone;      // the worm whose head is here
        int32_t neighbours[kDirectionCount] = {};
        int32_t eatenBy[kDirectionCount] = {};  // kNone while the edge is free
    };

    struct Worm {
        int32_t node = 0;
        bool alive = false;
        Color colour;
        int32_t rules[kPatternCount] = {};
    };

    WormWorld() { Reset(); }

    // New lattice, new rule tables, worms on random free nodes.
    void Reset();
    // One worm moves, waits or dies.
    void Step();
    // Runs the steps the frame time holds.
    void Update(float frameSeconds);
    // The waiting worm's rule for its node's pattern: 0..5 when that way is free, -1 a
    // random free way; anything else, or no waiting worm, changes nothing.
    bool MakeChoice(int32_t choice);

    // Free: not eaten, and no worm's head on the neighbour.
    bool IsFree(int32_t node, int32_t direction) const;
    // Bit d set when direction d is not free.
    int32_t PatternOf(int32_t node) const;
    int32_t LivingCount() const;
    // The step (dx, dy) of a direction from a column of that parity.
    static Point DirectionStep(int32_t x, int32_t direction);

    Node nodes[kNodeCount];
    Worm worms[kWormCount];
    int32_t waiting = kNone;
    int32_t lastMoved = 0;
    float accumulator = 0.0f;

private:
    void Move(int32_t worm, int32_t direction);
    void Kill(int32_t worm);
    // The k-th free direction of the node, k drawn so that each is about equally likely;
    // kNone when none is free.
    int32_t RandomFreeDirection(int32_t node) const;
};
