#pragma once
// Meshes moved onto an atlas: which of them can be, and the move itself. A mesh can move
// only when every face of it and of its levels shows the one picture through its first
// texture coordinates, all within [0, 1].
#include "core/Array.h"
#include "engine/TextureHandle.h"

class Material;
class Mesh;
class PaintedPartAtlas;

bool FitsAtlas(const Mesh& mesh, TextureHandle texture);
// The picture every face of the mesh shows when the mesh fits an atlas, or none.
TextureHandle AtlasTextureOf(const Mesh& mesh);
// Moves the coordinates into the part's cell and the faces onto the atlas materials:
// the first copy that looks alike once it shows the atlas, or a new copy, so that parts
// painted alike share one and draw together.
void MoveIntoAtlas(Mesh& mesh, const PaintedPartAtlas& atlas, int part, Array<Material*>& copies);
