#pragma once
// The sparkle effect: one of six sparkle pictures, shrinking as it ages.
#include "core/Vector3.h"

// Draws one sparkle at the position; age runs from 0 (nothing yet) to 1 (shrunk away).
// The six particle systems are made on the first call.
void DrawSparkles(const Vector3& position, float size, float age);
// Forgets the systems before the renderer releases what it owns.
void ForgetSparkles();
