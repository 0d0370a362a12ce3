#pragma once
// A small mesh library: primitives (box, sphere, cylinder and cone, torus, lathe,
// extruded outline) added into one triangle mesh under a placement, each part coloured
// by one cell of the model's palette texture. Coordinates are the game's: z up, the
// front along +x. Triangles wind counter-clockwise seen from outside; the file writer
// turns them to the game's order.
#include <array>
#include <string>
#include <vector>

#include "Canvas.h"

namespace assetgen {

struct V3 {
    float x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b);
V3 operator-(V3 a, V3 b);
V3 operator*(V3 a, float s);
V3 Cross(V3 a, V3 b);
float Dot(V3 a, V3 b);
V3 Normalised(V3 a);

struct MeshVertex {
    V3 position;
    V3 normal;
    float u = 0, v = 0;  // v runs down the picture
};

struct TriMesh {
    std::vector<MeshVertex> vertices;
    std::vector<std::array<int, 3>> triangles;

    void Append(const TriMesh& other);
    void Bounds(V3& low, V3& high) const;
};

// Where a part goes: scaled per axis, turned about z (degrees), then moved.
struct Placement {
    V3 offset;
    V3 scale{1, 1, 1};
    float turnZ = 0;
    float tiltY = 0;  // turn about y (degrees), applied before the turn about z
};

// The palette: up to 16 colours, each a 16 x 16 cell of a 64 x 64 texture.
class Palette {
public:
    int Add(Rgba colour);  // index of the colour's cell
    Image ToImage() const;
    static void CellCentre(int index, float& u, float& v);

private:
    std::vector<Rgba> colours_;
};

class MeshBuilder {
public:
    TriMesh& Mesh() { return mesh_; }

    void Box(const Placement& at, V3 half, int cell);
    void Sphere(const Placement& at, float radius, int cell, int slices = 12, int stacks = 8);
    // Along +z from 0 to height, radius going from bottom to top; closed at both ends.
    void Cylinder(const Placement& at, float bottomRadius, float topRadius, float height, int cell, int slices = 12);
    void Torus(const Placement& at, float ringRadius, float tubeRadius, int cell, int slices = 16, int sides = 8);
    // A profile of (radius, height) points turned about +z.
    void Lathe(const Placement& at, const std::vector<std::pair<float, float>>& profile, int cell, int slices = 14);
    // A flat outline in the x-y plane, corners counter-clockwise, given a thickness along z.
    void Extrude(const Placement& at, const std::vector<std::pair<float, float>>& outline, float thickness, int cell);
    // Moves every vertex out along its direction from the centre by up to amount (lumps).
    void Roughen(V3 centre, float amount);

private:
    int AddVertex(const Placement& at, V3 position, V3 normal, int cell);
    void AddQuad(int a, int b, int c, int d);

    TriMesh mesh_;
};

}  // namespace assetgen
