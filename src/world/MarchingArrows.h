#pragma once
// Rows of arrows that march from one point to another, showing a direction or a path:
// they move along with the shared animation phase.
#include "core/Color.h"
#include "core/Vector2.h"
#include "core/Vector3.h"

struct Sprite;

// The arrow picture the rows are drawn with (start-up makes it from "ArrowheadWhite.tga").
void SetMarchingArrowSprite(Sprite* sprite);
Sprite* GetMarchingArrowSprite();

// The number of arrows between two points `length` apart: one per spacing, at least 1
// and at most kMaxMarchingArrows; none for a size that is not positive.
constexpr int kMaxMarchingArrows = 1000;
int MarchingArrowCount(float length, float size, float scale);

// Screen arrows tinted in the colour, size x scale pixels, turned along the row.
void DrawOrientedDecal(const Vector2& from, const Vector2& to, Color colour, float size, float scale,
                       float phaseOffset);

// The number of terrain arrows between two ground points `length` apart (horizontally).
int MarchingDotCount(float length, float size);

// The same row laid on the battlefield ground between two world points: each arrow is the
// arrow picture projected on the terrain under a square of half side `size`.
void DrawMarchingTerrainDots(const Vector3& from, const Vector3& to, Color colour, float size, float phaseOffset);
