#pragma once
// Meshes built once and shared by several screens: a textured square, the generic
// shadow square and the floor grid under the scenes. The renderer owns them.
#include "core/Color.h"
#include "core/String.h"

class Mesh;

// A flat square of side `side` in the x-y plane, centred on the origin, facing +z, in
// the colour, textured from (u, v) over `extent` of the texture file.
Mesh* BuildTexturedQuadMesh(const String& textureFile, float side, float extent, Color colour, float u, float v);
// The unit shadow square under objects without a shadow of their own ("GenericShadow.tga"),
// made on the first call.
Mesh* GetGenericShadowMesh();
// Forgets the shared meshes before the renderer releases everything it owns.
void ForgetSharedMeshes();
// A 32 x 32 grid of half-unit cells around the origin, the diagonals alternating like a
// checkerboard, in a dark green. Start-up builds it once for the scenes.
Mesh* BuildFloorGridMesh();
