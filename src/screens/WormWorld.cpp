// The worms' world.
#include "screens/WormWorld.h"

#include "platform/sys/Random.h"

namespace {

constexpr Point kEvenSteps[WormWorld::kDirectionCount] = {{1, 0}, {0, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
constexpr Point kOddSteps[WormWorld::kDirectionCount] = {{1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {0, -1}, {1, 0}};

constexpr Color kColours[WormWorld::kWormCount] = {
    Color(0xFFFF0000), Color(0xFFFFFF00), Color(0xFF00FF00), Color(0xFF00FFFF),
    Color(0xFF0000FF), Color(0xFFFF00FF), Color(0xFFFFFFFF), Color::FromRGBA(180, 128, 60, 255),
};

int32_t Wrap(int32_t value) { return (value + WormWorld::kSide) % WormWorld::kSide; }

int32_t Opposite(int32_t direction) { return (direction + 3) % WormWorld::kDirectionCount; }

// A pick among n choices, the first and last about half as likely as the others.
int32_t Pick(int32_t count) { return int32_t((int64_t(sys::Rand()) * (count - 1) + 16383) / 32767); }

// The k-th direction whose bit is clear in the pattern; kNone past the last.
int32_t KthOpen(int32_t pattern, int32_t k) {
    for (int32_t d = 0; d < WormWorld::kDirectionCount; ++d) {
        if ((pattern & (1 << d)) != 0) continue;
        if (k-- == 0) return d;
    }
    return WormWorld::kNone;
}

int32_t OpenCount(int32_t pattern) {
    int32_t count = 0;
    for (int32_t d = 0; d < WormWorld::kDirectionCount; ++d) count += (pattern & (1 << d)) == 0 ? 1 : 0;
    return count;
}

}  // namespace

Point WormWorld::DirectionStep(int32_t x, int32_t direction) {
    return (x % 2 == 0 ? kEvenSteps : kOddSteps)[direction];
}

void WormWorld::Reset() {
    for (int32_t x = 0; x < kSide; ++x) {
        for (int32_t y = 0; y < kSide; ++y) {
            Node& node = nodes[x * kSide + y];
            node = Node();
            node.x = x;
            node.y = y;
            for (int32_t d = 0; d < kDirectionCount; ++d) {
                const Point step = DirectionStep(x, d);
                node.neighbours[d] = Wrap(x + step.x) * kSide + Wrap(y + step.y);
                node.eatenBy[d] = kNone;
            }
        }
    }
    for (int32_t w = 0; w < kWormCount; ++w) {
        Worm& worm = worms[w];
        worm.alive = true;
        worm.colour = kColours[w];
        for (int32_t pattern = 0; pattern < kPatternCount; ++pattern) {
            const int32_t open = OpenCount(pattern);
            if (open == 0) {
                worm.rules[pattern] = kDie;
            } else if (open == 1 || w == 0) {
                // The first worm knows only the patterns that leave one way.
                worm.rules[pattern] = open == 1 ? KthOpen(pattern, 0) : kNoRule;
            } else {
                worm.rules[pattern] = KthOpen(pattern, Pick(open));
            }
        }
    }
    for (int32_t w = 0; w < kWormCount; ++w) {
        // Two heads on one node would leave one worm unnamed: draw again.
        int32_t node = 0;
        do {
            const int32_t x = Pick(kSide);
            const int32_t y = Pick(kSide);
            node = x * kSide + y;
        } while (nodes[node].head != kNone);
        worms[w].node = node;
        nodes[node].head = w;
    }
    waiting = kNone;
    lastMoved = 0;
    accumulator = 0.0f;
}

bool WormWorld::IsFree(int32_t node, int32_t direction) const {
    const Node& n = nodes[node];
    return n.eatenBy[direction] == kNone && nodes[n.neighbours[direction]].head == kNone;
}

int32_t WormWorld::PatternOf(int32_t node) const {
    int32_t pattern = 0;
    for (int32_t d = 0; d < kDirectionCount; ++d) pattern |= IsFree(node, d) ? 0 : 1 << d;
    return pattern;
}

int32_t WormWorld::LivingCount() const {
    int32_t count = 0;
    for (const Worm& worm : worms) count += worm.alive ? 1 : 0;
    return count;
}

int32_t WormWorld::RandomFreeDirection(int32_t node) const {
    const int32_t pattern = PatternOf(node);
    const int32_t open = OpenCount(pattern);
    if (open == 0) return kNone;
    return KthOpen(pattern, Pick(open));
}

void WormWorld::Move(int32_t worm, int32_t direction) {
    Node& from = nodes[worms[worm].node];
    from.eatenBy[direction] = worm;
    from.head = kNone;
    bool usedUp = true;
    for (int32_t eater : from.eatenBy) usedUp = usedUp && eater != kNone;
    if (usedUp) from.filledBy = worm;
    Node& to = nodes[from.neighbours[direction]];
    worms[worm].node = from.neighbours[direction];
    to.head = worm;
    to.eatenBy[Opposite(direction)] = worm;
}

void WormWorld::Kill(int32_t worm) {
    nodes[worms[worm].node].filledBy = worm;
    worms[worm].alive = false;
    if (waiting == worm) waiting = kNone;
}

void WormWorld::Step() {
    if (waiting != kNone) {
        const int32_t rule = worms[waiting].rules[PatternOf(worms[waiting].node)];
        if (rule < 0) return;
        Move(waiting, rule);
        lastMoved = (lastMoved + 1) % kWormCount;
        waiting = kNone;
        return;
    }
    if (LivingCount() == 0) return;
    do {
        lastMoved = (lastMoved + 1) % kWormCount;
    } while (!worms[lastMoved].alive);
    const int32_t worm = lastMoved;
    const int32_t rule = worms[worm].rules[PatternOf(worms[worm].node)];
    if (rule >= 0) {
        Move(worm, rule);
    } else if (rule == kNoRule) {
        waiting = worm;
    } else {
        Kill(worm);
    }
}

void WormWorld::Update(float frameSeconds) {
    const int32_t living = LivingCount();
    if (living == 0 || !(frameSeconds > 0.0f)) return;
    const float interval = 1.0f / (kStepsPerWormSecond * float(living));
    accumulator += frameSeconds;
    while (accumulator > interval) {
        accumulator -= interval;
        Step();
    }
}

bool WormWorld::MakeChoice(int32_t choice) {
    if (waiting == kNone || choice < -1 || choice >= kDirectionCount) return false;
    const int32_t node = worms[waiting].node;
    const int32_t direction = choice == -1 ? RandomFreeDirection(node) : choice;
    if (direction == kNone || !IsFree(node, direction)) return false;
    worms[waiting].rules[PatternOf(node)] = direction;
    return true;
}
