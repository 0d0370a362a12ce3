#include "engine/MeshBatch.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "engine/DynamicMesh.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"

namespace {

// A direction through the matrix's 3 x 3 part, kept of unit length.
Vector3 TurnNormal(const Matrix4& m, const Vector3& n) {
    Vector3 turned(n.x * m[0] + n.y * m[4] + n.z * m[8], n.x * m[1] + n.y * m[5] + n.z * m[9],
                   n.x * m[2] + n.y * m[6] + n.z * m[10]);
    if (!turned.IsNearZero()) turned.Normalize();
    return turned;
}

}  // namespace

bool MeshBatch::Part::operator==(const Part& other) const { return mesh == other.mesh && transform == other.transform; }

MeshBatch::~MeshBatch() {
    Release();
    --live_;
}

void MeshBatch::Release() {
    if (made_.IsSet()) {
        for (Group& group : groups_) GetRenderer().DestroyDynamicMesh(group.mesh);
    }
    groups_.clear();
    gathered_.clear();
    spans_.clear();
    made_.Clear();
}

void MeshBatch::Begin() { parts_.clear(); }

void MeshBatch::Add(Mesh* mesh, const Matrix4& transform) {
    if (mesh != nullptr && !mesh->faces.IsEmpty()) parts_.push_back(Part{mesh, transform});
}

void MeshBatch::Draw() {
    if (!made_.IsSet()) {
        // The renderer has freed the groups' meshes with everything else.
        groups_.clear();
        gathered_.clear();
        spans_.clear();
    }
    if (groups_.empty() || !SameMeshes()) {
        Gather();
    } else if (parts_ != gathered_) {
        Retransform();
    }
    Renderer& renderer = GetRenderer();
    for (Group& group : groups_) renderer.RenderDynamicMesh(group.mesh);
}

void MeshBatch::Gather() {
    made_.Set();
    for (Group& group : groups_) {
        group.mesh->positions.Clear();
        group.mesh->vertices.Clear();
        group.corners.clear();
    }
    spans_.assign(parts_.size(), {});
    for (size_t i = 0; i < parts_.size(); ++i) Append(*parts_[i].mesh, parts_[i].transform, spans_[i]);
    for (Group& group : groups_) Upload(group);
    gathered_ = parts_;
}

bool MeshBatch::SameMeshes() const {
    if (parts_.size() != gathered_.size()) return false;
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (parts_[i].mesh != gathered_[i].mesh) return false;
    }
    return true;
}

// The same meshes in the same order: every vertex stays where it was gathered, so only
// the moved parts' positions and normals are written, and only their groups uploaded.
void MeshBatch::Retransform() {
    // The range of vertices each group had moved: only those are uploaded again.
    std::vector<std::pair<int, int>> moved(groups_.size(), {INT_MAX, 0});
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (parts_[i].transform == gathered_[i].transform) continue;
        const Mesh& mesh = *parts_[i].mesh;
        for (const Span& span : spans_[i]) {
            Turn(groups_[size_t(span.group)], span.base, mesh, parts_[i].transform);
            std::pair<int, int>& range = moved[size_t(span.group)];
            range.first = std::min(range.first, span.base);
            range.second = std::max(range.second, span.base + mesh.vertices.Count());
        }
    }
    Renderer& renderer = GetRenderer();
    for (size_t g = 0; g < groups_.size(); ++g) {
        if (moved[g].first < moved[g].second)
            renderer.UpdateDynamicMeshVertices(groups_[g].mesh, moved[g].first, moved[g].second);
    }
    gathered_ = parts_;
}

void MeshBatch::Turn(Group& group, int base, const Mesh& mesh, const Matrix4& transform) {
    DynamicMesh& target = *group.mesh;
    for (int v = 0; v < mesh.vertices.Count(); ++v) {
        const MeshVertex& vertex = mesh.vertices[v];
        target.positions[base + v] = vertex.position != nullptr ? TransformPoint(transform, *vertex.position)
                                                                : TransformPoint(transform, Vector3());
        target.vertices[base + v].normal = TurnNormal(transform, vertex.normal);
    }
}

MeshBatch::Group& MeshBatch::GroupOf(Material* material) {
    for (Group& group : groups_) {
        if (group.material == material) return group;
    }
    Group group;
    group.material = material;
    group.mesh = GetRenderer().CreateDynamicMesh(64, 64, 64);
    group.mesh->material = material;
    groups_.push_back(std::move(group));
    return groups_.back();
}

// The mesh's vertices go into the group of each material its faces show (one, mostly);
// the positions are pointed at once the group's arrays have stopped growing.
void MeshBatch::Append(const Mesh& mesh, const Matrix4& transform, std::vector<Span>& spans) {
    Material* last = nullptr;
    Group* group = nullptr;
    int base = 0;
    for (const MeshFace& face : mesh.faces) {
        if (group == nullptr || face.material != last) {
            last = face.material;
            group = &GroupOf(face.material);
            base = group->mesh->vertices.Count();
            spans.push_back(Span{int(group - groups_.data()), base});
            DynamicMesh& target = *group->mesh;
            // A mesh whose faces change material more than once lands in a group twice.
            target.hasNormals = mesh.hasNormals;
            target.hasColors = mesh.hasColors;
            target.texCoordSetCount = mesh.texCoordSetCount;
            for (const MeshVertex& vertex : mesh.vertices) {
                MeshVertex copy = vertex;
                copy.position = nullptr;
                target.positions.Append(Vector3());
                target.vertices.Append(copy);
            }
            Turn(*group, base, mesh, transform);
        }
        for (const MeshVertex* corner : face.corners) {
            group->corners.push_back(base + (corner != nullptr ? int(corner - mesh.vertices.Data()) : 0));
        }
    }
}

void MeshBatch::Upload(Group& group) {
    DynamicMesh& mesh = *group.mesh;
    for (int i = 0; i < mesh.vertices.Count(); ++i) mesh.vertices[i].position = &mesh.positions[i];
    mesh.faces.SetSize(int(group.corners.size() / 3));
    for (int f = 0; f < mesh.faces.Count(); ++f) {
        MeshFace& face = mesh.faces[f];
        face.material = group.material;
        for (int c = 0; c < 3; ++c) face.corners[c] = &mesh.vertices[group.corners[size_t(3 * f + c)]];
    }
    Renderer& renderer = GetRenderer();
    // Nothing of this material is in view now: the last upload must not show.
    if (mesh.faces.IsEmpty()) mesh.uploadedFaces = 0;
    if (mesh.HasBuffers()) {
        renderer.UpdateDynamicMeshBuffers(&mesh);
    } else {
        renderer.CreateDynamicMeshBuffers(&mesh);
    }
}
