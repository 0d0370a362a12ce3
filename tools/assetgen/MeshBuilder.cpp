#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/Random.h"

namespace assetgen {

V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Normalised(V3 a) {
    const float length = std::sqrt(Dot(a, a));
    return length > 0 ? a * (1 / length) : V3{0, 0, 1};
}

void TriMesh::Append(const TriMesh& other) {
    const int base = int(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (const auto& t : other.triangles) triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

void TriMesh::Bounds(V3& low, V3& high) const {
    low = {1e30f, 1e30f, 1e30f};
    high = {-1e30f, -1e30f, -1e30f};
    for (const MeshVertex& v : vertices) {
        low = {std::min(low.x, v.position.x), std::min(low.y, v.position.y), std::min(low.z, v.position.z)};
        high = {std::max(high.x, v.position.x), std::max(high.y, v.position.y), std::max(high.z, v.position.z)};
    }
}

int Palette::Add(Rgba colour) {
    colours_.push_back(colour);
    return int(colours_.size()) - 1;
}

void Palette::CellCentre(int index, float& u, float& v) {
    u = (index % 4 * 16 + 8) / 64.0f;
    v = (index / 4 * 16 + 8) / 64.0f;
}

Image Palette::ToImage() const {
    Canvas canvas(64, 64);
    canvas.Paint([&](float x, float y) {
        const std::size_t cell = std::size_t(int(y) / 16 * 4 + int(x) / 16);
        Rgba c = cell < colours_.size() ? colours_[cell] : RgbaFrom(128, 128, 128);
        c.a = 1;
        return c;
    });
    return canvas.ToImage();
}

namespace {

V3 Turn(V3 p, const Placement& at) {
    const float ty = at.tiltY * float(M_PI) / 180, tz = at.turnZ * float(M_PI) / 180;
    const V3 tilted{p.x * std::cos(ty) + p.z * std::sin(ty), p.y, -p.x * std::sin(ty) + p.z * std::cos(ty)};
    return {tilted.x * std::cos(tz) - tilted.y * std::sin(tz), tilted.x * std::sin(tz) + tilted.y * std::cos(tz),
            tilted.z};
}

}  // namespace

int MeshBuilder::AddVertex(const Placement& at, V3 position, V3 normal, int cell) {
    MeshVertex v;
    const V3 scaled{position.x * at.scale.x, position.y * at.scale.y, position.z * at.scale.z};
    v.position = Turn(scaled, at) + at.offset;
    // Normals transform by the inverse scale to stay perpendicular to the surface.
    v.normal = Normalised(Turn({normal.x / at.scale.x, normal.y / at.scale.y, normal.z / at.scale.z}, at));
    Palette::CellCentre(cell, v.u, v.v);
    mesh_.vertices.push_back(v);
    return int(mesh_.vertices.size()) - 1;
}

void MeshBuilder::AddQuad(int a, int b, int c, int d) {
    mesh_.triangles.push_back({a, b, c});
    mesh_.triangles.push_back({a, c, d});
}

void MeshBuilder::Box(const Placement& at, V3 half, int cell) {
    static const V3 normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const V3& n : normals) {
        // Two axes across the face, ordered so the corners run counter-clockwise from outside.
        const V3 u = std::fabs(n.z) > 0 ? V3{1, 0, 0} : V3{0, 0, 1};
        const V3 w = Cross(n, u);
        const V3 centre{n.x * half.x, n.y * half.y, n.z * half.z};
        auto corner = [&](float su, float sw) {
            const V3 p = centre + V3{u.x * half.x * su, u.y * half.y * su, u.z * half.z * su} +
                         V3{w.x * half.x * sw, w.y * half.y * sw, w.z * half.z * sw};
            return AddVertex(at, p, n, cell);
        };
        const int a = corner(-1, -1), b = corner(1, -1), c = corner(1, 1), d = corner(-1, 1);
        AddQuad(a, b, c, d);
    }
}

void MeshBuilder::Sphere(const Placement& at, float radius, int cell, int slices, int stacks) {
    std::vector<std::pair<float, float>> profile;
    for (int i = 0; i <= stacks; ++i) {
        const float a = float(M_PI) * i / stacks;
        profile.push_back({radius * std::sin(a), -radius * std::cos(a)});
    }
    Lathe(at, profile, cell, slices);
}

void MeshBuilder::Cylinder(const Placement& at, float bottomRadius, float topRadius, float height, int cell,
                           int slices) {
    Lathe(at, {{0, 0}, {bottomRadius, 0}, {topRadius, height}, {0, height}}, cell, slices);
}

void MeshBuilder::Lathe(const Placement& at, const std::vector<std::pair<float, float>>& profile, int cell,
                        int slices) {
    // Each profile segment gets its own ring of vertices, so creases stay sharp.
    for (std::size_t s = 0; s + 1 < profile.size(); ++s) {
        const auto [r0, z0] = profile[s];
        const auto [r1, z1] = profile[s + 1];
        if (r0 == 0 && r1 == 0) continue;
        const float dr = r1 - r0, dz = z1 - z0;
        std::vector<int> ring0, ring1;
        for (int i = 0; i <= slices; ++i) {
            const float a = 2 * float(M_PI) * (i % slices) / slices;
            const float c = std::cos(a), si = std::sin(a);
            const V3 normal = Normalised({c * dz, si * dz, -dr});
            ring0.push_back(AddVertex(at, {r0 * c, r0 * si, z0}, normal, cell));
            ring1.push_back(AddVertex(at, {r1 * c, r1 * si, z1}, normal, cell));
        }
        for (int i = 0; i < slices; ++i) {
            if (r0 == 0)
                mesh_.triangles.push_back({ring0[i], ring1[i + 1], ring1[i]});
            else if (r1 == 0)
                mesh_.triangles.push_back({ring0[i], ring0[i + 1], ring1[i]});
            else
                AddQuad(ring0[i], ring0[i + 1], ring1[i + 1], ring1[i]);
        }
    }
}

void MeshBuilder::Torus(const Placement& at, float ringRadius, float tubeRadius, int cell, int slices, int sides) {
    std::vector<std::vector<int>> rings;
    for (int i = 0; i <= slices; ++i) {
        const float a = 2 * float(M_PI) * (i % slices) / slices;
        std::vector<int> ring;
        for (int j = 0; j <= sides; ++j) {
            const float b = 2 * float(M_PI) * (j % sides) / sides;
            const V3 normal{std::cos(a) * std::cos(b), std::sin(a) * std::cos(b), std::sin(b)};
            const V3 centre{std::cos(a) * ringRadius, std::sin(a) * ringRadius, 0};
            ring.push_back(AddVertex(at, centre + normal * tubeRadius, normal, cell));
        }
        rings.push_back(ring);
    }
    for (int i = 0; i < slices; ++i)
        for (int j = 0; j < sides; ++j) AddQuad(rings[i][j], rings[i + 1][j], rings[i + 1][j + 1], rings[i][j + 1]);
}

void MeshBuilder::Extrude(const Placement& at, const std::vector<std::pair<float, float>>& outline, float thickness,
                          int cell) {
    const float h = thickness / 2;
    const std::size_t n = outline.size();
    // Caps as fans from the outline's centre, which suits the star-shaped outlines used here.
    float cx = 0, cy = 0;
    for (const auto& [x, y] : outline) {
        cx += x / n;
        cy += y / n;
    }
    for (float side : {1.0f, -1.0f}) {
        const int centre = AddVertex(at, {cx, cy, h * side}, {0, 0, side}, cell);
        std::vector<int> ring;
        for (const auto& [x, y] : outline) ring.push_back(AddVertex(at, {x, y, h * side}, {0, 0, side}, cell));
        for (std::size_t i = 0; i < n; ++i) {
            const int a = ring[i], b = ring[(i + 1) % n];
            if (side > 0)
                mesh_.triangles.push_back({centre, a, b});
            else
                mesh_.triangles.push_back({centre, b, a});
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const auto [x0, y0] = outline[i];
        const auto [x1, y1] = outline[(i + 1) % n];
        const V3 normal = Normalised({y1 - y0, x0 - x1, 0});
        const int a = AddVertex(at, {x0, y0, -h}, normal, cell), b = AddVertex(at, {x1, y1, -h}, normal, cell);
        const int c = AddVertex(at, {x1, y1, h}, normal, cell), d = AddVertex(at, {x0, y0, h}, normal, cell);
        AddQuad(a, b, c, d);
    }
}

void MeshBuilder::Roughen(V3 centre, float amount) {
    // Vertices at one place move together, so the surface stays closed.
    std::vector<std::pair<V3, float>> moved;
    for (MeshVertex& v : mesh_.vertices) {
        float push = -1;
        for (const auto& [p, d] : moved)
            if (std::fabs(p.x - v.position.x) + std::fabs(p.y - v.position.y) + std::fabs(p.z - v.position.z) < 1e-5f)
                push = d;
        if (push < 0) {
            push = amount * sys::Rand() / sys::kRandMax;
            moved.push_back({v.position, push});
        }
        v.position = v.position + Normalised(v.position - centre) * push;
    }
}

}  // namespace assetgen
