#pragma once
// One picture for the parts that look alike whoever owns the unit: the face parts of every
// mood and eye style, the body parts no owner's colours paint, and the weapons. Their
// meshes are moved onto it where they stand, so every user of them draws from the one
// picture and a body gathers them into a single draw with its other plain parts.
#include "core/Array.h"

class Mesh;

class UnitPartAtlas {
public:
    // Moves each mesh that shows one picture through coordinates within [0, 1] onto a
    // new atlas of those pictures; the others keep their own.
    static void Gather(const Array<Mesh*>& meshes);
    // Whether the mesh draws from an atlas gathered on the current renderer.
    static bool Holds(const Mesh* mesh);
};
