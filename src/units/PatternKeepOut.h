#pragma once
// The circles a pattern diagram's path keeps out of: handles, targets, map conditions,
// objects and path points, so that the path's strip runs between the icons rather than
// over them.
#include <cstdint>
#include <vector>

#include "core/Vector2.h"

class Pattern;

// Objects of a diagram are drawn, and kept out of, layer by layer: fields and goals
// lowest, beacons over them, solid things on top.
constexpr int kPatternDrawLayers = 3;
int PatternDrawLayer(int32_t kind);

struct KeepOutCircle {
    Vector2 centre;
    float radius = 0.0f;
};

// A stretch of a segment, as the share of the way from its start to its end.
struct SegmentStretch {
    float from = 0.0f;
    float to = 1.0f;
};

class PatternKeepOut {
public:
    // Icon sizes of the diagram at zoom 32.
    static constexpr float kHandleRadius = 0.7f;
    static constexpr float kIconRadius = 1.4f;

    // In this order: object facing handles, path point facing handles, aimed action
    // targets, map conditions, objects layer by layer at their kind's radius, path points.
    // Handle and icon radii grow with the zoom as the icons do.
    void Build(const Pattern& pattern, float zoom);
    const std::vector<KeepOutCircle>& Circles() const { return circles_; }
    // The stretches of the segment outside every circle, in order from its start.
    std::vector<SegmentStretch> Outside(const Vector2& start, const Vector2& end) const;

private:
    void Add(const Vector2& centre, float radius) { circles_.push_back({centre, radius}); }
    std::vector<KeepOutCircle> circles_;
};
