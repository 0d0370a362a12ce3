#pragma once
// How far apart two world objects must stand.
class WorldObject;

// The two objects' collision radii plus 0.005.
float ContactRadiusSum(const WorldObject& a, const WorldObject& b);
// extent(a) + extent(b) + gap, where the extent is the collision radius plus, for a
// cylinder, the length of its axis.
float SeparationDistance(const WorldObject& a, const WorldObject& b, float gap);
