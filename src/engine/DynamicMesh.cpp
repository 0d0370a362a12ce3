// Dynamic meshes.
#include "engine/DynamicMesh.h"

#include <algorithm>

namespace {

// The element of `now` at the index `p` had in `old`.
template <typename T>
T* Moved(T* p, const T* old, T* now) {
    return p == nullptr || old == nullptr ? p : now + (p - old);
}

}  // namespace

DynamicMesh::DynamicMesh(int positionCapacity, int vertexCapacity, int faceCapacity)
    : positions(std::max(positionCapacity, 0)),
      vertices(std::max(vertexCapacity, 0)),
      faces(std::max(faceCapacity, 0)),
      vertexCapacity(std::max(vertexCapacity, 0)),
      faceCapacity(std::max(faceCapacity, 0)) {}

DynamicMesh::~DynamicMesh() = default;

int DynamicMesh::AddPosition(const Vector3& position) {
    const Vector3* old = positions.Data();
    const int index = positions.Append(position);
    if (positions.Data() != old) Rebase(old, nullptr, nullptr);
    return index;
}

int DynamicMesh::AddVertex(const MeshVertex& vertex) {
    const MeshVertex* old = vertices.Data();
    const int index = vertices.Append(vertex);
    if (vertices.Data() != old) Rebase(nullptr, old, nullptr);
    return index;
}

int DynamicMesh::AddFace(const MeshFace& face) {
    const MeshFace* old = faces.Data();
    const int index = faces.Append(face);
    if (faces.Data() != old) Rebase(nullptr, nullptr, old);
    return index;
}

void DynamicMesh::ReleaseBuffers() {
    vertexBuffer.reset();
    indexBuffer.reset();
    uploadedVertices = 0;
    uploadedFaces = 0;
}

void DynamicMesh::Rebase(const Vector3* oldPositions, const MeshVertex* oldVertices, const MeshFace* oldFaces) {
    for (MeshVertex& v : vertices) v.position = Moved(v.position, oldPositions, positions.Data());
    for (MeshFace& f : faces) {
        for (MeshVertex*& corner : f.corners) corner = Moved(corner, oldVertices, vertices.Data());
        for (MeshFace*& neighbour : f.neighbours) neighbour = Moved(neighbour, oldFaces, faces.Data());
    }
}
