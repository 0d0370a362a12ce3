#include "Rasteriser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace assetgen {
namespace {

struct Projected {
    float x, y, depth;
};

Color Sample(const Image* texture, float u, float v) {
    if (!texture || texture->IsEmpty()) return Color::FromRGBA(200, 200, 200, 255);
    const int x = std::clamp(int(u * texture->Width()), 0, texture->Width() - 1);
    const int y = std::clamp(int(v * texture->Height()), 0, texture->Height() - 1);
    return texture->At(x, y);
}

Color Shade(Color c, float light) {
    auto channel = [&](uint8_t value) { return uint8_t(std::clamp(value * light, 0.0f, 255.0f)); };
    return Color::FromRGBA(channel(c.Red()), channel(c.Green()), channel(c.Blue()), 255);
}

}  // namespace

Image RenderParts(const std::vector<RenderPart>& parts, int size, float turnDegrees, float lookDownDegrees,
                  bool shaded) {
    const float turn = turnDegrees * float(M_PI) / 180, down = lookDownDegrees * float(M_PI) / 180;
    // Camera axes: right, up and toward the viewer, in model space.
    const V3 toViewer{std::cos(turn) * std::cos(down), std::sin(turn) * std::cos(down), std::sin(down)};
    const V3 right = Normalised(Cross({0, 0, 1}, toViewer));
    const V3 up = Cross(toViewer, right);
    float minX = 1e30f, maxX = -1e30f, minY = 1e30f, maxY = -1e30f;
    for (const RenderPart& part : parts)
        for (const MeshVertex& v : part.mesh.vertices) {
            const float x = Dot(v.position, right), y = Dot(v.position, up);
            minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    Image image(size, size);
    if (minX > maxX) return image;
    const float span = std::max(maxX - minX, maxY - minY) * 1.1f;
    const float scale = size / std::max(span, 1e-6f);
    const float cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
    std::vector<float> depth(std::size_t(size) * size, -std::numeric_limits<float>::infinity());
    const V3 light = Normalised(toViewer + V3{0, 0, 0.6f});

    for (const RenderPart& part : parts) {
        for (const auto& t : part.mesh.triangles) {
            const MeshVertex* v[3] = {&part.mesh.vertices[t[0]], &part.mesh.vertices[t[1]], &part.mesh.vertices[t[2]]};
            Projected p[3];
            for (int i = 0; i < 3; ++i)
                p[i] = {size / 2.0f + (Dot(v[i]->position, right) - cx) * scale,
                        size / 2.0f - (Dot(v[i]->position, up) - cy) * scale, Dot(v[i]->position, toViewer)};
            const float area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
            if (std::fabs(area) < 1e-9f) continue;
            const V3 normal = Normalised(Cross(v[1]->position - v[0]->position, v[2]->position - v[0]->position));
            const float lit = shaded ? 0.45f + 0.55f * std::fabs(Dot(normal, light)) : 1.0f;
            const int x0 = std::max(0, int(std::floor(std::min({p[0].x, p[1].x, p[2].x}))));
            const int x1 = std::min(size - 1, int(std::ceil(std::max({p[0].x, p[1].x, p[2].x}))));
            const int y0 = std::max(0, int(std::floor(std::min({p[0].y, p[1].y, p[2].y}))));
            const int y1 = std::min(size - 1, int(std::ceil(std::max({p[0].y, p[1].y, p[2].y}))));
            for (int y = y0; y <= y1; ++y) {
                for (int x = x0; x <= x1; ++x) {
                    const float px = x + 0.5f, py = y + 0.5f;
                    const float w0 = ((p[1].x - px) * (p[2].y - py) - (p[2].x - px) * (p[1].y - py)) / area;
                    const float w1 = ((p[2].x - px) * (p[0].y - py) - (p[0].x - px) * (p[2].y - py)) / area;
                    const float w2 = 1 - w0 - w1;
                    if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                    const float z = w0 * p[0].depth + w1 * p[1].depth + w2 * p[2].depth;
                    float& stored = depth[std::size_t(y) * size + x];
                    if (z <= stored) continue;
                    stored = z;
                    const float u = w0 * v[0]->u + w1 * v[1]->u + w2 * v[2]->u;
                    const float tv = w0 * v[0]->v + w1 * v[1]->v + w2 * v[2]->v;
                    image.At(x, y) = Shade(Sample(part.texture, u, tv), lit);
                }
            }
        }
    }
    return image;
}

namespace {

void CollectParts(const ActorModel& model, const ActorNode& node, V3 at, std::vector<RenderPart>& parts) {
    const V3 here = at + node.offset;
    if (const auto it = model.meshes.find(node.mesh); !node.mesh.empty() && it != model.meshes.end()) {
        RenderPart part{it->second.mesh, &it->second.texture};
        for (MeshVertex& v : part.mesh.vertices) v.position = v.position + here;
        parts.push_back(std::move(part));
    }
    for (const ActorNode& child : node.children) CollectParts(model, child, here, parts);
}

using Turn = std::array<std::array<float, 3>, 3>;

Turn TurnAbout(V3 axis, float degrees) {
    const V3 k = Normalised(axis);
    const float a = degrees * float(M_PI) / 180, c = std::cos(a), s = std::sin(a), t = 1 - c;
    return {{{c + k.x * k.x * t, k.x * k.y * t - k.z * s, k.x * k.z * t + k.y * s},
             {k.y * k.x * t + k.z * s, c + k.y * k.y * t, k.y * k.z * t - k.x * s},
             {k.z * k.x * t - k.y * s, k.z * k.y * t + k.x * s, c + k.z * k.z * t}}};
}

Turn Compose(const Turn& a, const Turn& b) {
    Turn r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

V3 Apply(const Turn& m, V3 v) {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

// A node turns its mesh and its children about its own origin, on top of its parents' turns.
void CollectPosedParts(const ActorModel& model, const ActorNode& node, V3 parentAt, const Turn& parentTurn,
                       const PoseKey& key, std::vector<RenderPart>& parts) {
    const V3 here = parentAt + Apply(parentTurn, node.offset);
    Turn turn = parentTurn;
    for (const NodeTurn& t : key.turns)
        if (t.node == node.name) turn = Compose(turn, TurnAbout(t.axis, t.degrees));
    if (const auto it = model.meshes.find(node.mesh); !node.mesh.empty() && it != model.meshes.end()) {
        RenderPart part{it->second.mesh, &it->second.texture};
        for (MeshVertex& v : part.mesh.vertices) {
            v.position = here + Apply(turn, v.position);
            v.normal = Apply(turn, v.normal);
        }
        parts.push_back(std::move(part));
    }
    for (const ActorNode& child : node.children) CollectPosedParts(model, child, here, turn, key, parts);
}

}  // namespace

Image RenderPose(const ActorModel& model, const PoseKey& key, int size) {
    std::vector<RenderPart> parts;
    const Turn still = TurnAbout({0, 0, 1}, 0);
    CollectPosedParts(model, ActorNode{model.title, model.rootMesh, {}, model.roots}, key.offset, still, key, parts);
    return RenderParts(parts, size, 25, 10, true);
}

Image RenderActor(const ActorModel& model, int size, bool shaded) {
    std::vector<RenderPart> parts;
    CollectParts(model, ActorNode{model.title, model.rootMesh, {}, model.roots}, {}, parts);
    return RenderParts(parts, size, 25, 10, shaded);
}

}  // namespace assetgen
