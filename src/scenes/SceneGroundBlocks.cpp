// A ground drawn block by block.
#include "scenes/SceneGroundBlocks.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/Camera.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"

namespace {

using BlockKey = std::pair<int, int>;

// Everything a vertex gives the device, bit for bit: position, normal, colour and
// coordinates.
std::vector<uint32_t> VertexBits(const MeshVertex& vertex) {
    std::vector<uint32_t> bits;
    const auto add = [&bits](std::initializer_list<float> values) {
        for (const float value : values) bits.push_back(std::bit_cast<uint32_t>(value));
    };
    if (vertex.position != nullptr) add({vertex.position->x, vertex.position->y, vertex.position->z});
    add({vertex.normal.x, vertex.normal.y, vertex.normal.z});
    bits.push_back(vertex.color.argb);
    for (const Vector2& coordinates : vertex.texCoords) add({coordinates.x, coordinates.y});
    return bits;
}

// A block's copy of the ground's elements, each copied once. Vertices alike in every
// value become one: a grid whose cells repeat their corners (the stage floor) has each
// corner lit once instead of once for each of its four cells.
struct BlockBuilder {
    Mesh* mesh = nullptr;
    std::unordered_map<const Vector3*, int> positions;
    std::map<std::vector<uint32_t>, int> vertices;

    int CopyVertex(const MeshVertex& vertex) {
        std::vector<uint32_t> values = VertexBits(vertex);
        const auto found = vertices.find(values);
        if (found != vertices.end()) return found->second;
        MeshVertex copy = vertex;
        copy.position = vertex.position != nullptr ? &mesh->positions[CopyPosition(*vertex.position)] : nullptr;
        const int index = mesh->AddVertex(copy);
        vertices.emplace(std::move(values), index);
        return index;
    }

    int CopyPosition(const Vector3& position) {
        const auto found = positions.find(&position);
        if (found != positions.end()) return found->second;
        const int index = mesh->AddPosition(position);
        positions.emplace(&position, index);
        return index;
    }

    void CopyFace(const MeshFace& face) {
        int corners[3];
        for (int i = 0; i < 3; ++i) corners[i] = CopyVertex(*face.corners[i]);
        MeshFace copy;
        copy.normal = face.normal;
        copy.material = face.material;
        for (int i = 0; i < 3; ++i) copy.corners[i] = &mesh->vertices[corners[i]];
        mesh->AddFace(copy);
    }
};

// Squares counted from the ground's lowest corner.
BlockKey BlockOf(const MeshFace& face, const Vector3& lowest, float blockSide) {
    Vector3 centre;
    for (const MeshVertex* corner : face.corners) centre += *corner->position;
    centre = centre / 3.0f - lowest;
    return {int(std::floor(centre.x / blockSide)), int(std::floor(centre.y / blockSide))};
}

Vector3 LowestCorner(const Mesh& ground) {
    Vector3 lowest(FLT_MAX, FLT_MAX, 0.0f);
    for (const Vector3& position : ground.positions) {
        lowest.x = std::min(lowest.x, position.x);
        lowest.y = std::min(lowest.y, position.y);
    }
    return lowest;
}

}  // namespace

SceneGroundBlocks::SceneGroundBlocks(const Mesh& ground, float blockSide) {
    Renderer& renderer = GetRenderer();
    // Ordered by key, so the blocks are made and drawn in the same order every run.
    std::map<BlockKey, BlockBuilder> builders;
    const Vector3 lowest = LowestCorner(ground);
    for (const MeshFace& face : ground.faces) {
        if (face.IsDegenerate()) continue;
        BlockBuilder& builder = builders[BlockOf(face, lowest, blockSide)];
        if (builder.mesh == nullptr) builder.mesh = renderer.CreateMesh(0, 0, 0, 0);
        builder.CopyFace(face);
    }
    for (auto& [key, builder] : builders) {
        Mesh* block = builder.mesh;
        block->hasNormals = ground.hasNormals;
        block->hasColors = ground.hasColors;
        block->texCoordSetCount = ground.texCoordSetCount;
        block->UpdateBounds();
        renderer.CreateMeshBuffers(block);
        blocks_.push_back(block);
    }
}

void SceneGroundBlocks::Draw(Camera& camera) const {
    Renderer& renderer = GetRenderer();
    renderer.SetWorldMatrix(Matrix4());
    for (Mesh* block : blocks_) {
        // 1: wholly outside the view.
        if (camera.TestSphere(block->bounds) == 1) continue;
        renderer.RenderMesh(block, false);
    }
}
