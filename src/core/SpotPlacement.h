#pragma once
// Placing marker circles around a circle without covering one another.
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector3Array.h"

// The largest overlap area between the circle and the listed circles, each circle
// given as (x, y, radius); 0 for an empty list.
float MaxCircleOverlap(const Vector3& circle, const Vector3Array& circles);
// Places a marker circle of radius 0.5 just outside the centre circle (x, y, r) without
// covering the markers already listed: up to 16 angles from `angle` on; the chosen
// marker is appended to the list and `angle` left at its angle. The answer is the point
// at `scale` times the marker's distance from the centre.
Vector2 FindFreeSpotAround(const Vector3& centre, float& angle, float scale, Vector3Array& markers);
