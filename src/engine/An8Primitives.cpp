// The geometric primitives of the model text: spheres, cylinders and cubes, generated in
// file coordinates and placed like the points of a mesh. Faces run so that their normals
// point outwards.
#include <cmath>
#include <numbers>

#include "engine/An8ModelBuilder.h"
#include "engine/Mesh.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

}  // namespace

// Cells between `rings` rings of perRing vertices each, the first ring's vertices
// starting at firstRing: two triangles per cell, one cell per pair of neighbours.
void An8ModelBuilder::AddRingCells(int firstRing, int rings, int perRing) {
    for (int j = 0; j + 1 < rings; ++j) {
        const int upper = firstRing + j * perRing;
        const int lower = upper + perRing;
        for (int k = 0; k + 1 < perRing; ++k) {
            AddTriangle(upper + k, lower + k, upper + k + 1);
            AddTriangle(upper + k + 1, lower + k, lower + k + 1);
        }
    }
}

// A top and a bottom row of L vertices at the poles (one per triangle, for the texture
// coordinates) and M - 1 rings of L + 1 vertices between them, the seam doubled.
void An8ModelBuilder::GenerateSphere() {
    const int longitude = longitude_;
    const int latitude = latitude_;
    if (longitude < 2 || latitude - 1 < 1) return;
    const float r = diameter_ / 2.0f;
    const bool textured = FaceMaterialHasTexture();
    auto vertex = [&](const Vector3& p, float u, float v) {
        const Vector2 coords(u, v);
        return AddVertex(Placed(p), textured ? &coords : nullptr);
    };

    const int top = CurrentMesh().vertices.Count();
    for (int i = 1; i <= longitude; ++i) vertex({0, r, 0}, 1.0f - float(i) / float(longitude), 0.0f);
    const int firstRing = CurrentMesh().vertices.Count();
    for (int j = 1; j < latitude; ++j) {
        const float a = kPi * float(j) / float(latitude);
        for (int k = 0; k <= longitude; ++k) {
            const float b = 2.0f * kPi * float(k) / float(longitude);
            const bool seam = k == 0 || k == longitude;
            const Vector3 p =
                seam ? Vector3(r * std::sin(a), r * std::cos(a), 0)
                     : Vector3(r * std::sin(a) * std::cos(b), r * std::cos(a), r * std::sin(a) * std::sin(b));
            vertex(p, 1.0f - b / (2.0f * kPi), a / kPi);
        }
    }
    const int bottom = CurrentMesh().vertices.Count();
    for (int i = 1; i <= longitude; ++i) vertex({0, -r, 0}, 1.0f - float(i) / float(longitude), 1.0f);

    const int perRing = longitude + 1;
    const int lastRing = firstRing + (latitude - 2) * perRing;
    for (int i = 0; i < longitude; ++i) AddTriangle(top + i, firstRing + i, firstRing + i + 1);
    AddRingCells(firstRing, latitude - 1, perRing);
    for (int i = 0; i < longitude; ++i) AddTriangle(bottom + i, lastRing + i + 1, lastRing + i);
}

// M + 1 rings from the top (height = length) down to the bottom (height 0), the radius
// running from the top's to the bottom's; caps are fans over a ring's own vertices.
void An8ModelBuilder::GenerateCylinder() {
    const int longitude = longitude_;
    const int latitude = latitude_;
    // No ring count means no rings to place: nothing to generate.
    if (longitude < 2 || latitude < 1) return;
    const float bottomRadius = diameter_ / 2.0f;
    const float topRadius = topDiameter_ >= 0.0f ? topDiameter_ / 2.0f : bottomRadius;
    const bool textured = FaceMaterialHasTexture();

    const int firstRing = CurrentMesh().vertices.Count();
    for (int j = 0; j <= latitude; ++j) {
        const float share = float(j) / float(latitude);
        const float height = length_ - length_ * share;
        const float radius = topRadius + (bottomRadius - topRadius) * share;
        const float v = length_ != 0.0f ? 1.0f - height / length_ : share;
        for (int k = 0; k <= longitude; ++k) {
            const float b = 2.0f * kPi * float(k) / float(longitude);
            const bool seam = k == 0 || k == longitude;
            const Vector3 p =
                seam ? Vector3(radius, height, 0) : Vector3(radius * std::cos(b), height, radius * std::sin(b));
            const Vector2 coords(1.0f - b / (2.0f * kPi), v);
            AddVertex(Placed(p), textured ? &coords : nullptr);
        }
    }
    const int perRing = longitude + 1;
    AddRingCells(firstRing, latitude + 1, perRing);
    const int lastRing = firstRing + latitude * perRing;
    for (int i = 1; i + 1 < longitude; ++i) {
        if (capStart_) AddTriangle(firstRing, firstRing + i, firstRing + i + 1);
        if (capEnd_) AddTriangle(lastRing, lastRing + i + 1, lastRing + i);
    }
}

// One side: a grid from `corner` spanning `across` and `up` (across x up points out of
// the cube), with texture coordinates from 0 to 1.
void An8ModelBuilder::GenerateCubeSide(const Vector3& corner, const Vector3& across, const Vector3& up, int columns,
                                       int rows) {
    const bool textured = FaceMaterialHasTexture();
    const int first = CurrentMesh().vertices.Count();
    for (int row = 0; row <= rows; ++row) {
        for (int column = 0; column <= columns; ++column) {
            const float s = float(column) / float(columns);
            const float t = float(row) / float(rows);
            const Vector2 coords(s, 1.0f - t);
            AddVertex(Placed(corner + across * s + up * t), textured ? &coords : nullptr);
        }
    }
    auto at = [&](int column, int row) { return first + row * (columns + 1) + column; };
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            AddTriangle(at(column, row), at(column + 1, row + 1), at(column + 1, row));
            AddTriangle(at(column, row), at(column, row + 1), at(column + 1, row + 1));
        }
    }
}

void An8ModelBuilder::GenerateCube() {
    const Vector3 h = cubeScale_ * 0.5f;
    const Vector3 x(2 * h.x, 0, 0);
    const Vector3 y(0, 2 * h.y, 0);
    const Vector3 z(0, 0, 2 * h.z);
    const int dx = cubeDivisions_[0];
    const int dy = cubeDivisions_[1];
    const int dz = cubeDivisions_[2];
    GenerateCubeSide({h.x, -h.y, -h.z}, y, z, dy, dz);
    GenerateCubeSide({-h.x, -h.y, -h.z}, z, y, dz, dy);
    GenerateCubeSide({-h.x, h.y, -h.z}, z, x, dz, dx);
    GenerateCubeSide({-h.x, -h.y, -h.z}, x, z, dx, dz);
    GenerateCubeSide({-h.x, -h.y, h.z}, x, y, dx, dy);
    GenerateCubeSide({-h.x, -h.y, -h.z}, y, x, dy, dx);
}
