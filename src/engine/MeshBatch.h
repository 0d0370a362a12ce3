#pragma once
// Meshes gathered into one dynamic mesh per material, each through its own matrix, so
// parts that share a material take one draw between them instead of one each. The
// parts are gathered again whenever one of them changes its mesh or level of detail;
// when only matrices change (an animated arm), just the moved parts' vertices are
// turned again.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Matrix4.h"
#include "engine/RendererRef.h"

class DynamicMesh;
class Material;
class Mesh;

class MeshBatch {
public:
    MeshBatch() { ++live_; }
    MeshBatch(const MeshBatch&) = delete;
    MeshBatch& operator=(const MeshBatch&) = delete;
    ~MeshBatch();

    // Batches made and not yet freed, on the main thread where all of them live.
    static int LiveCount() { return live_; }

    // The parts of this draw, in order: the batch is gathered again only when they
    // differ from the last ones gathered.
    void Begin();
    void Add(Mesh* mesh, const Matrix4& transform);
    // Each material's mesh under the current world matrix.
    void Draw();
    // Draws made by the last Draw: one per material.
    int GroupCount() const { return int(groups_.size()); }
    // The geometry a group's draw shows.
    const DynamicMesh& GroupMesh(int group) const { return *groups_[size_t(group)].mesh; }

private:
    struct Part {
        Mesh* mesh = nullptr;
        Matrix4 transform;
        bool operator==(const Part& other) const;
    };
    // Where a gathered part's vertices start in a group it landed in.
    struct Span {
        int group = 0;
        int base = 0;
    };
    struct Group {
        Material* material = nullptr;
        DynamicMesh* mesh = nullptr;
        std::vector<int> corners;  // vertex indices, three a face
    };

    bool SameMeshes() const;
    void Gather();
    void Retransform();
    static void Turn(Group& group, int base, const Mesh& mesh, const Matrix4& transform);
    Group& GroupOf(Material* material);
    void Append(const Mesh& mesh, const Matrix4& transform, std::vector<Span>& spans);
    void Upload(Group& group);
    void Release();

    std::vector<Part> parts_;
    std::vector<Part> gathered_;
    std::vector<std::vector<Span>> spans_;  // of each gathered part
    std::vector<Group> groups_;
    RendererMark made_;  // cleared when the renderer frees the groups' meshes
    static inline int live_ = 0;
};
