#pragma once
// Meshes gathered into one dynamic mesh per material, each through its own matrix, so
// parts that share a material take one draw between them instead of one each. The
// parts are gathered again whenever any of them moves or changes its level of detail.
#include <cstdint>
#include <vector>

#include "core/Matrix4.h"
#include "engine/RendererRef.h"

class DynamicMesh;
class Material;
class Mesh;

class MeshBatch {
public:
    MeshBatch() = default;
    MeshBatch(const MeshBatch&) = delete;
    MeshBatch& operator=(const MeshBatch&) = delete;
    ~MeshBatch();

    // The parts of this draw, in order: the batch is gathered again only when they
    // differ from the last ones gathered.
    void Begin();
    void Add(Mesh* mesh, const Matrix4& transform);
    // Each material's mesh under the current world matrix.
    void Draw();
    // Draws made by the last Draw: one per material.
    int GroupCount() const { return int(groups_.size()); }

private:
    struct Part {
        Mesh* mesh = nullptr;
        Matrix4 transform;
        bool operator==(const Part& other) const;
    };
    struct Group {
        Material* material = nullptr;
        DynamicMesh* mesh = nullptr;
        std::vector<int> corners;  // vertex indices, three a face
    };

    void Gather();
    Group& GroupOf(Material* material);
    void Append(const Mesh& mesh, const Matrix4& transform);
    void Upload(Group& group);
    void Release();

    std::vector<Part> parts_;
    std::vector<Part> gathered_;
    std::vector<Group> groups_;
    RendererMark made_;  // cleared when the renderer frees the groups' meshes
};
