#pragma once
// Geometry whose device buffers are rewritten whole each time it changes: particle
// quads, the terrain and its decals. The buffers live in the device's default pool, so
// the renderer releases them before a device reset and makes and refills them after.
#include <cstdint>
#include <memory>

#include "core/Array.h"
#include "core/Vector3.h"
#include "engine/Mesh.h"
#include "platform/gfx/Buffer.h"
#include "platform/gfx/VertexFormat.h"

class Material;

class DynamicMesh {
public:
    // The capacities are starting sizes of the arrays and of the device buffers; both
    // grow when the geometry outgrows them.
    DynamicMesh(int positionCapacity, int vertexCapacity, int faceCapacity);
    DynamicMesh(const DynamicMesh&) = delete;
    DynamicMesh& operator=(const DynamicMesh&) = delete;
    ~DynamicMesh();

    // Each returns the new element's index and re-points the references into an array
    // that moved as it grew.
    int AddPosition(const Vector3& position);
    int AddVertex(const MeshVertex& vertex);
    int AddFace(const MeshFace& face);

    // Drops the device buffers (the renderer makes them again).
    void ReleaseBuffers();
    bool HasBuffers() const { return vertexBuffer != nullptr; }

    Array<Vector3> positions;
    Array<MeshVertex> vertices;
    Array<MeshFace> faces;
    uint8_t hasNormals = 0;
    uint8_t hasColors = 0;
    int32_t texCoordSetCount = 0;
    Material* material = nullptr;  // owned by the renderer; none draws the default

    std::unique_ptr<gfx::VertexBuffer> vertexBuffer;
    std::unique_ptr<gfx::IndexBuffer> indexBuffer;
    int32_t vertexSize = 0;  // in floats
    gfx::VertexFormat format = 0;
    // What the buffers hold room for; the next buffers are made this large.
    int32_t vertexCapacity = 0;
    int32_t faceCapacity = 0;
    // What the last update wrote into the buffers, which is what a draw shows.
    int32_t uploadedVertices = 0;
    int32_t uploadedFaces = 0;

private:
    void Rebase(const Vector3* oldPositions, const MeshVertex* oldVertices, const MeshFace* oldFaces);
};
